#include "FakeServices.h"
#include "model/CellValidation.h"
#include "project/ProjectWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::string WorkedExample = std::string(TABRIX_GOLDEN_DIR) + "/two-rows.xml";

// The main window runs New once at the end of its construction; every test starts there.
class Lifecycle : public ::testing::Test {
  protected:
    void SetUp() override { FileNewExecute(bench.context); }

    // An accepted cell edit, as the grid's validate event makes it.
    void Edit(int column, int row, const std::string& text) {
        bool valid = true;
        MainGridCellValidate(bench.edit, column, row, text, valid);
        ASSERT_TRUE(valid);
    }

    Rows TableRows() const {
        Rows rows;
        for (int row = 1; row < bench.table.GetRowCountEx(); ++row) {
            rows.push_back(bench.Row(row));
        }
        return rows;
    }

    bool SaveMenuEnabled() { return bench.window.menu.at(MenuEntry::Save1); }

    TempFolder temp;
    Workbench bench;
};

TEST_F(Lifecycle, FirstDocumentIsUntitledOne) {
    EXPECT_EQ(bench.window.title, "Marvane Tabrix - Untitled1");
    EXPECT_EQ(bench.document.UntitledCounter, 1);
    EXPECT_EQ(bench.document.FileName, "");
    EXPECT_FALSE(bench.document.Modified());
    EXPECT_FALSE(SaveMenuEnabled());
}

// Each New and each open uses up one number.
TEST_F(Lifecycle, UntitledNumbersCountNewAndOpen) {
    FileNewExecute(bench.context);
    EXPECT_EQ(bench.window.title, "Marvane Tabrix - Untitled2");
    FileNewExecute(bench.context);
    EXPECT_EQ(bench.window.title, "Marvane Tabrix - Untitled3");
    FileOpen1Accept(bench.context, WorkedExample);
    EXPECT_EQ(bench.window.title, "Marvane Tabrix - " + WorkedExample);
    FileNewExecute(bench.context);
    EXPECT_EQ(bench.window.title, "Marvane Tabrix - Untitled5");
    EXPECT_TRUE(bench.messageBox.shown.empty());
}

TEST_F(Lifecycle, SaveMenuFollowsTheModifiedFlag) {
    bench.SetRows(WorkedExampleRows());
    Edit(ColIndex, 1, "3");
    EXPECT_TRUE(SaveMenuEnabled());

    bench.fileDialogs.saveAnswers.push_back(temp.File("a.xml"));
    SaveExecute(bench.context);
    EXPECT_FALSE(bench.document.Modified());
    EXPECT_FALSE(SaveMenuEnabled());

    Edit(ColIndex, 1, "3"); // the same value still counts as a change
    EXPECT_TRUE(SaveMenuEnabled());

    bench.table.SetCellEx(ColAddress, 2, ""); // the next write fails
    SaveExecute(bench.context);
    EXPECT_TRUE(bench.document.Modified());
    EXPECT_TRUE(SaveMenuEnabled());
}

TEST_F(Lifecycle, NewKeepsOnlyTheSpareRowWhileCreateRowOnEditIsOn) {
    const Rows rows = {WorkedExampleRows()[0],
                       WorkedExampleRows()[1],
                       {"1/0/3", "last", "Boolean", "OUT", "3", "Coil", "None", ""}};
    bench.SetRows(rows);
    bench.options.createRow = true;
    FileNewExecute(bench.context);
    EXPECT_EQ(TableRows(), Rows{rows[2]});
    EXPECT_EQ(bench.table.GetCellEx(ColRowNumber, 1), "1");

    bench.options.createRow = false;
    FileNewExecute(bench.context);
    EXPECT_EQ(bench.table.GetRowCountEx(), 1);
}

