// The tint as a colour filter over the whole screen: white takes the tint's
// colour, exactly as the window shows it over white, and black stays black, so
// text keeps its contrast. While it is chosen, whatever shows the tint switches
// the filter on and whatever hides it switches it off; the tint's window stays
// hidden, and the notification menu's "Colour picker" reaches the picker.
#pragma once

#include "platform/filter.h"
#include "tools/ReadingTool.h"

namespace velmora::tools {

// " 0" the see-through window, " 1" the colour filter.
inline constexpr NumberSetting kTintMode{"tintmode", 0, 0, 1};

// Every channel c multiplied by 1 - (alpha / 255) * (1 - C_c / 255).
platform::Gains filterGains(platform::Color color, int alpha);

class ColourFilter final : public ReadingTool {
public:
    explicit ColourFilter(Application& app) : app_(app) {}

    std::unique_ptr<ToolRows> makeRows(RowLayout& layout) override;
    std::vector<toolkit::Menu::Entry> menuEntries() override;
    void overlayLoaded() override;
    void settingChanged(std::string_view key) override;
    void programEnding() override;
    bool presentsTint() override;
    bool presentTint(bool on) override;
    bool tintPresented() const override { return on_; }

    // Why the filter cannot be had here; empty when it can.
    std::string unavailableReason();
    static constexpr const char* kUnavailable = "Velmora cannot lay its tint as a colour filter here (";
    static constexpr const char* kWindowInstead = "), so it shows the tint window instead.";

private:
    // Tells once per run why the window stands in.
    void fallBack(const std::string& reason);

    Application& app_;
    bool on_ = false;
    bool failed_ = false;  // the desktop would not take the gains: the window for this run
    bool told_ = false;
};

}  // namespace velmora::tools
