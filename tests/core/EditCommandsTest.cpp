#include "clipboard/EditCommands.h"
#include "clipboard/ClipboardRows.h"
#include "FakeServices.h"
#include "model/RowLimit.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Cells = std::vector<std::string>;
using Rows = std::vector<Cells>;

// Data row i (from 1): address 1/0/i, name ri, index i.
Cells Numbered(int i) {
    const std::string n = std::to_string(i);
    return {"1/0/" + n, "r" + n, "Boolean", "IN", n, "Coil", "Add", n};
}

Rows NumberedRows(int count) {
    Rows rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back(Numbered(i));
    }
    return rows;
}

const Cells PastedA = {"2/0/1", "pasted \xC3\xA4", "Float 16 bit", "OUT",
                       "90",    "Register",        "Multiply",     "10"};
const Cells PastedB = {"2/0/2", "B", "Signed 8 bit", "IN", "91", "Coil", "Divide", "2"};
const Cells PastedC = {"2/0/3", "C", "Unsigned 8 bit", "OUT", "92", "Register", "Subtract", "3"};

// The row document another copy of the program would put on the clipboard.
std::string RowDocumentOf(const Rows& rows) {
    Workbench source;
    source.SetRows(rows);
    return WriteClipboardRows(source.table, 1, static_cast<int>(rows.size()));
}

class EditCommands : public ::testing::Test {
  protected:
    void Select(int left, int top, int right, int bottom) {
        bench.table.SetSelection({left, top, right, bottom});
    }
    void SelectCell(int column, int row) { Select(column, row, column, row); }
    void SelectRows(int top, int bottom) { Select(ColAddress, top, ColConversionScale, bottom); }

    Rows TableRows() const {
        Rows rows;
        for (int row = 1; row < bench.table.GetRowCountEx(); ++row) {
            rows.push_back(bench.Row(row));
        }
        return rows;
    }
    std::vector<std::string> RowNumbers() const {
        std::vector<std::string> numbers;
        for (int row = 1; row < bench.table.GetRowCountEx(); ++row) {
            numbers.push_back(bench.table.GetCellEx(ColRowNumber, row));
        }
        return numbers;
    }

    Workbench bench;
};

// ---- Blocks that are neither one cell nor whole rows ------------------------------------

TEST_F(EditCommands, CopyAndCutOfABlockLeaveClipboardAndTable) {
    bench.SetRows(NumberedRows(3));
    bench.clipboard.text = "kept";
    Select(ColAddress, 1, ColName, 2);

    CopyExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, "kept");
    EXPECT_EQ(bench.clipboard.writes, 0);
    EXPECT_FALSE(bench.document.Modified());

    CutExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, "kept");
    EXPECT_EQ(bench.clipboard.writes, 0);
    EXPECT_EQ(TableRows(), NumberedRows(3));
    EXPECT_TRUE(bench.document.Modified());
}

// ---- Single cells ----------------------------------------------------------------------

TEST_F(EditCommands, CopyOfACellPutsItsText) {
    bench.SetRows({Numbered(1), {"1/0/2"}});
    SelectCell(ColType, 1);
    CopyExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, "Boolean");

    SelectCell(ColType, 2); // an empty cell puts an empty text
    CopyExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, "");
    EXPECT_EQ(bench.clipboard.writes, 2);
    EXPECT_FALSE(bench.document.Modified());
}

// The emptied cell is not validated: no spare row is added for the last row.
TEST_F(EditCommands, CutOfACellEmptiesItWithoutValidation) {
    bench.options.createRow = true;
    bench.SetRows(NumberedRows(2));
    SelectCell(ColType, 2);
    CutExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, "Boolean");
    EXPECT_EQ(bench.table.GetCellEx(ColType, 2), "");
    EXPECT_EQ(bench.table.GetRowCountEx(), 3);
    EXPECT_EQ(bench.Row(1), Numbered(1));
    EXPECT_TRUE(bench.document.Modified());
}