// After a failed Save As the chosen name stays, so the next Save tries it again.
TEST_F(Lifecycle, SaveAfterAFailedSaveAsTriesTheSameFile) {
    bench.SetRows(WorkedExampleRows());
    const std::string chosen = temp.File("missing/chosen.xml");
    bench.fileDialogs.saveAnswers.push_back(chosen);
    EXPECT_FALSE(FileSaveAs1Execute(bench.context));
    EXPECT_EQ(bench.document.FileName, chosen);

    ::mkdir(temp.File("missing").c_str(), 0755);
    SaveExecute(bench.context);
    EXPECT_EQ(bench.fileDialogs.saveDialogs, 1);
    EXPECT_EQ(ReadFileBytes(chosen), BuildProjectDocument(bench.table, bench.options));
    ASSERT_EQ(bench.messageBox.shown.size(), 1u);
    EXPECT_EQ(bench.messageBox.shown[0].caption, "Error saving file.");
}

// ---- The transitions, with scripted prompts and dialogs ---------------------------------

enum class Start { UntitledSaved, UntitledChanged, NamedSaved, NamedChanged };
enum class Command { New, Save, SaveAs, Open, OpenBadFile, OpenCancelled, Exit, Close };
enum class Dialog { None, AcceptNew, AcceptOld, AcceptInMissingFolder, Cancel };
enum class Naming { Untitled, Old, New, InMissingFolder, Opened };
enum class Table { Kept, Empty, Opened };

struct TransitionCase {
    const char* name;
    Start start;
    Command command;
    std::vector<int> answers = {}; // to the modified-document prompt
    Dialog dialog = Dialog::None;  // the save dialog's answer
    bool unwritable = false;       // the table holds a row the writer refuses
    // The document afterwards.
    Naming naming;
    int untitled = 1; // the untitled number, when untitled
    bool modified;
    Table table;
    std::vector<std::string> captions = {}; // of the messages shown, in order
    bool oldWritten = false;                // old.xml was written again
    bool newWritten = false;                // new.xml exists
    int quits = 0;
};

void PrintTo(const TransitionCase& c, std::ostream* os) {
    *os << c.name;
}

class Transition : public Lifecycle, public ::testing::WithParamInterface<TransitionCase> {
  protected:
    std::string PathOf(Naming naming) const {
        switch (naming) {
        case Naming::Old:
            return temp.File("old.xml");
        case Naming::New:
            return temp.File("new.xml");
        case Naming::InMissingFolder:
            return temp.File("missing/new.xml");
        case Naming::Opened:
            return WorkedExample;
        case Naming::Untitled:
            break;
        }
        return "";
    }
};

