#include "history/ChangeHistory.h"
#include "clipboard/ClipboardRows.h"
#include "clipboard/EditCommands.h"
#include "FakeServices.h"
#include "model/CellEditors.h"
#include "model/CellValidation.h"
#include "model/RowCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using Cells = std::vector<std::string>;

// Everything a step may change: every cell of every row (row numbers included), the
// selection and the modified flag.
struct Snapshot {
    std::vector<Cells> rows;
    Selection selection;
    bool modified;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const Workbench& bench) {
    Snapshot snapshot{{}, bench.table.GetSelectionEx(), bench.document.Modified()};
    for (int row = 0; row < bench.table.GetRowCountEx(); ++row) {
        Cells cells;
        for (int column = 0; column < ColumnCount; ++column) {
            cells.push_back(bench.table.GetCellEx(column, row));
        }
        snapshot.rows.push_back(cells);
    }
    return snapshot;
}

Cells Numbered(int i) {
    const std::string n = std::to_string(i);
    return {"1/0/" + n, "r" + n, "Boolean", "IN", n, "Coil", "Add", n};
}

std::vector<Cells> NumberedRows(int count) {
    std::vector<Cells> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back(Numbered(i));
    }
    return rows;
}

const Selection WholeRows2To3{ColAddress, 2, ColConversionScale, 3};
const Selection NameOfRow2{ColName, 2, ColName, 2};

struct CommandCase {
    const char* name;
    bool spareRow;
    Selection selection;
    std::string clipboard;
    std::function<void(Workbench&)> command;
};

void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.name;
}

std::string RowDocument(int count) {
    Workbench source;
    std::vector<Cells> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back({"2/0/" + std::to_string(i + 1), "pasted", "Float 16 bit", "OUT", "90",
                        "Register", "Multiply", "10"});
    }
    source.SetRows(rows);
    return WriteClipboardRows(source.table, 1, count);
}

class UndoRedo : public ::testing::TestWithParam<CommandCase> {};

// Each command, done, undone and redone: undo gives back the table, the selection and the
// flag exactly as they were; redo gives back what the command made.
TEST_P(UndoRedo, TakesTheCommandBackAndAgainExactly) {
    const CommandCase& c = GetParam();
    Workbench bench;
    bench.options.createRow = c.spareRow;
    bench.options.incrementAddress = true;
    bench.options.incrementIndex = true;
    auto rows = NumberedRows(4);
    if (c.spareRow) {
        rows.push_back(Cells(8));
    }
    bench.SetRows(rows);
    bench.table.SetSelection(c.selection);
    bench.clipboard.text = c.clipboard;
    ChangeHistory history(bench.table, bench.document);
    history.Clear(true);
    const Snapshot before = Take(bench);

    history.BeginStep(c.name);
    c.command(bench);
    history.EndStep();
    const Snapshot after = Take(bench);
    ASSERT_NE(after.rows, before.rows) << "the command changed nothing";
    ASSERT_TRUE(history.CanUndo());
    EXPECT_EQ(history.UndoName(), c.name);

    history.Undo();
    EXPECT_EQ(Take(bench), before);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.RedoName(), c.name);
    history.Redo();
    // The table differs from the one opened: modified, also where the command itself left
    // the flag alone (the row commands do).
    Snapshot redone = Take(bench);
    EXPECT_TRUE(redone.modified);
    redone.modified = after.modified;
    EXPECT_EQ(redone, after);
    history.Undo();
    EXPECT_EQ(Take(bench), before);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, UndoRedo,
    ::testing::Values(
        CommandCase{"Insert row", false, NameOfRow2, "",
                    [](Workbench& b) { InsertRowExecute(b.edit); }},
        CommandCase{"Append row", true, NameOfRow2, "",
                    [](Workbench& b) { EditAppendRow1Execute(b.edit); }},
        CommandCase{"Delete row", false, NameOfRow2, "",
                    [](Workbench& b) { EditDeleteRow1Execute(b.edit); }},
        CommandCase{"Delete", false, WholeRows2To3, "",
                    [](Workbench& b) { DeleteExecute(b.edit); }},
        CommandCase{"Delete of the spare row",
                    true,
                    {ColAddress, 4, ColConversionScale, 5},
                    "",
                    [](Workbench& b) { DeleteExecute(b.edit); }},
        CommandCase{"Delete of one cell", false, NameOfRow2, "",
                    [](Workbench& b) { DeleteExecute(b.edit); }},
        CommandCase{"Cut", false, WholeRows2To3, "", [](Workbench& b) { CutExecute(b.edit); }},
        CommandCase{"Cut of one cell", false, NameOfRow2, "",
                    [](Workbench& b) { CutExecute(b.edit); }},
        CommandCase{"Paste", false, WholeRows2To3, RowDocument(3),
                    [](Workbench& b) { PasteExecute(b.edit); }},
        CommandCase{"Paste as new rows", false, NameOfRow2, RowDocument(2),
                    [](Workbench& b) { PasteExecute(b.edit); }},
        CommandCase{"Paste onto the spare row",
                    true,
                    {ColAddress, 5, ColConversionScale, 5},
                    RowDocument(3),
                    [](Workbench& b) { PasteExecute(b.edit); }},
        CommandCase{"Paste of one value", false, NameOfRow2, "Hall\n",
                    [](Workbench& b) { PasteExecute(b.edit); }},
        CommandCase{"Edit", false, NameOfRow2, "",
                    [](Workbench& b) { ASSERT_TRUE(ValidateCellText(b.edit, ColIndex, 2, "77")); }},
        // The spare row appended by the edit, filled from the row above and numbered.
        CommandCase{
            "Edit of the spare row",
            true,
            {ColAddress, 5, ColAddress, 5},
            "",
            [](Workbench& b) { ASSERT_TRUE(ValidateCellText(b.edit, ColAddress, 5, "3/0/9")); }},
        CommandCase{"List pick", false, NameOfRow2, "",
                    [](Workbench& b) {
                        MainGridComboChange(b.table, ColConversionRule, 2, "None");
                        ASSERT_TRUE(ValidateCellText(b.edit, ColConversionRule, 2, "None"));
                    }},
        CommandCase{"Row number click", false, NameOfRow2, "",
                    [](Workbench& b) {
                        InsertRowExecute(b.edit);
                        MainGridClickCell(b.edit, 3, ColRowNumber);
                    }}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::erase(name, ' ');
        return name;
    });

