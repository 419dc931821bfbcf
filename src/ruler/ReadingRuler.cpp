#include "ruler/ReadingRuler.h"

#include <algorithm>

#include "app/Application.h"
#include "app/Module1.h"
#include "app/tools.h"
#include "overlay/FrmMain.h"
#include "platform/winapi.h"

namespace velmora {

namespace win = platform::win;

namespace {
// About thirty times a second: a strip that keeps up with reading, no faster.
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
    Module1::setZOrder(app_, hWnd(), win::HWND_TOPMOST);
    paint();
}

void RulerPane::paint() {
    const platform::Color tint = app_.form<FrmMain>().bXColor;
    setBackColor(tint);
    const auto alpha = static_cast<std::int16_t>(tools::storedAlpha(app_.store().get(keys::alpha)));
    Module1::MakeTranslucent(app_, hWnd(), tint, alpha, static_cast<std::uint8_t>(win::LWA_ALPHA));
    Module1::SetClickThrough(app_, hWnd(), true);
}

ReadingRuler::ReadingRuler(Application& app) : app_(app), upper_(app, "frmRuler"), lower_(app, "frmRuler2") {
    upper_.Timer1.Tick = [this] { follow(); };
}

void ReadingRuler::apply() {
    Store& store = app_.store();
    if (!tools::storedSwitch(store.get(keys::ruler), false)) {
        // Off costs nothing: no timer, and windows never made stay unmade.
        placed_ = false;
        if (upper_.isLoaded()) {
            upper_.Timer1.setEnabled(false);
            upper_.Hide();
        }
        if (lower_.isLoaded()) lower_.Hide();
        return;
    }
    const bool following = tools::storedSwitch(store.get(keys::rulerfollow), true);
    if (!placed_ || following) placed_ = takePointer() || placed_;
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
    upper_.Timer1.setEnabled(following);
}

void ReadingRuler::toggle() {
    const bool on = !tools::storedSwitch(app_.store().get(keys::ruler), false);
    app_.saveSetting(keys::ruler, on ? " 1" : " 0");
    apply();
}

void ReadingRuler::step(int direction) {
    Store& store = app_.store();
    if (!placed_ || !tools::storedSwitch(store.get(keys::ruler), false) ||
        tools::storedSwitch(store.get(keys::rulerfollow), true)) {
        return;
    }
    centre_ += direction * tools::storedRulerHeight(store.get(keys::rulerheight));
    layout();
}

bool ReadingRuler::takePointer() {
    const auto at = app_.platform().input.tryPointerPosition();
    if (!at) return false;
    const auto screens = app_.platform().desktop.screens();
    const auto on = std::find_if(screens.begin(), screens.end(), [&](const platform::Rect& s) {
        return at->x >= s.left && at->x < s.left + s.width && at->y >= s.top && at->y < s.top + s.height;
    });
    if (on == screens.end()) return false;
    screen_ = *on;
    centre_ = at->y;
    return true;
}

void ReadingRuler::follow() {
    const platform::Rect was = screen_;
    const int centre = centre_;
    if (takePointer() && (centre_ != centre || !(screen_ == was))) layout();
}

// The strip stays whole on its screen; a light box tints what lies above and below it.
void ReadingRuler::layout() {
    const int height = std::min(tools::storedRulerHeight(app_.store().get(keys::rulerheight)), screen_.height);
    const int bottom = screen_.top + screen_.height;
    const int top = std::clamp(centre_ - height / 2, screen_.top, bottom - height);
    centre_ = top + height / 2;
    const bool lightBox = tools::storedSwitch(app_.store().get(keys::rulerstyle), false);
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

}  // namespace velmora