TEST_P(Transition, LeavesTheDocumentAsTheTableSays) {
    const TransitionCase& c = GetParam();
    bench.SetRows({{"2/0/1", "before", "Boolean", "IN", "1", "Coil", "None", ""}});
    const bool named = c.start == Start::NamedSaved || c.start == Start::NamedChanged;
    if (named) {
        bench.fileDialogs.saveAnswers.push_back(PathOf(Naming::Old));
        ASSERT_TRUE(FileSaveAs1Execute(bench.context));
        // Changed behind the flag's back, so that a second write can be told from the first.
        bench.table.SetWideCells(ColName, 1, "after");
    }
    if (c.start == Start::UntitledChanged || c.start == Start::NamedChanged) {
        Edit(ColIndex, 1, "7");
    }
    if (c.unwritable) {
        bench.table.SetCellEx(ColAddress, 1, "");
    }
    const Rows rowsBefore = TableRows();
    const std::string oldBefore = named ? ReadFileBytes(PathOf(Naming::Old)) : "";
    const std::string document =
        c.unwritable ? "" : BuildProjectDocument(bench.table, bench.options);

    bench.messageBox.answers.assign(c.answers.begin(), c.answers.end());
    switch (c.dialog) {
    case Dialog::None:
        break;
    case Dialog::AcceptNew:
        bench.fileDialogs.saveAnswers.push_back(PathOf(Naming::New));
        break;
    case Dialog::AcceptOld:
        bench.fileDialogs.saveAnswers.push_back(PathOf(Naming::Old));
        break;
    case Dialog::AcceptInMissingFolder:
        bench.fileDialogs.saveAnswers.push_back(PathOf(Naming::InMissingFolder));
        break;
    case Dialog::Cancel:
        bench.fileDialogs.saveAnswers.push_back(std::nullopt);
        break;
    }
    const int dialogsBefore = bench.fileDialogs.saveDialogs;
    const size_t messagesBefore = bench.messageBox.shown.size();

    switch (c.command) {
    case Command::New:
        FileNewExecute(bench.context);
        break;
    case Command::Save:
        SaveExecute(bench.context);
        break;
    case Command::SaveAs:
        static_cast<void>(FileSaveAs1Execute(bench.context)); // the table checks the outcome
        break;
    case Command::Open:
        bench.fileDialogs.openAnswers.push_back(WorkedExample);
        FileOpen1Execute(bench.context);
        break;
    case Command::OpenBadFile:
        WriteFileBytes(temp.File("bad.xml"), "not a project");
        bench.fileDialogs.openAnswers.push_back(temp.File("bad.xml"));
        FileOpen1Execute(bench.context);
        break;
    case Command::OpenCancelled:
        bench.fileDialogs.openAnswers.push_back(std::nullopt);
        FileOpen1Execute(bench.context);
        break;
    case Command::Exit:
        FileExitExecute(bench.context);
        break;
    case Command::Close:
        if (FormCloseQuery(bench.context)) {
            FormClose(bench.context);
        }
        break;
    }

    // Every scripted answer was asked for, and no more.
    EXPECT_TRUE(bench.messageBox.answers.empty()) << "prompt not shown";
    EXPECT_TRUE(bench.fileDialogs.saveAnswers.empty()) << "save dialog not shown";
    EXPECT_TRUE(bench.fileDialogs.openAnswers.empty()) << "open dialog not shown";
    EXPECT_EQ(bench.fileDialogs.saveDialogs - dialogsBefore, c.dialog == Dialog::None ? 0 : 1);

    std::vector<std::string> captions;
    for (size_t i = messagesBefore; i < bench.messageBox.shown.size(); ++i) {
        captions.push_back(bench.messageBox.shown[i].caption);
    }
    EXPECT_EQ(captions, c.captions);

    const std::string path = PathOf(c.naming);
    EXPECT_EQ(bench.document.FileName, path);
    EXPECT_EQ(bench.window.title, c.naming == Naming::Untitled
                                      ? "Marvane Tabrix - Untitled" + std::to_string(c.untitled)
                                      : "Marvane Tabrix - " + path);
    EXPECT_EQ(bench.document.UntitledCounter, c.untitled);
    EXPECT_EQ(bench.document.Modified(), c.modified);
    EXPECT_EQ(SaveMenuEnabled(), c.modified);

    switch (c.table) {
    case Table::Kept:
        EXPECT_EQ(TableRows(), rowsBefore);
        break;
    case Table::Empty:
        EXPECT_EQ(bench.table.GetRowCountEx(), 1);
        break;
    case Table::Opened:
        EXPECT_EQ(TableRows(), WorkedExampleRows());
        break;
    }

    if (named) {
        EXPECT_EQ(ReadFileBytes(PathOf(Naming::Old)), c.oldWritten ? document : oldBefore);
    }
    struct stat info {};
    const bool newExists = ::stat(PathOf(Naming::New).c_str(), &info) == 0;
    EXPECT_EQ(newExists, c.newWritten);
    if (c.newWritten && newExists) {
        EXPECT_EQ(ReadFileBytes(PathOf(Naming::New)), document);
    }
    EXPECT_EQ(bench.window.quits, c.quits);
}

const std::string Prompt = "Modified document";
const std::string SaveError = "Error saving file.";
const std::string OpenError = "Error opening file";

