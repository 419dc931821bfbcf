// Windows, timers and the event loop of the simulated platform: the loop is the
// test itself, which delivers events and advances the clock.
#include <algorithm>

#include "platform/sim/state.h"
#include "platform/winapi.h"

namespace velmora::platform::sim {

namespace {

// Where a window without a position of its own appears, as the system places it.
constexpr int kDefaultPosition = 26;

struct SimWindows final : OnState<Windows> {
    using RoleOnState::RoleOnState;

    void setSink(EventSink* sink) override { s_.sink = sink; }
    int run() override { return s_.quitCode; }
    void quit(int exitCode) override {
        s_.quitRequested = true;
        s_.quitCode = exitCode;
    }

    Handle createWindow(const WindowSpec& spec) override {
        SimWindow w;
        w.handle = s_.newHandle();
        w.spec = spec;
        w.caption = spec.caption;
        w.backColor = spec.backColor;
        w.icon = spec.icons.empty() ? win::IDI_APPLICATION : s_.newHandle();
        const FrameMetrics f = frameOf(spec.border);
        Rect r{kDefaultPosition, kDefaultPosition, spec.clientSize.width + f.left + f.right,
               spec.clientSize.height + f.top + f.bottom};
        if (spec.clientRect) {
            r.left = spec.clientRect->left - f.left;
            r.top = spec.clientRect->top - f.top;
        }
        if (spec.border != BorderStyle::None) {
            r.width = std::max(r.width, kMinimumWindow.width);
            r.height = std::max(r.height, kMinimumWindow.height);
        }
        w.rect = r;
        s_.windows[w.handle] = w;
        s_.zOrder.push_back(w.handle);
        return w.handle;
    }

    void destroyWindow(Handle handle) override {
        SimWindow* w = s_.window(handle);
        if (w == nullptr) return;
        w->alive = false;
        w->visible = false;
        if (s_.active == handle) s_.active = 0;
        std::erase(s_.zOrder, handle);
        for (auto& [h, c] : s_.controls) {
            if (c.window == handle) c.alive = false;
        }
        std::erase_if(s_.timers, [handle](const auto& t) { return t.second.window == handle; });
    }

    Rect windowRect(Handle handle) override { return s_.windowOrBlank(handle).rect; }

    void setWindowRect(Handle handle, const Rect& rect) override {
        if (SimWindow* w = s_.window(handle)) s_.applyRect(*w, rect, false);
    }

    bool isVisible(Handle handle) override { return s_.windowOrBlank(handle).visible; }

    void setVisible(Handle handle, bool visible) override {
        SimWindow& w = s_.windowOrBlank(handle);
        w.visible = visible;
        if (visible) {
            s_.toFront(handle);
            if (w.spec.border != BorderStyle::None && w.spec.activateOnShow) s_.active = handle;
        } else if (s_.active == handle) {
            s_.active = 0;
        }
    }

    void showWithoutActivating(Handle handle) override {
        s_.windowOrBlank(handle).visible = true;
        s_.toFront(handle);
    }

    void setCaption(Handle handle, const std::string& caption) override { s_.windowOrBlank(handle).caption = caption; }
    void setBackColor(Handle handle, Color color) override { s_.windowOrBlank(handle).backColor = color; }
    int windowState(Handle handle) override { return s_.windowOrBlank(handle).state; }
    void setWindowState(Handle handle, int state) override { s_.windowOrBlank(handle).state = state; }
    void bringToFront(Handle handle) override { s_.toFront(handle); }
    Handle windowIcon(Handle handle) override { return s_.windowOrBlank(handle).icon; }

    Handle createTimer(Handle window, int intervalMs) override {
        if (s_.window(window) == nullptr || intervalMs <= 0) return 0;
        const State::Timer t{s_.newHandle(), window, intervalMs, s_.now + intervalMs};
        s_.timers[t.handle] = t;
        return t.handle;
    }

    void destroyTimer(Handle timer) override { s_.timers.erase(timer); }
};

}  // namespace

std::unique_ptr<Windows> makeWindows(State& state) { return std::make_unique<SimWindows>(state); }

}  // namespace velmora::platform::sim
