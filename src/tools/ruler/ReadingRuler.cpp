#include "tools/ruler/ReadingRuler.h"

#include <algorithm>
#include <memory>

#include "app/Application.h"
#include "app/Module1.h"
#include "app/numbers.h"
#include "platform/winapi.h"

namespace velmora::tools {

namespace win = platform::win;

namespace {
// Where the desktop does not report the pointer's moves: about thirty times a
// second, a strip that keeps up with reading, no faster.
constexpr int kFollowMs = 33;
}  // namespace

RulerPane::RulerPane(Application& app, const char* name)
    : toolkit::Form(app, {.name = name,
                          .caption = ReadingRuler::kCaption,
                          .border = platform::BorderStyle::None,
                          .showInTaskbar = false}),
      Timer1(*this, "Timer1", kFollowMs, false),
      app_(app) {}

void RulerPane::Form_Load() {
    painted_.reset();
    Module1::setZOrder(app_, hWnd(), win::HWND_TOPMOST);
    paint();
}

void RulerPane::paint() {
    const SettingsModel::Tint& tint = app_.model().tint();
    if (painted_ == tint) return;
    painted_ = tint;
    setBackColor(tint.color);
    Module1::MakeTranslucent(app_, hWnd(), tint.color, static_cast<std::int16_t>(tint.alpha),
                             static_cast<std::uint8_t>(win::LWA_ALPHA));
    Module1::SetClickThrough(app_, hWnd(), true);
}

namespace {

class RulerRows final : public ToolRows {
public:
    RulerRows(Application& app, RowLayout& at, bool canFollow)
        : chkRuler(at.form,
                   {.name = "chkRuler",
                    .at = {120, at.take(420), 5400, 375},
                    .look = {.text = "Reading &ruler", .tabIndex = at.nextTab()}},
                   &at.group),
          chkLightBox(at.form,
                      {.name = "chkLightBox",
                       .at = {480, at.take(420), 5040, 375},
                       .look = {.text = "Light &box: a clear strip, the tint around it", .tabIndex = at.nextTab()}},
                      &at.group),
          // Where the desktop keeps the pointer to itself, the reason stands in the box's place.
          chkFollow(canFollow ? std::make_unique<toolkit::CheckBox>(
                                    at.form,
                                    toolkit::ControlDesign{
                                        .name = "chkFollow",
                                        .at = {480, at.take(420), 5040, 375},
                                        .look = {.text = "Ruler &follows the pointer", .tabIndex = at.nextTab()}},
                                    &at.group)
                              : nullptr),
          lblFollowWhy(canFollow ? nullptr
                                 : std::make_unique<toolkit::Label>(
                                       at.form,
                                       toolkit::ControlDesign{
                                           .name = "lblFollowWhy",
                                           .at = {480, at.take(600), 5040, 555},
                                           .look = {.text = ReadingRuler::kCannotFollow, .transparentBack = true}},
                                       &at.group)),
          lblHeight(at.form,
                    {.name = "lblHeight",
                     .at = {480, at.take(480) + 60, 2400, 285},
                     .look = {.text = "Ruler &height in pixels:", .transparentBack = true, .labelFor = "txtHeight"}},
                    &at.group),
          txtHeight(at.form,
                    {.name = "txtHeight",
                     .at = {2940, at.bottom() - 480, 735, 315},
                     .look = {.tabIndex = at.nextTab(), .wholeNumberMax = kRulerHeight.highest}},
                    &at.group),
          app_(app) {
        chkRuler.Click = [this] { changed(chkRuler, kRuler); };
        chkLightBox.Click = [this] { changed(chkLightBox, kRulerLightBox); };
        if (chkFollow) chkFollow->Click = [this] { changed(*chkFollow, kRulerFollows); };
        txtHeight.Change = [this] { heightTyped(); };
    }

    void load() override {
        loading_ = true;
        SettingsModel& model = app_.model();
        chkRuler.setValue(model.get(kRuler) ? 1 : 0);
        chkLightBox.setValue(model.get(kRulerLightBox) ? 1 : 0);
        if (chkFollow) chkFollow->setValue(model.get(kRulerFollows) ? 1 : 0);
        txtHeight.setText(std::to_string(model.get(kRulerHeight)));
        loading_ = false;
    }

private:
    void changed(toolkit::CheckBox& box, const SwitchSetting& setting) {
        if (!loading_) app_.model().set(setting, box.Value() == 1);
    }

    // Stored once it is a height the ruler can take; what is typed on the way is not.
    void heightTyped() {
        const auto height = tryLenientNumber(txtHeight.Text());
        if (!height || *height < kRulerHeight.lowest || *height > kRulerHeight.highest) return;
        app_.model().set(kRulerHeight, static_cast<int>(roundHalfEven(*height)));
    }

