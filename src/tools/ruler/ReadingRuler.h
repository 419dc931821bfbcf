// The reading ruler: a strip across the screen the pointer is on, above every
// window and letting every click through, in the tint's colour and strength.
// As a light box it is the other way round: a clear strip, the tint around it.
#pragma once

#include "app/SettingsModel.h"
#include "tools/ReadingTool.h"

namespace velmora::tools {

inline constexpr SwitchSetting kRuler{"ruler", false};
inline constexpr SwitchSetting kRulerLightBox{"rulerstyle", false};
inline constexpr SwitchSetting kRulerFollows{"rulerfollow", true};
inline constexpr NumberSetting kRulerHeight{"rulerheight", 48, 8, 400};
inline constexpr HotkeySetting kRulerKey{"hotkeyruler", "Ctrl+Alt+R"};
inline constexpr HotkeySetting kRulerUpKey{"hotkeyrulerup", "Ctrl+Alt+PgUp"};
inline constexpr HotkeySetting kRulerDownKey{"hotkeyrulerdown", "Ctrl+Alt+PgDown"};

// One of the ruler's windows: borderless, topmost, never in the taskbar.
class RulerPane : public toolkit::Form {
public:
    RulerPane(Application& app, const char* name);

    // Follows the pointer where the desktop does not report its moves, and runs
    // only while the ruler is on and follows it.
    toolkit::Timer Timer1;

    // The tint's colour and strength, and the mouse let through; only what changed.
    void paint();

protected:
    void Form_Load() override;

private:
    Application& app_;
    std::optional<SettingsModel::Tint> painted_;
};

class ReadingRuler final : public ReadingTool {
public:
    explicit ReadingRuler(Application& app);

    std::vector<KeyDesign> keys() const override {
        return {{kRulerKey, "lblKeyRuler", "hkRuler", "R&uler on or off:"},
                {kRulerUpKey, "lblKeyUp", "hkRulerUp", "Ruler u&p:"},
                {kRulerDownKey, "lblKeyDown", "hkRulerDown", "Ruler &down:"}};
    }
    // The steps grab their keys from every program only while they do something.
    bool keyWanted(std::size_t key) override { return key == 0 || stepping(); }
    void pressed(std::size_t key) override;
    std::unique_ptr<ToolRows> makeRows(RowLayout& layout) override;
    // On or off, up, down: as its keys.
    void commanded(std::size_t which) override { pressed(which); }
    void overlayLoaded() override { apply(); }
    void pointerMoved(platform::Point at) override;
    void settingChanged(std::string_view key) override;

    static constexpr const char* kCaption = "Velmora reading ruler";
    // In Settings, in place of "follows the pointer", where the desktop cannot have it.
    static constexpr const char* kCannotFollow =
        "In a Wayland session the ruler cannot follow the pointer: it stays where it is and steps with its keys.";

private:
    // Shows, hides, colours and places the ruler as the settings say.
    void apply();
    // A step of its own height up or down while it stays where it is.
    void step(int direction);
    bool stepping() const;
    // The desktop tells where the pointer is over every window, and it is asked to follow.
    bool canFollow() const;
    bool following() const;
    // Watches the pointer's moves, or polls where the desktop does not report them.
    void watch(bool on);
    void follow();
    void moveTo(platform::Point at);
    // Takes the pointer's screen and height, when the desktop tells them.
    bool takePointer();
    bool takePointer(platform::Point at);
    void layout();

    Application& app_;
    RulerPane upper_;  // the strip, or the tint above a light box's clear strip
    RulerPane lower_;  // the tint below the clear strip
    platform::Rect screen_;
    int centre_ = 0;  // the strip's middle, in desktop pixels
    bool placed_ = false;
    bool watching_ = false;  // the desktop reports the pointer's moves
};

}  // namespace velmora::tools
