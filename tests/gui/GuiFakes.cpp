#include "GuiFakes.h"

#include <QAction>

int ScriptedMessageBox::MessageBox(const std::string& text, const std::string& caption, int flags) {
    shown.push_back({text, caption, flags});
    if (flags == MbOk || answers.empty()) {
        return flags == MbOk ? IdOk : IdCancel;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {
std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}
} // namespace

std::optional<std::string> ScriptedFileDialogs::GetOpenFileName() {
    return Next(openAnswers);
}

std::optional<std::string> ScriptedFileDialogs::GetSaveFileName() {
    return Next(saveAnswers);
}

std::optional<TColor> ScriptedColourDialog::ChooseColour(TColor /*initial*/) {
    if (answers.empty()) {
        return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::int64_t> MemorySettings::ReadInteger(const std::string& name) {
    auto found = values.find(name);
    return found == values.end() ? std::nullopt : std::optional<std::int64_t>(found->second);
}

void MemorySettings::WriteInteger(const std::string& name, std::int32_t value) {
    values[name] = value;
    writes.emplace_back(name, value);
}

ScriptedMainForm::ScriptedMainForm(std::map<std::string, std::int64_t> storedSettings) {
    settings.values = std::move(storedSettings);
    PlatformOverrides overrides;
    overrides.messageBox = &messageBox;
    overrides.fileDialogs = &fileDialogs;
    overrides.colourDialog = &colourDialog;
    overrides.settings = &settings;
    form = std::make_unique<TMainForm>(overrides);
}

QAction* ScriptedMainForm::Find(const char* name) const {
    return form->findChild<QAction*>(name);
}
