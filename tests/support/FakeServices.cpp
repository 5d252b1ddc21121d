#include "FakeServices.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

void PrintAndAbort(const std::string& what) {
    std::fprintf(stderr, "fault of the test: %s\n", what.c_str());
    std::abort();
}

TestFaultReporter faultReporter = PrintAndAbort;

} // namespace

void ReportTestFault(const std::string& what) {
    faultReporter(what);
}

void SetTestFaultReporter(TestFaultReporter reporter) {
    faultReporter = reporter;
}

int FakeMessageBox::MessageBox(const std::string& text, const std::string& caption, int flags) {
    shown.push_back({text, caption, flags});
    if (flags == MbOk) {
        return IdOk;
    }
    if (answers.empty()) {
        ReportTestFault(std::string("unscripted prompt: ") + text);
        return IdCancel;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

bool FakeMessageBox::ShowedOnlyTheRowLimit() const {
    return shown.size() == 1 &&
           shown[0].text == "Sorry, you reached the row limit, you cannot add any more rows." &&
           shown[0].caption == "Row limit reached" && shown[0].flags == MbOk;
}

std::optional<std::string> FakeFileDialogs::GetOpenFileName() {
    if (openAnswers.empty()) {
        ReportTestFault(std::string("unscripted open dialog"));
        return std::nullopt;
    }
    auto answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakeFileDialogs::GetSaveFileName() {
    ++saveDialogs;
    if (saveAnswers.empty()) {
        ReportTestFault(std::string("unscripted save dialog"));
        return std::nullopt;
    }
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

std::optional<TColor> FakeColourDialog::ChooseColour(TColor initial) {
    offered.push_back(initial);
    if (answers.empty()) {
        ReportTestFault(std::string("unscripted colour dialog"));
        return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeEditor::CutToClipboard() {
    clipboard_.SetText(selected);
    if (auto at = text.find(selected); at != std::string::npos) {
        text.erase(at, selected.size());
    }
    selected.clear();
}

std::optional<std::int64_t> FakeSettingsBackend::ReadInteger(const std::string& name) {
    auto found = values.find(name);
    if (found == values.end()) {
        return std::nullopt;
    }
    return found->second;
}

void FakeSettingsBackend::WriteInteger(const std::string& name, std::int32_t value) {
    if (failWrites) {
        throw TabrixError("Failed to write value " + name);
    }
    values[name] = value;
    writes.emplace_back(name, value);
}

Workbench::Workbench()
    : services{messageBox, clipboard, fileDialogs, colourDialog, window, cellEditors},
      document(window), edit{table, options, document, services}, context{edit, document} {}

void Workbench::SetRows(const std::vector<std::vector<std::string>>& rows) {
    table.SetRowCountEx(1);
    table.SetRowCountEx(static_cast<int>(rows.size()) + 1);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (size_t c = 0; c < rows[r].size(); ++c) {
            table.SetCellEx(static_cast<int>(c) + 1, static_cast<int>(r) + 1, rows[r][c]);
        }
    }
    RenumberRows(table);
}

std::vector<std::string> Workbench::Row(int row) const {
    std::vector<std::string> cells;
    for (int c = ColAddress; c < ColumnCount; ++c) {
        cells.push_back(table.GetCellEx(c, row));
    }
    return cells;
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tabrix-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        ReportTestFault(std::string("cannot create a temporary folder"));
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ReportTestFault(std::string("cannot read ") + path);
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        ReportTestFault(std::string("cannot write ") + path);
    }
}

std::vector<std::string> FolderEntries(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::vector<std::string>> WorkedExampleRows() {
    return {
        {"1/0/1", "Hall light", "Boolean", "IN", "1", "Coil", "None", ""},
        {"1/0/2", "Hall temperature", "Float 16 bit", "OUT", "2", "Register", "Multiply", "10"},
    };
}

std::vector<std::vector<std::string>> EveryLabelRows() {
    return {
        {"0/0/1", "\xC3\x84 & <b> \"q\" \xCE\xA9 \xD0\x96 \xF0\x9F\x98\x80", "Boolean", "IN", "1",
         "Register", "None", ""},
        {"15/7/255", "tab\there", "Unsigned 8 bit", "OUT", "10001", "Coil", "Add", "0"},
        {"1/2/3", "line\nbreak", "Signed 8 bit", "IN", "5", "Register", "Subtract", "32767"},
        {"2/0/4", "carriage\rreturn", "Unsigned 16 bit", "OUT", "6", "Coil", "Multiply", "10"},
        {"3/1/5", "", "Signed 16 bit", "IN", "7", "Register", "Divide", "1"},
        {"4/2/6", "  blanks  ", "Float 16 bit", "OUT", "8", "Coil", "None", ""},
    };
}
