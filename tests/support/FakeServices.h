#pragma once

#include "model/EditContext.h"
#include "project/DocumentLifecycle.h"
#include "services/TabrixError.h"
#include "settings/SettingsStore.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Scripted stand-ins for the platform, shared by the tests, the fuzz targets and the
// benchmarks: they record what was shown and answer prompts and dialogs from queues, in
// order. An unscripted prompt is a fault of the test.

// Reports a fault of the test's own making (an unscripted prompt, a file it cannot read).
// Without a reporter of the program's framework it prints the fault and aborts, as the
// fuzz targets and benchmarks want; the test programs install theirs (GTestFaults.cpp,
// the widget tests' QtTestFaults.cpp), which fail the running test and go on.
void ReportTestFault(const std::string& what);
using TestFaultReporter = void (*)(const std::string& what);
void SetTestFaultReporter(TestFaultReporter reporter);

struct ShownMessage {
    std::string text;
    std::string caption;
    int flags;
};

class FakeMessageBox : public MessageBoxService {
  public:
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    // True when the one box shown was the row-limit message, word for word.
    bool ShowedOnlyTheRowLimit() const;
    std::vector<ShownMessage> shown;
    std::deque<int> answers; // for Yes-No-Cancel boxes
};

class FakeClipboard : public ClipboardService {
  public:
    std::string GetText() override { return text; }
    void SetText(const std::string& value) override {
        text = value;
        ++writes;
    }
    std::string text;
    int writes = 0;
};

class FakeFileDialogs : public FileDialogService {
  public:
    std::optional<std::string> GetOpenFileName() override;
    std::optional<std::string> GetSaveFileName() override;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    int saveDialogs = 0;
};

class FakeColourDialog : public ColourDialogService {
  public:
    std::optional<TColor> ChooseColour(TColor initial) override;
    std::deque<std::optional<TColor>> answers;
    std::vector<TColor> offered;
};

class FakeWindow : public WindowService {
  public:
    void SetTitles(const std::string& value) override { title = value; }
    void RepaintGrid() override { ++repaints; }
    void EnableMenuEntry(MenuEntry entry, bool enabled) override { menu[entry] = enabled; }
    void Quit() override { ++quits; }
    std::string title;
    int repaints = 0;
    int quits = 0;
    std::map<MenuEntry, bool> menu;
};

class FakeEditor : public TextEditorService {
  public:
    explicit FakeEditor(ClipboardService& clipboard) : clipboard_(clipboard) {}
    void CutToClipboard() override;
    void CopyToClipboard() override { clipboard_.SetText(selected); }
    void PasteFromClipboard() override { text += clipboard_.GetText(); }
    std::string text;
    std::string selected;

  private:
    ClipboardService& clipboard_;
};

class FakeCellEditors : public CellEditorService {
  public:
    TextEditorService* ActiveEditor() override { return active; }
    TextEditorService* active = nullptr;
};

class FakeSettingsBackend : public SettingsBackend {
  public:
    std::optional<std::int64_t> ReadInteger(const std::string& name) override;
    void WriteInteger(const std::string& name, std::int32_t value) override;
    std::map<std::string, std::int64_t> values;
    std::vector<std::pair<std::string, std::int32_t>> writes;
    bool failWrites = false;
};

// Options set directly by a test.
struct FakeOptions : EditOptions {
    bool IncrementGroupAddress() const override { return incrementAddress; }
    bool IncrementVariableIndex() const override { return incrementIndex; }
    bool CreateRowOnEdit() const override { return createRow; }
    bool incrementAddress = false;
    bool incrementIndex = false;
    bool createRow = false;
};

// A table with its document, options and fakes, wired as the program wires them.
struct Workbench {
    Workbench();

    // Sets data rows from cell texts of columns 1 to 8; the table gets exactly these rows.
    void SetRows(const std::vector<std::vector<std::string>>& rows);
    std::vector<std::string> Row(int row) const;

    MappingTable table;
    FakeOptions options;
    FakeMessageBox messageBox;
    FakeClipboard clipboard;
    FakeFileDialogs fileDialogs;
    FakeColourDialog colourDialog;
    FakeWindow window;
    FakeCellEditors cellEditors;
    Services services;
    DocumentState document;
    EditContext edit;
    DocumentContext context;
};

// A fresh folder under the system's temporary folder, removed with all it holds.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Whole-file helpers; they fail the test when the file cannot be read or written.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);
// The names in a folder, sorted, to show that nothing was left behind.
std::vector<std::string> FolderEntries(const std::string& path);

// Cells (columns 1 to 8) of the two-row table that the project file format uses as its
// worked example.
std::vector<std::vector<std::string>> WorkedExampleRows();

// Rows that hold every label of every list, the ends of the ranges, and names with
// markup, non-ASCII letters, blanks, tabs and line breaks.
std::vector<std::vector<std::string>> EveryLabelRows();
