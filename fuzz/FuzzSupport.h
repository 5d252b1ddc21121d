#pragma once

// What the fuzz targets share: quiet stand-ins for the platform, the options taken from an
// input byte, and the checks of what a table may hold. No test framework: a broken
// expectation aborts, which both libFuzzer and the corpus replay report as a failure.

#include "FakeServices.h"
#include "model/EditContext.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz {

// Prints the message and aborts.
[[noreturn]] void Fail(const std::string& message);

inline void Expect(bool condition, const std::string& message) {
    if (!condition) {
        Fail(message);
    }
}

using Options = FakeOptions;

// Bits 0, 1 and 2 of the byte switch the three options on.
Options OptionsFromByte(std::uint8_t byte);

// Every prompt is answered with its first button; nothing blocks.
class QuietServices {
  public:
    QuietServices();
    Services& Get() { return services_; }
    std::string& ClipboardText();
    int MessagesShown() const;

  private:
    struct MessageBoxStub : MessageBoxService {
        int MessageBox(const std::string&, const std::string&, int flags) override {
            ++shown;
            return flags == MbOk ? IdOk : IdYes;
        }
        int shown = 0;
    };
    struct ClipboardStub : ClipboardService {
        std::string GetText() override { return text; }
        void SetText(const std::string& value) override { text = value; }
        std::string text;
    };
    struct FileDialogStub : FileDialogService {
        std::optional<std::string> GetOpenFileName() override { return std::nullopt; }
        std::optional<std::string> GetSaveFileName() override { return std::nullopt; }
    };
    struct ColourDialogStub : ColourDialogService {
        std::optional<TColor> ChooseColour(TColor) override { return std::nullopt; }
    };
    struct WindowStub : WindowService {
        void SetTitles(const std::string&) override {}
        void RepaintGrid() override {}
        void EnableMenuEntry(MenuEntry, bool) override {}
        void Quit() override {}
    };
    struct CellEditorStub : CellEditorService {
        TextEditorService* ActiveEditor() override { return nullptr; }
    };

    MessageBoxStub messageBox_;
    ClipboardStub clipboard_;
    FileDialogStub fileDialogs_;
    ColourDialogStub colourDialog_;
    WindowStub window_;
    CellEditorStub cellEditors_;
    Services services_;
};

struct ModifiedStub : ModifiedFlag {
    void SetModified(bool value) override { modified = value; }
    bool modified = false;
};

// The header row is intact and column 0 numbers every data row.
void ExpectHeaderAndNumbers(const MappingTable& table);

// Every cell of the 8-bit columns is empty or holds what the cell validation stores: an
// address in its "%u/%u/%u" form, a label of the column's list as the list spells it, and
// whole numbers in their ranges written as "%d".
void ExpectStoredForms(const MappingTable& table);

// Every cell, as "column/row".
std::string CellName(int column, int row);

std::string_view AsText(const std::uint8_t* data, std::size_t size);

} // namespace fuzz