const TransitionCase Transitions[] = {
    // Save
    TransitionCase{.name = "SaveNamedWritesWithoutDialogEvenWhenSaved",
                   .start = Start::NamedSaved,
                   .command = Command::Save,
                   .naming = Naming::Old,
                   .modified = false,
                   .table = Table::Kept,
                   .oldWritten = true},
    TransitionCase{.name = "SaveNamedChanged",
                   .start = Start::NamedChanged,
                   .command = Command::Save,
                   .naming = Naming::Old,
                   .modified = false,
                   .table = Table::Kept,
                   .oldWritten = true},
    TransitionCase{.name = "SaveNamedWriteFails",
                   .start = Start::NamedChanged,
                   .command = Command::Save,
                   .unwritable = true,
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {SaveError}},
    TransitionCase{.name = "SaveUntitledOpensSaveAs",
                   .start = Start::UntitledChanged,
                   .command = Command::Save,
                   .dialog = Dialog::AcceptNew,
                   .naming = Naming::New,
                   .modified = false,
                   .table = Table::Kept,
                   .newWritten = true},
    TransitionCase{.name = "SaveUntitledSavedOpensSaveAsToo",
                   .start = Start::UntitledSaved,
                   .command = Command::Save,
                   .dialog = Dialog::Cancel,
                   .naming = Naming::Untitled,
                   .modified = false,
                   .table = Table::Kept},
    TransitionCase{.name = "SaveUntitledCancelled",
                   .start = Start::UntitledChanged,
                   .command = Command::Save,
                   .dialog = Dialog::Cancel,
                   .naming = Naming::Untitled,
                   .modified = true,
                   .table = Table::Kept},
    // Save As
    TransitionCase{.name = "SaveAsAccepted",
                   .start = Start::NamedChanged,
                   .command = Command::SaveAs,
                   .dialog = Dialog::AcceptNew,
                   .naming = Naming::New,
                   .modified = false,
                   .table = Table::Kept,
                   .newWritten = true},
    TransitionCase{.name = "SaveAsReplacesTheChosenFileWithoutAsking",
                   .start = Start::NamedSaved,
                   .command = Command::SaveAs,
                   .dialog = Dialog::AcceptOld,
                   .naming = Naming::Old,
                   .modified = false,
                   .table = Table::Kept,
                   .oldWritten = true},
    TransitionCase{.name = "SaveAsCancelledKeepsNameTitleAndFlag",
                   .start = Start::NamedChanged,
                   .command = Command::SaveAs,
                   .dialog = Dialog::Cancel,
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept},
    TransitionCase{.name = "SaveAsCancelledWhileSaved",
                   .start = Start::NamedSaved,
                   .command = Command::SaveAs,
                   .dialog = Dialog::Cancel,
                   .naming = Naming::Old,
                   .modified = false,
                   .table = Table::Kept},
    TransitionCase{.name = "SaveAsWriteFailsKeepsTheChosenName",
                   .start = Start::NamedChanged,
                   .command = Command::SaveAs,
                   .dialog = Dialog::AcceptInMissingFolder,
                   .naming = Naming::InMissingFolder,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {SaveError}},
    // New
    TransitionCase{.name = "NewWhenSavedAsksNothing",
                   .start = Start::NamedSaved,
                   .command = Command::New,
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty},
    TransitionCase{.name = "NewChangedNo",
                   .start = Start::NamedChanged,
                   .command = Command::New,
                   .answers = {IdNo},
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty,
                   .captions = {Prompt}},
    TransitionCase{.name = "NewChangedCancel",
                   .start = Start::NamedChanged,
                   .command = Command::New,
                   .answers = {IdCancel},
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt}},
    TransitionCase{.name = "NewChangedYesWrites",
                   .start = Start::NamedChanged,
                   .command = Command::New,
                   .answers = {IdYes},
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty,
                   .captions = {Prompt},
                   .oldWritten = true},
    TransitionCase{.name = "NewChangedYesWriteFails",
                   .start = Start::NamedChanged,
                   .command = Command::New,
                   .answers = {IdYes},
                   .unwritable = true,
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt, SaveError}},
    TransitionCase{.name = "NewUntitledYesSaveAsCancelledLeavesAll",
                   .start = Start::UntitledChanged,
                   .command = Command::New,
                   .answers = {IdYes},
                   .dialog = Dialog::Cancel,
                   .naming = Naming::Untitled,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt}},
    TransitionCase{.name = "NewUntitledYesSaveAsAccepted",
                   .start = Start::UntitledChanged,
                   .command = Command::New,
                   .answers = {IdYes},
                   .dialog = Dialog::AcceptNew,
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty,
                   .captions = {Prompt},
                   .newWritten = true},
    TransitionCase{.name = "NewUntitledYesSaveAsWriteFails",
                   .start = Start::UntitledChanged,
                   .command = Command::New,
                   .answers = {IdYes},
                   .dialog = Dialog::AcceptInMissingFolder,
                   .naming = Naming::InMissingFolder,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt, SaveError}},
    // Open: the dialog first, the prompt second
    TransitionCase{.name = "OpenWhenSaved",
                   .start = Start::NamedSaved,
                   .command = Command::Open,
                   .naming = Naming::Opened,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Opened},
    TransitionCase{.name = "OpenChangedNo",
                   .start = Start::UntitledChanged,
                   .command = Command::Open,
                   .answers = {IdNo},
                   .naming = Naming::Opened,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Opened,
                   .captions = {Prompt}},
    TransitionCase{.name = "OpenChangedCancel",
                   .start = Start::NamedChanged,
                   .command = Command::Open,
                   .answers = {IdCancel},
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt}},
    TransitionCase{.name = "OpenDialogCancelledAsksNothing",
                   .start = Start::NamedChanged,
                   .command = Command::OpenCancelled,
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept},
    TransitionCase{.name = "OpenBadFileLeavesNextUntitled",
                   .start = Start::NamedChanged,
                   .command = Command::OpenBadFile,
                   .answers = {IdNo},
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty,
                   .captions = {Prompt, OpenError}},
    // Exit and closing the window
    TransitionCase{.name = "ExitWhenSaved",
                   .start = Start::NamedSaved,
                   .command = Command::Exit,
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty,
                   .quits = 1},
    TransitionCase{.name = "ExitChangedCancel",
                   .start = Start::NamedChanged,
                   .command = Command::Exit,
                   .answers = {IdCancel},
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt}},
    TransitionCase{.name = "ExitChangedNoWritesNothing",
                   .start = Start::NamedChanged,
                   .command = Command::Exit,
                   .answers = {IdNo},
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty,
                   .captions = {Prompt},
                   .quits = 1},
    TransitionCase{.name = "ExitChangedYesSaveAsCancelled",
                   .start = Start::UntitledChanged,
                   .command = Command::Exit,
                   .answers = {IdYes},
                   .dialog = Dialog::Cancel,
                   .naming = Naming::Untitled,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt}},
    TransitionCase{.name = "CloseWhenSaved",
                   .start = Start::UntitledSaved,
                   .command = Command::Close,
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty,
                   .quits = 1},
    TransitionCase{.name = "CloseChangedCancelKeepsTheWindow",
                   .start = Start::NamedChanged,
                   .command = Command::Close,
                   .answers = {IdCancel},
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt}},
    TransitionCase{.name = "CloseChangedNoClosesWithoutWriting",
                   .start = Start::NamedChanged,
                   .command = Command::Close,
                   .answers = {IdNo},
                   .naming = Naming::Untitled,
                   .untitled = 2,
                   .modified = false,
                   .table = Table::Empty,
                   .captions = {Prompt},
                   .quits = 1},
    TransitionCase{.name = "CloseChangedYesWriteFailsKeepsTheWindow",
                   .start = Start::NamedChanged,
                   .command = Command::Close,
                   .answers = {IdYes},
                   .unwritable = true,
                   .naming = Naming::Old,
                   .modified = true,
                   .table = Table::Kept,
                   .captions = {Prompt, SaveError}}};

INSTANTIATE_TEST_SUITE_P(Cases, Transition, ::testing::ValuesIn(Transitions),
                         [](const auto& info) { return std::string(info.param.name); });

// The prompt's own text, buttons and caption.
TEST_F(Lifecycle, PromptAsksWithYesNoCancel) {
    bench.SetRows(WorkedExampleRows());
    Edit(ColIndex, 1, "4");
    bench.messageBox.answers.push_back(IdCancel);
    FileNewExecute(bench.context);
    ASSERT_EQ(bench.messageBox.shown.size(), 1u);
    EXPECT_EQ(bench.messageBox.shown[0].text,
              "The current document has been modified.\nDo you want to save it first?");
    EXPECT_EQ(bench.messageBox.shown[0].caption, "Modified document");
    EXPECT_EQ(bench.messageBox.shown[0].flags, MbYesNoCancel);
}

} // namespace
