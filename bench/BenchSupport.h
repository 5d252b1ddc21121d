#pragma once

#include "FakeServices.h"
#include "model/EditContext.h"
#include "project/DocumentState.h"

#include <string>

// Services that show nothing and answer nothing: the benchmarks time the work, not dialogs.
struct SilentServices : MessageBoxService,
                        ClipboardService,
                        FileDialogService,
                        ColourDialogService,
                        WindowService,
                        CellEditorService {
    int MessageBox(const std::string&, const std::string&, int) override { return IdNo; }
    std::string GetText() override { return clipboard; }
    void SetText(const std::string& text) override { clipboard = text; }
    std::optional<std::string> GetOpenFileName() override { return std::nullopt; }
    std::optional<std::string> GetSaveFileName() override { return std::nullopt; }
    std::optional<TColor> ChooseColour(TColor) override { return std::nullopt; }
    void SetTitles(const std::string&) override {}
    void RepaintGrid() override {}
    void EnableMenuEntry(MenuEntry, bool) override {}
    void Quit() override {}
    TextEditorService* ActiveEditor() override { return nullptr; }
    std::string clipboard;
};

struct EmptySettings : SettingsBackend {
    std::optional<std::int64_t> ReadInteger(const std::string&) override { return std::nullopt; }
    void WriteInteger(const std::string&, std::int32_t) override {}
};

// Both increments on, no spare row.
FakeOptions PlainOptions();

// A table and everything its handlers need.
struct BenchDocument {
    BenchDocument();
    SilentServices silent;
    Services services;
    FakeOptions options = PlainOptions();
    MappingTable table;
    DocumentState document;
    EditContext edit;
};

// Fills the table with rows data rows holding every label and a valid address each.
void FillTable(MappingTable& table, int rows);

// The project file's text for such a table.
std::string ProjectText(int rows);
