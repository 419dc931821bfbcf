// The tint's strength: how strongly it covers the page, 10 to 100 per cent.
#pragma once

#include "tools/ReadingTool.h"

namespace velmora::tools {

// The tint as it always was: 150/255 opaque; never fainter than 10 %.
inline constexpr NumberSetting kAlpha{"alpha", 150, 26, 255};

// The strength as Settings shows it, 10 to 100 per cent, and back.
int percentOfAlpha(int alpha);
int alphaOfPercent(int percent);

class Strength final : public ReadingTool {
public:
    explicit Strength(Application& app) : app_(app) {}
    std::unique_ptr<ToolRows> makeRows(RowLayout& layout) override;
    void settingChanged(std::string_view key) override;

private:
    Application& app_;
};

}  // namespace velmora::tools