TEST_F(EditCommands, NameWithNonAsciiLettersTravelsBetweenCells) {
    const std::string name = "\xC3\x9C"
                             "ber \xCE\xB1\xCE\xB2 \xD0\x96 & <x>";
    bench.SetRows({{"1/0/1", name}, {"1/0/2", "other"}});
    SelectCell(ColName, 1);
    CopyExecute(bench.edit);
    SelectCell(ColName, 2);
    PasteExecute(bench.edit);
    EXPECT_EQ(bench.table.GetWideCells(ColName, 2), name);
}

struct PasteCellCase {
    const char* name;
    int column;
    std::string clipboard;
    std::string cell; // afterwards; row 1 held Numbered(1)
};

void PrintTo(const PasteCellCase& c, std::ostream* os) {
    *os << c.name;
}

class PasteIntoCell : public EditCommands, public ::testing::WithParamInterface<PasteCellCase> {};

TEST_P(PasteIntoCell, StoresOnlyWhatTheValidationAccepts) {
    const PasteCellCase& c = GetParam();
    bench.SetRows({Numbered(1)});
    bench.clipboard.text = c.clipboard;
    SelectCell(c.column, 1);
    PasteExecute(bench.edit);
    EXPECT_EQ(bench.table.GetCellEx(c.column, 1), c.cell);
    EXPECT_EQ(bench.table.GetRowCountEx(), 2);
    EXPECT_TRUE(bench.document.Modified());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasteIntoCell,
    ::testing::Values(PasteCellCase{"AddressInItsNormalForm", ColAddress, " 03/0/07", "3/0/7"},
                      PasteCellCase{"AddressRefusedInDirection", ColDirection, "3/0/7", "IN"},
                      PasteCellCase{"IndexOutOfRange", ColIndex, "10002", "1"},
                      PasteCellCase{"EmptyTextRefused", ColType, "", "Boolean"},
                      PasteCellCase{"AnyName", ColName, "two\nlines", "two\nlines"},
                      // A spreadsheet ends a single copied cell with one line break.
                      PasteCellCase{"IndexFromASpreadsheet", ColIndex, "5\r\n", "5"},
                      PasteCellCase{"NameFromASpreadsheet", ColName, "Hall\n", "Hall"},
                      PasteCellCase{"OnlyOneLineBreakDropped", ColName, "Hall\n\n", "Hall\n"},
                      PasteCellCase{"LineBreakAloneEmptiesAName", ColName, "\r\n", ""},
                      // A label in any letter case is stored as its list spells it.
                      PasteCellCase{"TypeInLowerCase", ColType, "signed 8 BIT\n", "Signed 8 bit"},
                      PasteCellCase{"RuleInLowerCase", ColConversionRule, "none", "None"},
                      // Not a row document: one cell's text, even when it looks like XML.
                      PasteCellCase{"XmlOfAnotherKind", ColName, "<row><Name>x</Name></row>",
                                    "<row><Name>x</Name></row>"},
                      PasteCellCase{"RowDocumentWithComment", ColName,
                                    "<!--c--><marvanezerezoderadazavodoclip/>",
                                    "<!--c--><marvanezerezoderadazavodoclip/>"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Pasting rows ----------------------------------------------------------------------

// Labels in a row document from elsewhere come in as the lists spell them, so that the
// project file writer knows them.
TEST_F(EditCommands, RowDocumentLabelsAreStoredAsTheListsSpellThem) {
    bench.SetRows({Numbered(1)});
    bench.clipboard.text =
        "<?xml version=\"1.0\"?>\n<marvanezerezoderadazavodoclip><row>"
        "<Address>2/0/1</Address><Type>boolean</Type><Direction>in</Direction>"
        "<Index>7</Index><KROType>coil</KROType><ConversionRule>divide</ConversionRule>"
        "<ConversionScale>2</ConversionScale></row></marvanezerezoderadazavodoclip>";
    SelectRows(1, 1);
    PasteExecute(bench.edit);
    EXPECT_EQ(bench.Row(1), (Cells{"2/0/1", "r1", "Boolean", "IN", "7", "Coil", "Divide", "2"}));
}

TEST_F(EditCommands, RowDocumentIntoACellInsertsARow) {
    bench.SetRows(NumberedRows(6));
    bench.clipboard.text = RowDocumentOf({PastedA});
    SelectCell(ColType, 5);
    PasteExecute(bench.edit);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), Numbered(2), Numbered(3), Numbered(4), PastedA,
                                 Numbered(5), Numbered(6)}));
    EXPECT_EQ(RowNumbers(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_TRUE(bench.document.Modified());
}

TEST_F(EditCommands, RowDocumentOverAWholeRowInsertsNone) {
    bench.SetRows(NumberedRows(6));
    Cells partial = PastedA;
    partial[ColName - 1] = "";
    partial[ColConversionScale - 1] = "";
    bench.clipboard.text = RowDocumentOf({partial});
    SelectRows(5, 5);
    PasteExecute(bench.edit);
    Cells expected = PastedA;
    expected[ColName - 1] = "r5";
    expected[ColConversionScale - 1] = "5";
    EXPECT_EQ(TableRows(),
              (Rows{Numbered(1), Numbered(2), Numbered(3), Numbered(4), expected, Numbered(6)}));
}

// The inserted row is not filled from above; the row below it is filled from it.
TEST_F(EditCommands, PastedRowFillsTheRowBelow) {
    bench.options.incrementAddress = true;
    bench.options.incrementIndex = true;
    bench.SetRows({Numbered(1), {"", "below"}});
    bench.clipboard.text = RowDocumentOf({{"3/0/1", "new", "", "", "", "", "", ""}});
    SelectCell(ColName, 2);
    PasteExecute(bench.edit);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1),
                                 {"3/0/1", "new", "", "", "", "", "", ""},
                                 {"3/0/2", "below", "", "", "", "", "", ""}}));
}

