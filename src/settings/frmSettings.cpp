#include "settings/frmSettings.h"

#include "app/Application.h"
#include "app/Module1.h"
#include "app/numbers.h"

namespace velmora {

namespace {
toolkit::FormDesign settingsDesign() {
    toolkit::FormDesign d;
    d.name = "frmSettings";
    d.caption = "Settings ";
    d.border = platform::BorderStyle::Sizable;
    d.clientWidth = 6225;
    d.clientHeight = 2310;
    return d;
}

toolkit::ControlDesign control(const char* name, const char* caption, float left, float top, float width, float height,
                               int tabIndex) {
    toolkit::ControlDesign d{name, left, top, width, height, {}};
    d.look.text = caption;
    d.look.tabIndex = tabIndex;
    return d;
}
}  // namespace

int checkBoxValue(const std::string& stored) {
    const double rounded = roundHalfEven(lenientNumber(stored));
    if (rounded == 0 || rounded == 1 || rounded == 2) return static_cast<int>(rounded);
    return lenientNumber(stored) == 0 ? 0 : 1;
}

frmSettings::frmSettings(Application& app)
    : toolkit::Form(app, settingsDesign()),
      Check1(*this, control("Check1", "Automatically load with windows startup.", 240, 240, 4695, 375, 0)),
      Check2(*this, control("Check2", "Automatically display tint on app load", 240, 720, 4695, 375, 1)),
      Command1(*this, control("Command1", "&OK", 4200, 1560, 1815, 495, 2)),
      app_(app) {
    Check1.Click = [this] { Check1_Click(); };
    Check2.Click = [this] { Check2_Click(); };
    Command1.Click = [this] { Command1_Click(); };
}

void frmSettings::Form_Load() {
    Check1.setValue(checkBoxValue(app_.store().get(keys::loadwin)));
    Check2.setValue(checkBoxValue(app_.store().get(keys::tint)));
}

void frmSettings::Check1_Click() { app_.saveSetting(keys::loadwin, numberText(static_cast<float>(Check1.Value()))); }

void frmSettings::Check2_Click() { app_.saveSetting(keys::tint, numberText(static_cast<float>(Check2.Value()))); }

// Ticked writes the login entry again with the executable's current path; clear
// takes away the entry this program wrote, so unticking really stops the start.
void frmSettings::Command1_Click() {
    const int value = Check1.Value();
    if (value == 1) {
        Module1::RegisterStartupEntry(app_);
    } else if (value == 0) {
        app_.platform().removeStartupEntry();
    }
    Unload();
}

}  // namespace velmora
