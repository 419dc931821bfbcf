// Clicks through the tint: while on, clicks, scrolling and selecting reach the
// page beneath it. Bringing the tint back from the menu or the icon ends it, so
// there is always a way back to the tint's own buttons.
#pragma once

#include "tools/ReadingTool.h"

namespace velmora::tools {

inline constexpr SwitchSetting kClickThrough{"clickthrough", false};
inline constexpr HotkeySetting kClickThroughKey{"hotkeyclick", "Ctrl+Alt+P"};

class ClickThrough final : public ReadingTool {
public:
    explicit ClickThrough(Application& app) : app_(app) {}

    std::vector<KeyDesign> keys() const override {
        return {{kClickThroughKey, "lblKeyClick", "hkClick", "Clic&ks through on or off:"}};
    }
    void pressed(std::size_t key) override;
    std::unique_ptr<ToolRows> makeRows(RowLayout& layout) override;
    void commanded(std::size_t) override { pressed(0); }
    void overlayLoaded() override { apply(); }
    void tintBroughtBack() override;
    void settingChanged(std::string_view key) override;

private:
    // Only a window that lets clicks through, or is to, is touched: the style
    // stays the plain layered one otherwise.
    void apply();

    Application& app_;
    bool applied_ = false;
};

}  // namespace velmora::tools