TEST_F(EditCommands, RowLimitStopsAPasteAsNewRowsButNotOverRows) {
    bench.SetRows(NumberedRows(MaxDataRows));
    bench.clipboard.text = RowDocumentOf({PastedA});
    SelectCell(ColName, 5);
    PasteExecute(bench.edit);
    EXPECT_EQ(TableRows(), NumberedRows(MaxDataRows));
    EXPECT_TRUE(bench.messageBox.ShowedOnlyTheRowLimit());
    EXPECT_TRUE(bench.document.Modified());

    SelectRows(5, 5);
    PasteExecute(bench.edit);
    EXPECT_EQ(bench.table.GetRowCountEx(), MaxDataRows + 1);
    EXPECT_EQ(bench.Row(5), PastedA);
    EXPECT_EQ(bench.messageBox.shown.size(), 1u);
}

TEST_F(EditCommands, SeveralRowsPasteAsNewRowsEachBelowThePrevious) {
    bench.SetRows(NumberedRows(4));
    bench.clipboard.text = RowDocumentOf({PastedA, PastedB, PastedC});
    SelectCell(ColIndex, 2);
    PasteExecute(bench.edit);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), PastedA, PastedB, PastedC, Numbered(2), Numbered(3),
                                 Numbered(4)}));
    EXPECT_EQ(RowNumbers(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
}

TEST_F(EditCommands, SeveralRowsAsNewRowsStopAtTheLimit) {
    bench.SetRows(NumberedRows(MaxDataRows - 2));
    bench.clipboard.text = RowDocumentOf({PastedA, PastedB, PastedC});
    SelectCell(ColIndex, 1);
    PasteExecute(bench.edit);
    ASSERT_EQ(bench.table.GetRowCountEx(), MaxDataRows + 1);
    EXPECT_EQ(bench.Row(1), PastedA);
    EXPECT_EQ(bench.Row(2), PastedB);
    EXPECT_EQ(bench.Row(3), Numbered(1));
    EXPECT_TRUE(bench.messageBox.ShowedOnlyTheRowLimit());
}

TEST_F(EditCommands, SeveralRowsOverRowsGoIntoTheFollowingRows) {
    bench.SetRows(NumberedRows(4));
    bench.clipboard.text = RowDocumentOf({PastedA, PastedB, PastedC});
    SelectRows(2, 2);
    PasteExecute(bench.edit);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), PastedA, PastedB, PastedC}));

    // Rows that fall below the last row are added, as the rows of a paste as new rows.
    bench.SetRows(NumberedRows(4));
    SelectRows(3, 3);
    PasteExecute(bench.edit);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), Numbered(2), PastedA, PastedB, PastedC}));
    EXPECT_EQ(RowNumbers(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(bench.messageBox.shown.empty());
}

// Pasting over the spare row makes a new spare row, as any edit of it does; each further
// row of the document goes into the new spare row, against the row limit.
TEST_F(EditCommands, SeveralRowsOverTheSpareRowAllLand) {
    bench.options.createRow = true;
    bench.SetRows({Numbered(1), Cells(8)});
    bench.clipboard.text = RowDocumentOf({PastedA, PastedB, PastedC});
    SelectRows(2, 2);
    PasteExecute(bench.edit);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), PastedA, PastedB, PastedC, Cells(8)}));
    EXPECT_EQ(RowNumbers(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(bench.messageBox.shown.empty());
}

TEST_F(EditCommands, SeveralRowsOverTheSpareRowStopAtTheLimit) {
    bench.options.createRow = true;
    bench.SetRows(NumberedRows(MaxDataRows));
    bench.clipboard.text = RowDocumentOf({PastedA, PastedB, PastedC});
    SelectRows(MaxDataRows, MaxDataRows);
    PasteExecute(bench.edit);
    // The first row goes over the spare row even at the limit; the next one is refused.
    EXPECT_EQ(bench.Row(MaxDataRows), PastedA);
    EXPECT_EQ(bench.table.GetRowCountEx(), MaxDataRows + 2);
    EXPECT_EQ(bench.Row(MaxDataRows + 1), Cells(8));
    EXPECT_TRUE(bench.messageBox.ShowedOnlyTheRowLimit());
}

// ---- Delete and cut of whole rows ------------------------------------------------------

TEST_F(EditCommands, DeleteOfWholeRowsRemovesThem) {
    bench.SetRows(NumberedRows(6));
    SelectRows(2, 4);
    DeleteExecute(bench.edit);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), Numbered(5), Numbered(6)}));
    EXPECT_EQ(RowNumbers(), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_TRUE(bench.document.Modified());
}

