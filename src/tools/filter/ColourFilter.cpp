#include "tools/filter/ColourFilter.h"

#include <utility>

#include "app/Application.h"
#include "overlay/FrmMain.h"

namespace velmora::tools {

platform::Gains filterGains(platform::Color color, int alpha) {
    const auto gain = [alpha](platform::Color component) { return 1.0 - (alpha / 255.0) * (1.0 - component / 255.0); };
    return {gain(color & 0xFFU), gain((color >> 8) & 0xFFU), gain((color >> 16) & 0xFFU)};
}

namespace {

class FilterRows final : public ToolRows {
public:
    FilterRows(ColourFilter& filter, Application& app, RowLayout& at, const std::string& reason)
        : chkFilter(at.form,
                    {.name = "chkFilter",
                     .at = {120, at.take(420), 5400, 375},
                     .look = {.text = "Tint as a &colour filter: black text stays black", .tabIndex = at.nextTab()}},
                    &at.group),
          reason_(reason),
          filter_(filter),
          app_(app) {
        // Where the desktop cannot have it, the reason stands under the box: room for three lines.
        if (!reason_.empty()) {
            lblFilterWhy = std::make_unique<toolkit::Label>(
                at.form,
                toolkit::ControlDesign{
                    .name = "lblFilterWhy", .at = {480, at.take(645), 5100, 600}, .look = {.transparentBack = true}},
                &at.group);
        }
        chkFilter.Click = [this] { clicked(); };
    }

    void load() override {
        loading_ = true;
        chkFilter.setValue(app_.model().get(kTintMode) == 1 ? 1 : 0);
        if (lblFilterWhy) lblFilterWhy->setCaption("Not on this desktop: " + reason_ + ".");
        loading_ = false;
    }

private:
    void clicked() {
        if (loading_) return;
        const bool wanted = chkFilter.Value() == 1;
        if (const std::string reason = filter_.unavailableReason(); wanted && !reason.empty()) {
            app_.msgBox(ColourFilter::kUnavailable + reason + ColourFilter::kWindowInstead);
            loading_ = true;
            chkFilter.setValue(0);
            loading_ = false;
            return;
        }
        app_.model().set(kTintMode, wanted ? 1 : 0);
    }

    toolkit::CheckBox chkFilter;
    std::unique_ptr<toolkit::Label> lblFilterWhy;
    std::string reason_;
    ColourFilter& filter_;
    Application& app_;
    bool loading_ = false;
};

}  // namespace

std::string ColourFilter::unavailableReason() { return app_.platform().filter.unavailableReason(); }

std::unique_ptr<ToolRows> ColourFilter::makeRows(RowLayout& layout) {
    return std::make_unique<FilterRows>(*this, app_, layout, unavailableReason());
}

// With the tint's window hidden, the picker needs a way in of its own.
std::vector<toolkit::Menu::Entry> ColourFilter::menuEntries() {
    if (!presentsTint()) return {};
    return {{"mnuPicker", "Colour &picker", [this] { app_.form<FrmMain>().Command1_Click(); }}};
}

void ColourFilter::fallBack(const std::string& reason) {
    if (std::exchange(told_, true)) return;
    app_.msgBox(kUnavailable + reason + kWindowInstead);
}

bool ColourFilter::presentsTint() {
    return !failed_ && app_.model().get(kTintMode) == 1 && unavailableReason().empty();
}

bool ColourFilter::presentTint(bool on) {
    platform::ScreenFilter& screen = app_.platform().filter;
    if (!on) {
        if (std::exchange(on_, false)) screen.clear();
        return true;
    }
    const SettingsModel::Tint& tint = app_.model().tint();
    if (screen.setGains(filterGains(tint.color, tint.alpha))) {
        on_ = true;
        return true;
    }
    // Said it could and then did not: the window for the rest of this run.
    failed_ = true;
    if (std::exchange(on_, false)) screen.clear();
    fallBack("the desktop did not take the colour");
    return false;
}

void ColourFilter::overlayLoaded() {
    if (app_.model().get(kTintMode) == 1) {
        if (const std::string reason = unavailableReason(); !reason.empty()) fallBack(reason);
    }
    // A tint shown as a window (after "Set color") goes to the filter.
    FrmMain& overlay = app_.form<FrmMain>();
    if (presentsTint() && overlay.Visible() && presentTint(true)) overlay.setVisible(false);
}

void ColourFilter::settingChanged(std::string_view key) {
    FrmMain& overlay = app_.form<FrmMain>();
    if (key == SettingsModel::kTintShown) {
        if (on_ && !presentTint(true)) overlay.ShowWithoutActivating();
    } else if (key == kTintMode.key) {
        if (presentsTint()) {
            if (overlay.Visible() && presentTint(true)) overlay.setVisible(false);
        } else if (on_) {
            presentTint(false);
            overlay.ShowWithoutActivating();
        }
    }
}

void ColourFilter::programEnding() { presentTint(false); }

}  // namespace velmora::tools
