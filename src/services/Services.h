#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The outside world as the core sees it. The Qt program implements these in app/;
// the tests use scripted fakes. All texts are UTF-8.

// Message box flags and results, as the handlers name them.
constexpr int MbOk = 0;
constexpr int MbYesNoCancel = 3;
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdYes = 6;
constexpr int IdNo = 7;

class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    // Modal and without icon. MbOk shows one OK button; MbYesNoCancel shows Yes, No and
    // Cancel with Yes the default. Closing the box counts as Cancel.
    virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
};

class ClipboardService {
  public:
    virtual ~ClipboardService() = default;
    virtual std::string GetText() = 0;
    virtual void SetText(const std::string& text) = 0;
};

// A per-user store of integer values.
class SettingsBackend {
  public:
    virtual ~SettingsBackend() = default;
    // Nothing when the value is missing or not an integer.
    virtual std::optional<std::int64_t> ReadInteger(const std::string& name) = 0;
    // Stores at once; throws TabrixError when the store cannot be written.
    virtual void WriteInteger(const std::string& name, std::int32_t value) = 0;
};

class FileDialogService {
  public:
    virtual ~FileDialogService() = default;
    // The chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> GetOpenFileName() = 0;
    virtual std::optional<std::string> GetSaveFileName() = 0;
};

// TColor: 0x00BBGGRR.
using TColor = std::uint32_t;

class ColourDialogService {
  public:
    virtual ~ColourDialogService() = default;
    // The chosen colour, or nothing on Cancel.
    virtual std::optional<TColor> ChooseColour(TColor initial) = 0;
};

// Menu items whose enabled state and glyph the core switches.
enum class MenuEntry { Save1, Cut1 };

class WindowService {
  public:
    virtual ~WindowService() = default;
    // The main window's title and the application's title, always set together.
    virtual void SetTitles(const std::string& title) = 0;
    virtual void RepaintGrid() = 0;
    virtual void EnableMenuEntry(MenuEntry entry, bool enabled) = 0;
    // Asks the application to end once the current event is handled.
    virtual void Quit() = 0;
};

// The text box of a cell being edited, when one has the input focus.
class TextEditorService {
  public:
    virtual ~TextEditorService() = default;
    virtual void CutToClipboard() = 0;
    virtual void CopyToClipboard() = 0;
    virtual void PasteFromClipboard() = 0;
};

class CellEditorService {
  public:
    virtual ~CellEditorService() = default;
    // The active (focused) cell editor, or nullptr.
    virtual TextEditorService* ActiveEditor() = 0;
};

// Everything the handlers may reach, handed in by the program or a test.
struct Services {
    MessageBoxService& messageBox;
    ClipboardService& clipboard;
    FileDialogService& fileDialogs;
    ColourDialogService& colourDialog;
    WindowService& window;
    CellEditorService& cellEditors;
};