TEST_F(EditCommands, DeleteOfTheLastRowsKeepsTheSpareRowEmptied) {
    bench.options.createRow = true;
    bench.SetRows(NumberedRows(6));
    SelectRows(5, 6);
    DeleteExecute(bench.edit);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), Numbered(2), Numbered(3), Numbered(4), Cells(8)}));
    EXPECT_EQ(RowNumbers(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
}

TEST_F(EditCommands, DeleteOfCellsEmptiesThemAndMovesNoRow) {
    bench.SetRows(NumberedRows(3));
    SelectCell(ColName, 2);
    DeleteExecute(bench.edit);
    Cells second = Numbered(2);
    second[ColName - 1] = "";
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), second, Numbered(3)}));

    Select(ColIndex, 1, ColKroType, 2);
    DeleteExecute(bench.edit);
    for (int row : {1, 2}) {
        EXPECT_EQ(bench.table.GetCellEx(ColIndex, row), "");
        EXPECT_EQ(bench.table.GetCellEx(ColKroType, row), "");
    }
    EXPECT_EQ(bench.Row(3), Numbered(3));
}

// Delete does not look at the cell editors.
TEST_F(EditCommands, DeleteIgnoresAnActiveEditor) {
    bench.SetRows(NumberedRows(2));
    FakeEditor editor(bench.clipboard);
    editor.text = "typed";
    editor.selected = "typed";
    bench.cellEditors.active = &editor;
    SelectCell(ColName, 1);
    DeleteExecute(bench.edit);
    EXPECT_EQ(bench.table.GetWideCells(ColName, 1), "");
    EXPECT_EQ(editor.text, "typed");
}

TEST_F(EditCommands, CutOfWholeRowsCopiesThenRemovesThem) {
    bench.SetRows(NumberedRows(4));
    const std::string expected = WriteClipboardRows(bench.table, 2, 3);
    SelectRows(2, 3);
    CutExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, expected);
    EXPECT_EQ(TableRows(), (Rows{Numbered(1), Numbered(4)}));
    EXPECT_TRUE(bench.document.Modified());

    SelectCell(ColName, 2); // and they paste back where they were
    PasteExecute(bench.edit);
    EXPECT_EQ(TableRows(), NumberedRows(4));
}

