#include "settings/frmSettings.h"

#include "app/Application.h"
#include "app/Hotkeys.h"
#include "app/Module1.h"
#include "app/numbers.h"

namespace velmora {

namespace {
constexpr float kBelowGroup = 240;
}  // namespace

int checkBoxValue(const std::string& stored) {
    const double rounded = roundHalfEven(lenientNumber(stored));
    if (rounded == 0 || rounded == 1 || rounded == 2) return static_cast<int>(rounded);
    return lenientNumber(stored) == 0 ? 0 : 1;
}

frmSettings::frmSettings(Application& app)
    : toolkit::Form(app, {.name = "frmSettings",
                          .caption = "Settings ",
                          .client = {6225, 0},
                          .closeOnEscape = true,
                          .fitsWorkArea = true}),
      Check1(*this, {.name = "Check1",
                     .at = {240, 240, 4695, 375},
                     .look = {.text = "Automatically load with windows startup.", .tabIndex = 0}}),
      Check2(*this, {.name = "Check2",
                     .at = {240, 720, 4695, 375},
                     .look = {.text = "Automatically display tint on app load", .tabIndex = 1}}),
      Command1(*this, {.name = "Command1", .at = {4200, 1560, 1815, 495}, .look = {.text = "&OK", .tabIndex = 2}}),
      tools(*this, app),
      app_(app) {
    // As tall as the reading tools' rows.
    setDesignClient({designClient().width, tools.bottom() + kBelowGroup});
    Check1.Click = [this] { Check1_Click(); };
    Check2.Click = [this] { Check2_Click(); };
    Command1.Click = [this] { Command1_Click(); };
}

void frmSettings::Form_Load() {
    Check1.setValue(checkBoxValue(app_.store().get(keys::loadwin)));
    Check2.setValue(checkBoxValue(app_.store().get(keys::tint)));
    tools.load();
    app_.hotkeys().pause();
}

void frmSettings::Form_Unload(int& cancel) {
    (void)cancel;
    app_.hotkeys().resume();
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
        app_.platform().desktop.removeStartupEntry();
    }
    Unload();
}

}  // namespace velmora
