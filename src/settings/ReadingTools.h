// The settings dialog's "Reading tools": the tint's strength, clicks through it,
// the reading ruler and the hotkeys. Each is stored the moment it changes.
#pragma once

#include "app/Hotkeys.h"
#include "toolkit/controls.h"

namespace velmora {

class Application;

class ReadingTools {
public:
    ReadingTools(toolkit::Form& form, Application& app);

    // Shows what is stored, on every load of the dialog; storing nothing itself.
    void load();

    toolkit::Frame fraReadingTools;
    toolkit::Label lblStrength;
    toolkit::Slider sldStrength;
    toolkit::Label lblPercent;
    toolkit::CheckBox chkClickThrough;
    toolkit::CheckBox chkRuler;
    toolkit::CheckBox chkLightBox;
    toolkit::CheckBox chkFollow;
    toolkit::Label lblHeight;
    toolkit::TextBox txtHeight;
    toolkit::Label lblKeyTint;
    toolkit::HotkeyBox hkTint;
    toolkit::Label lblKeyClick;
    toolkit::HotkeyBox hkClick;
    toolkit::Label lblKeyRuler;
    toolkit::HotkeyBox hkRuler;
    toolkit::Label lblKeyUp;
    toolkit::HotkeyBox hkRulerUp;
    toolkit::Label lblKeyDown;
    toolkit::HotkeyBox hkRulerDown;
    toolkit::Label lblKeyMenu;
    toolkit::HotkeyBox hkMenu;

private:
    void sldStrength_Change();
    void rulerChanged(toolkit::CheckBox& box, const char* key);
    void txtHeight_Change();
    void hotkeyChanged(toolkit::HotkeyBox& box, Hotkeys::Id id, const char* key);
    void showPercent(int alpha);

    Application& app_;
    bool loading_ = false;
};

}  // namespace velmora
