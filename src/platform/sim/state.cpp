#include "platform/sim/state.h"

#include <algorithm>

namespace velmora::platform::sim {

FrameMetrics frameOf(BorderStyle border) {
    switch (border) {
        case BorderStyle::Sizable:
            return {8, 31, 8, 8};
        case BorderStyle::FixedSingle:
        case BorderStyle::FixedDialog:
            return {3, 26, 3, 3};
        case BorderStyle::None:
            return {};
    }
    return {};
}

Size SimWindow::client() const {
    const FrameMetrics f = frameOf(spec.border);
    return {std::max(0, rect.width - f.left - f.right), std::max(0, rect.height - f.top - f.bottom)};
}

void State::log(Call call, std::vector<long long> args, std::vector<std::string> texts) {
    calls.push_back({call, std::move(args), std::move(texts)});
}

void State::send(const Event& event) {
    if (sink != nullptr) sink->onEvent(event);
}

SimWindow* State::window(Handle handle) {
    const auto it = windows.find(handle);
    return it == windows.end() || !it->second.alive ? nullptr : &it->second;
}

SimControl* State::control(Handle handle) {
    const auto it = controls.find(handle);
    return it == controls.end() || !it->second.alive ? nullptr : &it->second;
}

SimWindow& State::windowOrBlank(Handle handle) {
    SimWindow* w = window(handle);
    return w != nullptr ? *w : (blankWindow_ = SimWindow{});
}

SimControl& State::controlOrBlank(Handle handle) {
    SimControl* c = control(handle);
    return c != nullptr ? *c : (blankControl_ = SimControl{});
}

void State::toFront(Handle handle) {
    const SimWindow* w = window(handle);
    if (w == nullptr) return;
    zOrder.erase(std::remove(zOrder.begin(), zOrder.end(), handle), zOrder.end());
    auto at = zOrder.begin();
    if (!w->topmost) {
        while (at != zOrder.end() && windows[*at].topmost) ++at;
    }
    zOrder.insert(at, handle);
}

void State::applyRect(SimWindow& w, Rect rect, bool byPerson) {
    if (w.spec.border != BorderStyle::None) {
        rect.width = std::max(rect.width, kMinimumWindow.width);
        rect.height = std::max(rect.height, kMinimumWindow.height);
    }
    // Like a real window system, coordinates stay within 16 bits.
    rect.left = std::clamp(rect.left, -32768, 32767);
    rect.top = std::clamp(rect.top, -32768, 32767);
    rect.width = std::min(rect.width, 32767);
    rect.height = std::min(rect.height, 32767);
    const bool resized = rect.width != w.rect.width || rect.height != w.rect.height;
    const bool moved = rect.left != w.rect.left || rect.top != w.rect.top;
    w.rect = rect;
    const Handle handle = w.handle;
    if (resized) send({EventKind::Resize, handle});
    if (moved && byPerson) send({EventKind::Moved, handle});
}

}  // namespace velmora::platform::sim
