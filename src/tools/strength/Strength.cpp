#include "tools/strength/Strength.h"

#include <algorithm>
#include <cmath>

#include "app/Application.h"
#include "app/numbers.h"
#include "overlay/FrmMain.h"

namespace velmora::tools {

int percentOfAlpha(int alpha) { return static_cast<int>(std::lround(alpha * 100.0 / kAlpha.highest)); }

int alphaOfPercent(int percent) {
    const double alpha = roundHalfEven(std::clamp(percent, 10, 100) * kAlpha.highest / 100.0);
    return std::clamp(static_cast<int>(alpha), kAlpha.lowest, kAlpha.highest);
}

namespace {

class StrengthRows final : public ToolRows {
public:
    StrengthRows(Application& app, RowLayout& at) : StrengthRows(app, at, at.take(540), at.nextTab()) {}

    void load() override {
        const int alpha = app_.model().get(kAlpha);
        sldStrength.setValue(percentOfAlpha(alpha));
        showPercent(alpha);
    }

private:
    StrengthRows(Application& app, RowLayout& at, float top, int tab)
        : lblStrength(at.form,
                      {.name = "lblStrength",
                       .at = {120, top + 60, 1215, 285},
                       .look = {.text = "&Strength:", .transparentBack = true, .labelFor = "sldStrength"}},
                      &at.group),
          sldStrength(at.form,
                      {.name = "sldStrength",
                       .at = {1380, top, 3255, 420},
                       .look = {.tabIndex = tab, .accessibleName = "Strength", .minimum = 10, .maximum = 100}},
                      &at.group),
          lblPercent(at.form,
                     {.name = "lblPercent", .at = {4740, top + 60, 840, 285}, .look = {.transparentBack = true}},
                     &at.group),
          app_(app) {
        sldStrength.Change = [this] { changed(); };
    }

    void changed() {
        const int alpha = alphaOfPercent(sldStrength.Value());
        app_.model().set(kAlpha, alpha);
        showPercent(alpha);
    }
    void showPercent(int alpha) { lblPercent.setCaption(std::to_string(percentOfAlpha(alpha)) + "%"); }

    toolkit::Label lblStrength;
    toolkit::Slider sldStrength;
    toolkit::Label lblPercent;
    Application& app_;
};

}  // namespace

std::unique_ptr<ToolRows> Strength::makeRows(RowLayout& layout) { return std::make_unique<StrengthRows>(app_, layout); }

void Strength::settingChanged(std::string_view key) {
    if (key == kAlpha.key) app_.form<FrmMain>().applyStrength();
}

}  // namespace velmora::tools
