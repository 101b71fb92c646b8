// The settings a user edits in the driver's dialogs, by field name, and the
// dialog scripts that read or change them through the scripted presenter.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

#include "pxrdriver/paper.h"
#include "win32/user32/ui_presenter.h"

// In the order the dialogs show them.
inline const std::vector<std::string> kSettingsFields = {
    "resolution", "paper", "orientation", "transaction", "memory",     "colour",   "compression",
    "datamode",   "trim",  "shade",       "inkedarea",   "pjlcontrol", "headmask", "controlcode"};

bool IsSettingsField(const std::string& name);

struct FieldValue {
    std::string field;
    std::string value;
};

// What one run of the dialogs saw and did.
struct SettingsRun {
    std::vector<std::pair<std::string, std::string>> shown;  // field, text as shown
    // Values the dialogs cannot take, each with its field: "FIELD=VALUE: why"
    // (an empty entry: refused without a message).
    std::vector<std::string> errors;
    size_t messagesTold = 0;  // the presenter's messages already among the errors
    bool accepted = false;    // the settings dialog ended with OK
};

// Scripts for the settings dialog (and its advanced options dialog) that
// read every field as shown and close with Cancel.
void ScriptShowSettings(ScriptedPresenter& presenter, const std::vector<PaperSize>& papers,
                        const std::shared_ptr<SettingsRun>& run);

// Scripts that set the given fields (orientation excepted: it is no control
// of the dialogs) and press OK in both dialogs. A message a dialog shows is
// kept among the errors with the field it is about.
void ScriptChangeSettings(ScriptedPresenter& presenter, const std::vector<FieldValue>& values,
                          const std::vector<PaperSize>& papers,
                          const std::shared_ptr<SettingsRun>& run);