TEST_F(EditCommands, CopyOfWholeRowsWritesTheirDocument) {
    bench.SetRows(NumberedRows(3));
    SelectRows(1, 3);
    CopyExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, WriteClipboardRows(bench.table, 1, 3));
    EXPECT_EQ(TableRows(), NumberedRows(3));
    EXPECT_FALSE(bench.document.Modified());
}

// ---- An active cell editor -------------------------------------------------------------

class WithEditor : public EditCommands {
  protected:
    void SetUp() override {
        bench.SetRows(NumberedRows(2));
        SelectRows(1, 1);
        editor.text = "abc";
        editor.selected = "b";
        bench.cellEditors.active = &editor;
        bench.clipboard.text = RowDocumentOf({PastedA});
    }
    FakeEditor editor{bench.clipboard};
};

TEST_F(WithEditor, CopyTakesTheEditorsSelection) {
    CopyExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, "b");
    EXPECT_EQ(editor.text, "abc");
    EXPECT_FALSE(bench.document.Modified());
}

TEST_F(WithEditor, CutTakesTheEditorsSelection) {
    CutExecute(bench.edit);
    EXPECT_EQ(bench.clipboard.text, "b");
    EXPECT_EQ(editor.text, "ac");
    EXPECT_EQ(TableRows(), NumberedRows(2));
    EXPECT_TRUE(bench.document.Modified());
}

// Even a row document goes into the editor as text.
TEST_F(WithEditor, PasteGoesIntoTheEditor) {
    const std::string document = bench.clipboard.text;
    PasteExecute(bench.edit);
    EXPECT_EQ(editor.text, "abc" + document);
    EXPECT_EQ(TableRows(), NumberedRows(2));
    EXPECT_TRUE(bench.document.Modified());
}

// ---- Modified after every Cut, Paste and Delete, whatever it did -----------------------

struct MarkCase {
    const char* name;
    std::function<void(Workbench&, FakeEditor&)> prepare;
    void (*command)(EditContext&);
};

void PrintTo(const MarkCase& c, std::ostream* os) {
    *os << c.name;
}

class MarksModified : public EditCommands, public ::testing::WithParamInterface<MarkCase> {
  protected:
    FakeEditor editor{bench.clipboard};
};

TEST_P(MarksModified, AfterTheCommand) {
    bench.SetRows(NumberedRows(2));
    GetParam().prepare(bench, editor);
    ASSERT_FALSE(bench.document.Modified());
    GetParam().command(bench.edit);
    EXPECT_TRUE(bench.document.Modified());
    EXPECT_TRUE(bench.window.menu.at(MenuEntry::Save1));
}

void CellSelected(Workbench& bench, FakeEditor&) {
    bench.table.SetSelection({ColType, 1, ColType, 1});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarksModified,
    ::testing::Values(MarkCase{"CutOfABlock",
                               [](Workbench& b, FakeEditor&) {
                                   b.table.SetSelection({ColAddress, 1, ColName, 2});
                               },
                               CutExecute},
                      MarkCase{
                          "CutInAnEditorWithNothingSelected",
                          [](Workbench& b, FakeEditor& editor) { b.cellEditors.active = &editor; },
                          CutExecute},
                      MarkCase{"PasteOfARefusedValue",
                               [](Workbench& b, FakeEditor& e) {
                                   CellSelected(b, e);
                                   b.clipboard.text = "no type";
                               },
                               PasteExecute},
                      MarkCase{"PasteOfAnEmptyClipboard", CellSelected, PasteExecute},
                      MarkCase{"PasteAtTheRowLimit",
                               [](Workbench& b, FakeEditor& e) {
                                   b.SetRows(NumberedRows(MaxDataRows));
                                   CellSelected(b, e);
                                   b.clipboard.text = RowDocumentOf({PastedA});
                               },
                               PasteExecute},
                      MarkCase{"PasteIntoATableWithoutRows",
                               [](Workbench& b, FakeEditor&) {
                                   b.SetRows({});
                                   b.clipboard.text = "1/0/1";
                               },
                               PasteExecute},
                      MarkCase{"DeleteOfAnEmptyCell",
                               [](Workbench& b, FakeEditor& e) {
                                   b.SetRows({{}});
                                   CellSelected(b, e);
                               },
                               DeleteExecute}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