class History : public ::testing::Test {
  protected:
    History() {
        bench.SetRows(NumberedRows(3));
        history.Clear(true);
    }

    void Step(const char* name, const std::function<void()>& command) {
        history.BeginStep(name);
        command();
        history.EndStep();
    }
    void Edit(int row, const std::string& index) {
        Step("Edit", [&] { ASSERT_TRUE(ValidateCellText(bench.edit, ColIndex, row, index)); });
    }
    void Save() {
        bench.document.SetModified(false);
        history.MarkSaved();
    }

    Workbench bench;
    ChangeHistory history{bench.table, bench.document};
};

TEST_F(History, RefusedValueRecordsNothing) {
    Step("Edit", [&] { EXPECT_FALSE(ValidateCellText(bench.edit, ColIndex, 1, "0")); });
    EXPECT_FALSE(history.CanUndo());
}

// The flag follows the history: back at the state last saved the document is unmodified
// and the close prompt does not ask; anywhere else it is modified.
TEST_F(History, ModifiedFollowsTheSavedState) {
    Edit(1, "11");
    Edit(2, "12");
    Save();
    Edit(3, "13");
    EXPECT_TRUE(bench.document.Modified());
    history.Undo();
    EXPECT_FALSE(bench.document.Modified());
    history.Undo();
    EXPECT_TRUE(bench.document.Modified());
    history.Redo();
    EXPECT_FALSE(bench.document.Modified());
    // A new step where the saved state was a redo makes that state unreachable.
    history.Undo();
    Edit(2, "22");
    history.Undo();
    EXPECT_TRUE(bench.document.Modified());
}

// A new document has no saved state: any step leaves it modified, undone or not.
TEST_F(History, NewDocumentStaysModifiedAfterAnyStep) {
    history.Clear(false);
    bench.document.SetModified(false);
    Edit(1, "11");
    history.Undo();
    EXPECT_TRUE(bench.document.Modified());
}

TEST_F(History, KeepsAtMostItsBoundOfSteps) {
    for (std::size_t i = 0; i < ChangeHistory::MaxSteps + 5; ++i) {
        Edit(1, std::to_string(100 + i % 2));
    }
    std::size_t undone = 0;
    while (history.CanUndo()) {
        history.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, ChangeHistory::MaxSteps);
}

// Random command sequences: undoing all gives the start, redoing all the end.
TEST(HistoryProperty, UndoAllThenRedoAllGivesTheStartAndTheEnd) {
    std::mt19937 random(20261211);
    for (int round = 0; round < 40; ++round) {
        Workbench bench;
        bench.options.createRow = round % 2 == 1;
        bench.options.incrementAddress = true;
        bench.SetRows(NumberedRows(6));
        ChangeHistory history(bench.table, bench.document);
        history.Clear(true);
        const Snapshot start = Take(bench);
        bench.clipboard.text = RowDocument(2);
        for (int step = 0; step < 25; ++step) {
            const int rows = bench.table.GetRowCountEx() - 1;
            const int top =
                1 + static_cast<int>(random() % static_cast<unsigned>(std::max(rows, 1)));
            const bool wholeRows = random() % 2 == 0;
            bench.table.SetSelection(wholeRows ? Selection{ColAddress, top, ColConversionScale, top}
                                               : Selection{ColName, top, ColName, top});
            history.BeginStep("step");
            switch (random() % 6) {
            case 0:
                InsertRowExecute(bench.edit);
                break;
            case 1:
                EditDeleteRow1Execute(bench.edit);
                break;
            case 2:
                DeleteExecute(bench.edit);
                break;
            case 3:
                PasteExecute(bench.edit);
                break;
            case 4:
                CutExecute(bench.edit);
                break;
            default:
                static_cast<void>(ValidateCellText(bench.edit, ColAddress, top,
                                                   "4/1/" + std::to_string(step + 1)));
                break;
            }
            history.EndStep();
        }
        const Snapshot end = Take(bench);
        while (history.CanUndo()) {
            history.Undo();
        }
        Snapshot undone = Take(bench);
        EXPECT_EQ(undone.rows, start.rows) << "round " << round;
        while (history.CanRedo()) {
            history.Redo();
        }
        EXPECT_EQ(Take(bench).rows, end.rows) << "round " << round;
    }
}

} // namespace
