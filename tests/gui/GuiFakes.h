#pragma once

#include "MainUnit.h"

#include <QList>
#include <QString>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// Scripted platform services for the widget tests: prompts and dialogs answer from
// queues and record what they were shown, so no test ever blocks on a real dialog.

struct RecordedMessage {
    std::string text;
    std::string caption;
    int flags;
};

class ScriptedMessageBox : public MessageBoxService {
  public:
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    std::vector<RecordedMessage> shown;
    std::deque<int> answers;
};

class ScriptedFileDialogs : public FileDialogService {
  public:
    std::optional<std::string> GetOpenFileName() override;
    std::optional<std::string> GetSaveFileName() override;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
};

class ScriptedColourDialog : public ColourDialogService {
  public:
    std::optional<TColor> ChooseColour(TColor initial) override;
    std::deque<std::optional<TColor>> answers;
};

class MemorySettings : public SettingsBackend {
  public:
    std::optional<std::int64_t> ReadInteger(const std::string& name) override;
    void WriteInteger(const std::string& name, std::int32_t value) override;
    std::map<std::string, std::int64_t> values;
    std::vector<std::pair<std::string, std::int32_t>> writes;
};

// A main window wired to the scripted services.
struct ScriptedMainForm {
    explicit ScriptedMainForm(std::map<std::string, std::int64_t> storedSettings = {});
    ScriptedMessageBox messageBox;
    ScriptedFileDialogs fileDialogs;
    ScriptedColourDialog colourDialog;
    MemorySettings settings;
    std::unique_ptr<TMainForm> form;

    QAction* Find(const char* name) const;
};
