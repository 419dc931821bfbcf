// The tint overlay: a translucent window filled with the tint colour that the
// person lays over what they read.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "overlay/modSystray.h"
#include "toolkit/controls.h"

namespace velmora {

class Application;
namespace tools {
class ReadingTool;
}

class FrmMain : public toolkit::Form {
public:
    explicit FrmMain(Application& app);

    // Public so the colour picker can run it again after a colour change.
    void Form_Load() override;
    void initFormControls();
    void Command2_Click();
    // "Set screen color": also the notification menu's way to the picker.
    void Command1_Click();
    // The menu's commands; also what another start of the program may ask for.
    void mnuShow_Click();
    void mnuHide_Click();
    void mnuAbout_Click();
    void mnuSettings_Click();
    void mnuExit_Click();
    // Takes the icon out of the notification area when the program ends.
    void removeNotifyIcon();
    // The colour and strength as stored, shown at once (a favourite chosen).
    void applyStoredTint() { applyTint(); }
    // The strength as stored, told to those that show the tint too.
    void applyStrength();
    // The tint shown or hidden as Show and Hide do, from a hotkey: the keyboard stays with the window the person reads
    // or types in.
    void toggleTint();
    // The tint at start, when the settings show it, the keyboard left where it is.
    void showAtStart();
    // The notification menu at the pointer, with the keyboard in it.
    void openNotificationMenu();

    platform::Color bXColor = 0;
    std::int16_t g_nTransparency = 0;
    std::uint8_t flag = 0;

    toolkit::CommandButton cmdExit;
    toolkit::CommandButton Command1;
    toolkit::CommandButton Command2;
    toolkit::Timer Timer1;
    toolkit::Menu mnuSystray;

protected:
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;
    void Form_Moved() override;
    void Form_NotifyIcon(unsigned code) override;

private:
    void applyTint();
    void bringBackFromTools();
    // The tool that lays the tint in the window's place now, if any.
    tools::ReadingTool* presenter();
    void registerNotifyIcon();
    void placeSponsorPanel();
    // Where the overlay stands now, in pixels.
    platform::Rect pixelRect();
    void restoreGeometry();
    void centreOnPrimaryScreen();
    void fitOnDesktop();
    void keepOnScreen();
    // The stored width or height, when the overlay's buttons fit in it.
    std::optional<float> usableSize(const std::string& text, bool width);
    void applyFrontmost();
    void Timer1_Timer();
    void geometryChanged();
    void cmdExit_Click();
    void reapplyFrontmost(bool activate = true);
    void showTint(bool activate);
    void showFrontmost(bool on);

    Application& app_;
    modSystray::NOTIFYICONDATA nid_;
    bool iconAdded_ = false;
    // What the timer last wrote for width, height, top, left.
    std::array<std::optional<std::string>, 4> lastSaved_;
};

}  // namespace velmora
