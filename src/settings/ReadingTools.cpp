#include "settings/ReadingTools.h"

#include "app/Application.h"
#include "app/numbers.h"
#include "app/tools.h"
#include "overlay/FrmMain.h"
#include "ruler/ReadingRuler.h"

namespace velmora {

namespace {
// A label that names the control after it and carries its mnemonic.
toolkit::LookDesign labelOf(const char* text, const char* control) {
    return {.text = text, .transparentBack = true, .labelFor = control};
}
}  // namespace

ReadingTools::ReadingTools(toolkit::Form& form, Application& app)
    : fraReadingTools(
          form,
          {.name = "fraReadingTools", .at = {240, 2280, 5745, 5775}, .look = {.text = "Reading tools", .tabIndex = 3}}),
      lblStrength(form,
                  {.name = "lblStrength", .at = {120, 360, 1215, 285}, .look = labelOf("&Strength:", "sldStrength")},
                  &fraReadingTools),
      sldStrength(form,
                  {.name = "sldStrength",
                   .at = {1380, 300, 3255, 420},
                   .look = {.tabIndex = 4, .accessibleName = "Strength", .minimum = 10, .maximum = 100}},
                  &fraReadingTools),
      lblPercent(form, {.name = "lblPercent", .at = {4740, 360, 840, 285}, .look = {.transparentBack = true}},
                 &fraReadingTools),
      chkClickThrough(form,
                      {.name = "chkClickThrough",
                       .at = {120, 840, 5400, 375},
                       .look = {.text = "Clicks &go through the tint", .tabIndex = 5}},
                      &fraReadingTools),
      chkRuler(form,
               {.name = "chkRuler", .at = {120, 1260, 5400, 375}, .look = {.text = "Reading &ruler", .tabIndex = 6}},
               &fraReadingTools),
      chkLightBox(form,
                  {.name = "chkLightBox",
                   .at = {480, 1680, 5040, 375},
                   .look = {.text = "Light &box: a clear strip, the tint around it", .tabIndex = 7}},
                  &fraReadingTools),
      chkFollow(form,
                {.name = "chkFollow",
                 .at = {480, 2100, 5040, 375},
                 .look = {.text = "Ruler &follows the pointer", .tabIndex = 8}},
                &fraReadingTools),
      lblHeight(
          form,
          {.name = "lblHeight", .at = {480, 2580, 2400, 285}, .look = labelOf("Ruler &height in pixels:", "txtHeight")},
          &fraReadingTools),
      txtHeight(form,
                {.name = "txtHeight",
                 .at = {2940, 2520, 735, 315},
                 .look = {.tabIndex = 9, .wholeNumberMax = tools::kMaximumRulerHeight}},
                &fraReadingTools),
      lblKeyTint(form,
                 {.name = "lblKeyTint", .at = {120, 3060, 2760, 285}, .look = labelOf("&Tint on or off:", "hkTint")},
                 &fraReadingTools),
      hkTint(form, {.name = "hkTint", .at = {2940, 3000, 2640, 315}, .look = {.tabIndex = 10}}, &fraReadingTools),
      lblKeyClick(form,
                  {.name = "lblKeyClick",
                   .at = {120, 3480, 2760, 285},
                   .look = labelOf("Clic&ks through on or off:", "hkClick")},
                  &fraReadingTools),
      hkClick(form, {.name = "hkClick", .at = {2940, 3420, 2640, 315}, .look = {.tabIndex = 11}}, &fraReadingTools),
      lblKeyRuler(
          form, {.name = "lblKeyRuler", .at = {120, 3900, 2760, 285}, .look = labelOf("R&uler on or off:", "hkRuler")},
          &fraReadingTools),
      hkRuler(form, {.name = "hkRuler", .at = {2940, 3840, 2640, 315}, .look = {.tabIndex = 12}}, &fraReadingTools),
      lblKeyUp(form, {.name = "lblKeyUp", .at = {120, 4320, 2760, 285}, .look = labelOf("Ruler u&p:", "hkRulerUp")},
               &fraReadingTools),
      hkRulerUp(form, {.name = "hkRulerUp", .at = {2940, 4260, 2640, 315}, .look = {.tabIndex = 13}}, &fraReadingTools),
      lblKeyDown(form,
                 {.name = "lblKeyDown", .at = {120, 4740, 2760, 285}, .look = labelOf("Ruler &down:", "hkRulerDown")},
                 &fraReadingTools),
      hkRulerDown(form, {.name = "hkRulerDown", .at = {2940, 4680, 2640, 315}, .look = {.tabIndex = 14}},
                  &fraReadingTools),
      lblKeyMenu(form,
                 {.name = "lblKeyMenu", .at = {120, 5160, 2760, 285}, .look = labelOf("Notification &menu:", "hkMenu")},
                 &fraReadingTools),
      hkMenu(form, {.name = "hkMenu", .at = {2940, 5100, 2640, 315}, .look = {.tabIndex = 15}}, &fraReadingTools),
      app_(app) {
    sldStrength.Change = [this] { sldStrength_Change(); };
    chkClickThrough.Click = [this] {
        if (!loading_) app_.form<FrmMain>().setClickThrough(chkClickThrough.Value() == 1);
    };
    chkRuler.Click = [this] { rulerChanged(chkRuler, keys::ruler); };
    chkLightBox.Click = [this] { rulerChanged(chkLightBox, keys::rulerstyle); };
    chkFollow.Click = [this] { rulerChanged(chkFollow, keys::rulerfollow); };
    txtHeight.Change = [this] { txtHeight_Change(); };
    hkTint.Change = [this] { hotkeyChanged(hkTint, Hotkeys::Tint, keys::hotkeytint); };
    hkClick.Change = [this] { hotkeyChanged(hkClick, Hotkeys::ClickThrough, keys::hotkeyclick); };
    hkRuler.Change = [this] { hotkeyChanged(hkRuler, Hotkeys::Ruler, keys::hotkeyruler); };
    hkRulerUp.Change = [this] { hotkeyChanged(hkRulerUp, Hotkeys::RulerUp, keys::hotkeyrulerup); };
    hkRulerDown.Change = [this] { hotkeyChanged(hkRulerDown, Hotkeys::RulerDown, keys::hotkeyrulerdown); };
    hkMenu.Change = [this] { hotkeyChanged(hkMenu, Hotkeys::Menu, keys::hotkeymenu); };
}

void ReadingTools::load() {
    loading_ = true;
    Store& store = app_.store();
    const int alpha = tools::storedAlpha(store.get(keys::alpha));
    sldStrength.setValue(tools::percentOfAlpha(alpha));
    showPercent(alpha);
    chkClickThrough.setValue(tools::storedSwitch(store.get(keys::clickthrough), false) ? 1 : 0);
    chkRuler.setValue(tools::storedSwitch(store.get(keys::ruler), false) ? 1 : 0);
    chkLightBox.setValue(tools::storedSwitch(store.get(keys::rulerstyle), false) ? 1 : 0);
    chkFollow.setValue(tools::storedSwitch(store.get(keys::rulerfollow), true) ? 1 : 0);
    txtHeight.setText(std::to_string(tools::storedRulerHeight(store.get(keys::rulerheight))));
    Hotkeys& hotkeys = app_.hotkeys();
    hkTint.setText(hotkeys.textOf(Hotkeys::Tint));
    hkClick.setText(hotkeys.textOf(Hotkeys::ClickThrough));
    hkRuler.setText(hotkeys.textOf(Hotkeys::Ruler));
    hkRulerUp.setText(hotkeys.textOf(Hotkeys::RulerUp));
    hkRulerDown.setText(hotkeys.textOf(Hotkeys::RulerDown));
    hkMenu.setText(hotkeys.textOf(Hotkeys::Menu));
    loading_ = false;
}

void ReadingTools::showPercent(int alpha) { lblPercent.setCaption(std::to_string(tools::percentOfAlpha(alpha)) + "%"); }

void ReadingTools::sldStrength_Change() {
    const int alpha = tools::alphaOfPercent(sldStrength.Value());
    app_.saveSetting(keys::alpha, numberText(static_cast<float>(alpha)));
    showPercent(alpha);
    app_.form<FrmMain>().applyStrength();
    app_.ruler().apply();
}

void ReadingTools::rulerChanged(toolkit::CheckBox& box, const char* key) {
    if (loading_) return;
    app_.saveSetting(key, numberText(static_cast<float>(box.Value() == 1 ? 1 : 0)));
    app_.ruler().apply();
    // The steps are keys of their own only while the ruler stays where it is.
    app_.hotkeys().refresh(Hotkeys::RulerUp);
    app_.hotkeys().refresh(Hotkeys::RulerDown);
}

// Stored once it is a height the ruler can take; what is typed on the way is not.
void ReadingTools::txtHeight_Change() {
    const auto height = tryLenientNumber(txtHeight.Text());
    if (!height || *height < tools::kMinimumRulerHeight || *height > tools::kMaximumRulerHeight) return;
    app_.saveSetting(keys::rulerheight, numberText(static_cast<float>(roundHalfEven(*height))));
    app_.ruler().apply();
}

void ReadingTools::hotkeyChanged(toolkit::HotkeyBox& box, Hotkeys::Id id, const char* key) {
    const std::string text = box.Text();
    const auto hotkey = platform::tryParseHotkey(text);
    if (hotkey) {
        app_.saveSetting(key, platform::hotkeyText(*hotkey));
    } else if (text.find_first_not_of(' ') == std::string::npos) {
        app_.saveSetting(key, "");  // none
    } else {
        box.setText(app_.hotkeys().textOf(id));  // no key this program can use: the one it had
        return;
    }
    app_.hotkeys().refresh(id);
}

}  // namespace velmora
