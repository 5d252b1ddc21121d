#include "GuiFakes.h"

#include <QAction>

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
