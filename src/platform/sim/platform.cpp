#include "platform/sim/platform.h"

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace velmora::platform::sim {

SimPlatform::SimPlatform()
    : Platform(*windowsRole, *controlsRole, *dialogsRole, *desktopRole, *nativeRole, *inputRole, *filterRole, store) {}

void SimPlatform::setScreen(Size size, double twipsPerPixel, std::vector<Rect> workAreas) {
    state.screen = size;
    state.twipsPerPixel = twipsPerPixel;
    Rect all{0, 0, size.width, size.height};
    for (const Rect& a : workAreas) {
        const int right = std::max(all.left + all.width, a.left + a.width);
        const int bottom = std::max(all.top + all.height, a.top + a.height);
        all.left = std::min(all.left, a.left);
        all.top = std::min(all.top, a.top);
        all.width = right - all.left;
        all.height = bottom - all.top;
    }
    state.desktopArea = all;
    state.screens = {{0, 0, size.width, size.height}};
    for (std::size_t i = 1; i < workAreas.size(); ++i) state.screens.push_back(workAreas[i]);
    state.workAreas = std::move(workAreas);
}

void SimPlatform::setNotificationAreaLate() {
    state.trayAvailable = false;
    state.trayLate = true;
}

void SimPlatform::notificationAreaAppears() {
    state.trayAvailable = true;
    if (std::exchange(state.watchingTray, false)) state.send({EventKind::NotificationAreaAppeared, 0});
}

void SimPlatform::notificationAreaWaitEnds() {
    if (std::exchange(state.watchingTray, false)) state.send({EventKind::NotificationAreaAbsent, 0});
}

void SimPlatform::addFile(const std::string& path) { state.files.insert(lowerCase(path)); }

void SimPlatform::setRegistryValue(const std::string& localMachineKey, const std::string& name, unsigned type,
                                   std::string data) {
    state.registry[lowerCase(localMachineKey)][lowerCase(name)] = {type, std::move(data)};
}

SimWindow* SimPlatform::windowNamed(const std::string& name) {
    for (auto& [h, w] : state.windows) {
        if (w.alive && w.spec.name == name) return &w;
    }
    return nullptr;
}

SimControl* SimPlatform::control(const std::string& windowName, const std::string& controlName) {
    const SimWindow* w = windowNamed(windowName);
    if (w == nullptr) return nullptr;
    for (auto& [h, c] : state.controls) {
        if (c.alive && c.window == w->handle && c.spec.name == controlName) return &c;
    }
    return nullptr;
}

bool SimPlatform::isAbove(Handle upper, Handle lower) const {
    const auto& z = state.zOrder;
    const auto a = std::find(z.begin(), z.end(), upper);
    const auto b = std::find(z.begin(), z.end(), lower);
    return a != z.end() && b != z.end() && a < b;
}

std::vector<NativeCall> SimPlatform::callsOf(Call call) const {
    std::vector<NativeCall> found;
    std::copy_if(state.calls.begin(), state.calls.end(), std::back_inserter(found),
                 [call](const NativeCall& c) { return c.call == call; });
    return found;
}

void SimPlatform::click(Handle handle) {
    SimControl* c = control(handle);
    if (c == nullptr) return;
    // A check box toggles before it reports the click, as a real one does.
    if (c->spec.kind == ControlKind::CheckBox) c->value = c->value == 1 ? 0 : 1;
    state.send({EventKind::Click, handle});
}

void SimPlatform::click(const std::string& windowName, const std::string& controlName) {
    if (SimControl* c = control(windowName, controlName)) click(c->handle);
}

void SimPlatform::typeText(Handle handle, const std::string& text) {
    SimControl* c = control(handle);
    if (c == nullptr) return;
    c->text = text;
    state.send({EventKind::Change, handle});
}

void SimPlatform::slide(Handle handle, int value) {
    SimControl* c = control(handle);
    if (c == nullptr) return;
    c->value = std::clamp(value, c->spec.minimum, c->spec.maximum);
    state.send({EventKind::Change, handle});
}

void SimPlatform::chooseInList(Handle handle, int index) {
    SimControl* c = control(handle);
    if (c == nullptr) return;
    c->value = index;
    state.send({EventKind::Change, handle});
}

void SimPlatform::movePointer(std::optional<Point> at) {
    state.pointer = at;
    if (!state.watchingPointer || !at) return;
    Event e{EventKind::PointerMoved, 0};
    e.x = at->x;
    e.y = at->y;
    state.send(e);
}

void SimPlatform::pressHotkey(const std::string& text) {
    const auto key = tryParseHotkey(text);
    for (const auto& [id, registered] : state.hotkeys) {
        if (key && registered == *key) {
            Event e{EventKind::Hotkey, 0};
            e.code = static_cast<unsigned>(id);
            return state.send(e);
        }
    }
}

void SimPlatform::holdHotkeyElsewhere(const std::string& text) {
    if (const auto key = tryParseHotkey(text)) state.heldElsewhere.push_back(*key);
}

void SimPlatform::makeHotkeyImpossible(const std::string& text) {
    if (const auto key = tryParseHotkey(text)) state.impossibleKeys.push_back(*key);
}

void SimPlatform::mouseDown(Handle handle, int button, int shift, int x, int y) {
    state.send({EventKind::MouseDown, handle, button, shift, x, y});
}

void SimPlatform::mouseMove(Handle handle, int button, int shift, int x, int y) {
    state.send({EventKind::MouseMove, handle, button, shift, x, y});
}

void SimPlatform::requestClose(Handle handle) {
    if (window(handle) != nullptr) state.send({EventKind::CloseRequest, handle});
}

void SimPlatform::pressEscape(Handle handle) {
    const SimWindow* w = window(handle);
    if (w == nullptr) return;
    for (const auto& [h, c] : state.controls) {
        if (c.alive && c.window == handle && c.spec.isCancel) return click(h);
    }
    if (w->spec.closeOnEscape) state.send({EventKind::CloseRequest, handle});
}

void SimPlatform::keyDown(Handle handle, unsigned key, int shift) {
    Event e{EventKind::KeyDown, handle, 0, shift};
    e.code = key;
    state.send(e);
}

void SimPlatform::userResize(Handle handle, int width, int height) {
    SimWindow* w = window(handle);
    if (w == nullptr) return;
    state.applyRect(*w, {w->rect.left, w->rect.top, width, height}, true);
}

void SimPlatform::userMove(Handle handle, int left, int top) {
    SimWindow* w = window(handle);
    if (w == nullptr) return;
    state.applyRect(*w, {left, top, w->rect.width, w->rect.height}, true);
}

void SimPlatform::minimise(Handle handle) {
    if (SimWindow* w = window(handle)) w->state = 1;
}

void SimPlatform::advance(int ms) {
    const long long end = state.now + ms;
    auto& timers = state.timers;
    for (;;) {
        auto next = timers.end();
        for (auto it = timers.begin(); it != timers.end(); ++it) {
            if (it->second.due <= end && (next == timers.end() || it->second.due < next->second.due)) next = it;
        }
        if (next == timers.end()) break;
        state.now = next->second.due;
        next->second.due += next->second.interval;
        state.send({EventKind::TimerTick, next->first});
        if (state.quitRequested) break;
    }
    state.now = end;
}

void SimPlatform::notifyIconCallback(Handle handle, unsigned mouseMessage) {
    Event e{EventKind::NotifyIcon, handle};
    e.code = mouseMessage;
    state.send(e);
}

void SimPlatform::anotherInstanceStarted(const std::string& command) {
    state.commands.push_back(command);
    state.send({EventKind::AnotherInstance, 0});
}

void SimPlatform::queueMessageBoxAnswer(int answer) {
    state.boxAnswers.emplace_back([answer](const SimMessageBox&) { return answer; });
}

void SimPlatform::queueMessageBoxAction(std::function<int(const SimMessageBox&)> action) {
    state.boxAnswers.push_back(std::move(action));
}

void SimPlatform::queueMenuChoice(std::optional<int> index) {
    state.menuAnswers.push_back([index](const std::vector<MenuItem>&) { return index; });
}

namespace {
// The items as the platform numbers them: depth first.
void flatten(const std::vector<MenuItem>& items, std::vector<const MenuItem*>& all) {
    for (const MenuItem& item : items) {
        all.push_back(&item);
        flatten(item.items, all);
    }
}
}  // namespace

void SimPlatform::queueMenuChoiceNamed(const std::string& caption) {
    state.menuAnswers.push_back([caption](const std::vector<MenuItem>& items) -> std::optional<int> {
        std::vector<const MenuItem*> all;
        flatten(items, all);
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i]->caption == caption) return static_cast<int>(i);
        }
        return std::nullopt;
    });
}

}  // namespace velmora::platform::sim