    toolkit::CheckBox chkRuler;
    toolkit::CheckBox chkLightBox;
    std::unique_ptr<toolkit::CheckBox> chkFollow;
    std::unique_ptr<toolkit::Label> lblFollowWhy;
    toolkit::Label lblHeight;
    toolkit::TextBox txtHeight;
    Application& app_;
    bool loading_ = false;
};

}  // namespace

ReadingRuler::ReadingRuler(Application& app) : app_(app), upper_(app, "frmRuler"), lower_(app, "frmRuler2") {
    upper_.Timer1.Tick = [this] { follow(); };
}

std::unique_ptr<ToolRows> ReadingRuler::makeRows(RowLayout& layout) {
    return std::make_unique<RulerRows>(app_, layout, canFollow());
}

void ReadingRuler::pressed(std::size_t key) {
    if (key == 0) {
        app_.model().set(kRuler, !app_.model().get(kRuler));
    } else {
        step(key == 1 ? -1 : 1);
    }
}

void ReadingRuler::settingChanged(std::string_view key) {
    if (key == SettingsModel::kTintShown) {
        if (upper_.isLoaded()) upper_.paint();
        if (lower_.isLoaded()) lower_.paint();
        return;
    }
    for (const char* mine : {kRuler.key, kRulerLightBox.key, kRulerFollows.key, kRulerHeight.key}) {
        if (key == mine) return apply();
    }
}

bool ReadingRuler::canFollow() const { return !app_.platform().desktop.waylandSessionThroughXWayland(); }

bool ReadingRuler::following() const { return app_.model().get(kRulerFollows) && canFollow(); }

bool ReadingRuler::stepping() const { return app_.model().get(kRuler) && !following(); }

void ReadingRuler::apply() {
    SettingsModel& model = app_.model();
    if (!model.get(kRuler)) {
        // Off costs nothing: no timer, no watch, and windows never made stay unmade.
        placed_ = false;
        watch(false);
        if (upper_.isLoaded()) upper_.Hide();
        if (lower_.isLoaded()) lower_.Hide();
        return;
    }
    const bool follows = following();
    if (!placed_ || follows) placed_ = takePointer() || placed_;
    if (!placed_) {
        // The desktop does not say where the pointer is: the middle of the primary screen.
        const auto screens = app_.platform().desktop.screens();
        if (screens.empty()) return;
        screen_ = screens.front();
        centre_ = screen_.top + screen_.height / 2;
        placed_ = true;
    }
    upper_.paint();
    if (lower_.isLoaded()) lower_.paint();
    layout();
    watch(follows);
}

void ReadingRuler::watch(bool on) {
    platform::Input& input = app_.platform().input;
    if (on && !watching_) watching_ = input.watchPointer(true);
    if (!on && watching_) {
        input.watchPointer(false);
        watching_ = false;
    }
    if (upper_.isLoaded() || (on && !watching_)) upper_.Timer1.setEnabled(on && !watching_);
}

void ReadingRuler::step(int direction) {
    if (!placed_ || !stepping()) return;
    centre_ += direction * app_.model().get(kRulerHeight);
    layout();
}

bool ReadingRuler::takePointer() {
    const auto at = app_.platform().input.tryPointerPosition();
    return at && takePointer(*at);
}

// The screen the pointer is on. Scaled, a place on a screen's last row or column
// can round to one past it (1279 at 2x is 639.5, told as 640): the nearest screen.
bool ReadingRuler::takePointer(platform::Point at) {
    const auto screens = app_.platform().desktop.screens();
    const auto outside = [](int v, int from, int length) {
        return v < from ? from - v : std::max(0, v - (from + length - 1));
    };
    const platform::Rect* on = nullptr;
    int nearest = 0;
    for (const platform::Rect& s : screens) {
        if (s.width <= 0 || s.height <= 0) continue;
        const int distance = outside(at.x, s.left, s.width) + outside(at.y, s.top, s.height);
        if (on == nullptr || distance < nearest) {
            on = &s;
            nearest = distance;
        }
    }
    if (on == nullptr) return false;
    screen_ = *on;
    centre_ = std::clamp(at.y, on->top, on->top + on->height - 1);
    return true;
}

void ReadingRuler::pointerMoved(platform::Point at) {
    if (watching_) moveTo(at);
}

void ReadingRuler::follow() {
    if (const auto at = app_.platform().input.tryPointerPosition()) moveTo(*at);
}

// One move of the windows for each place the pointer is told at, and none where the strip stays.
void ReadingRuler::moveTo(platform::Point at) {
    const platform::Rect was = screen_;
    const int centre = centre_;
    if (takePointer(at) && (centre_ != centre || !(screen_ == was))) layout();
}

// The strip stays whole on its screen; a light box tints what lies above and below it.
void ReadingRuler::layout() {
    const int height = std::min(app_.model().get(kRulerHeight), screen_.height);
    const int bottom = screen_.top + screen_.height;
    const int top = std::clamp(centre_ - height / 2, screen_.top, bottom - height);
    centre_ = top + height / 2;
    const bool lightBox = app_.model().get(kRulerLightBox);
    const double tpp = app_.twipsPerPixelX();
    const auto place = [tpp, this](RulerPane& pane, int from, int to) {
        if (to <= from) {
            if (pane.isLoaded()) pane.Hide();
            return;
        }
        pane.Move(static_cast<float>(screen_.left * tpp), static_cast<float>(from * tpp),
                  static_cast<float>(screen_.width * tpp), static_cast<float>((to - from) * tpp));
        if (!pane.Visible()) pane.Show();
    };
    if (lightBox) {
        place(upper_, screen_.top, top);
        place(lower_, top + height, bottom);
    } else {
        place(upper_, top, top + height);
        place(lower_, 0, 0);
    }
}

}  // namespace velmora::tools
