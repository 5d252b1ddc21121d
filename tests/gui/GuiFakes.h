#pragma once

#include "FakeServices.h"
#include "MainUnit.h"

#include <QList>
#include <QString>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// The main window of the widget tests, wired to the shared scripted services: prompts
// and dialogs answer from queues and record what they were shown, so no test ever blocks
// on a real dialog.

// A main window wired to the scripted services.
struct ScriptedMainForm {
    explicit ScriptedMainForm(std::map<std::string, std::int64_t> storedSettings = {});
    FakeMessageBox messageBox;
    FakeFileDialogs fileDialogs;
    FakeColourDialog colourDialog;
    FakeSettingsBackend settings;
    std::unique_ptr<TMainForm> form;

    QAction* Find(const char* name) const;
};
