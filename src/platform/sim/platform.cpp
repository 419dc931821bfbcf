#include "platform/sim/platform.h"

#include <algorithm>
#include <cctype>

namespace velmora::platform::sim {

namespace {
constexpr Handle kDefaultIcon = 0x7F00;
constexpr Size kMinimumCaptionWindow{136, 39};
constexpr int kDefaultPosition = 26;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
}  // namespace

FrameMetrics frameOf(BorderStyle border) {
    switch (border) {
        case BorderStyle::Sizable:
            return {8, 31, 8, 8};
        case BorderStyle::FixedSingle:
        case BorderStyle::FixedDialog:
            return {3, 26, 3, 3};
    }
    return {};
}

Size SimWindow::client() const {
    const FrameMetrics f = frameOf(spec.border);
    return {std::max(0, rect.width - f.left - f.right), std::max(0, rect.height - f.top - f.bottom)};
}

std::string MemoryStore::get(const std::string& app, const std::string& section, const std::string& key) {
    const auto it = values.find({app, section, key});
    return it == values.end() ? std::string{} : it->second;
}

bool MemoryStore::save(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) {
    if (failWrites) return false;
    ++writes;
    values[{app, section, key}] = value;
    return true;
}

void MemoryStore::set(const std::string& key, const std::string& value) { values[{"velmora", "config", key}] = value; }

std::optional<std::string> MemoryStore::value(const std::string& key) const {
    const auto it = values.find({"velmora", "config", key});
    if (it == values.end()) return std::nullopt;
    return it->second;
}

SimPlatform::SimPlatform() = default;

Handle SimPlatform::newHandle() {
    next_ += 4;
    return next_;
}

void SimPlatform::log(std::string name, std::vector<long long> args, std::vector<std::string> texts) {
    calls_.push_back({std::move(name), std::move(args), std::move(texts)});
}

void SimPlatform::raiseIfFailing(const std::string& name) {
    const auto it = failing_.find(name);
    if (it == failing_.end()) return;
    RuntimeError error = it->second;
    failing_.erase(it);
    throw error;
}

void SimPlatform::failNextCall(const std::string& name, RuntimeError error) {
    failing_.insert_or_assign(name, std::move(error));
}

void SimPlatform::send(const Event& event) {
    if (sink_ != nullptr) sink_->onEvent(event);
}

void SimPlatform::quit(int exitCode) {
    quitRequested_ = true;
    quitCode_ = exitCode;
}

Size SimPlatform::minimumSize(const SimWindow& w) const {
    (void)w;
    return kMinimumCaptionWindow;
}

Handle SimPlatform::createWindow(const WindowSpec& spec) {
    SimWindow w;
    w.handle = newHandle();
    w.spec = spec;
    w.caption = spec.caption;
    w.backColor = spec.backColor;
    w.icon = spec.icons.empty() ? kDefaultIcon : newHandle();
    const FrameMetrics f = frameOf(spec.border);
    Rect r{kDefaultPosition, kDefaultPosition, spec.clientSize.width + f.left + f.right,
           spec.clientSize.height + f.top + f.bottom};
    if (spec.clientRect) {
        r.left = spec.clientRect->left - f.left;
        r.top = spec.clientRect->top - f.top;
    }
    const Size min = minimumSize(w);
    r.width = std::max(r.width, min.width);
    r.height = std::max(r.height, min.height);
    w.rect = r;
    windows_[w.handle] = w;
    zOrder_.push_back(w.handle);
    log("CreateWindow", {w.handle}, {spec.name});
    return w.handle;
}

void SimPlatform::destroyWindow(Handle handle) {
    SimWindow* w = window(handle);
    if (w == nullptr) return;
    w->alive = false;
    w->visible = false;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), handle), zOrder_.end());
    for (auto& [h, c] : controls_) {
        if (c.window == handle) c.alive = false;
    }
    for (auto it = timers_.begin(); it != timers_.end();) {
        it = it->second.window == handle ? timers_.erase(it) : std::next(it);
    }
    log("DestroyWindow", {handle}, {w->spec.name});
}

SimWindow* SimPlatform::window(Handle handle) {
    const auto it = windows_.find(handle);
    return it == windows_.end() || !it->second.alive ? nullptr : &it->second;
}

SimWindow* SimPlatform::windowNamed(const std::string& name) {
    for (auto& [h, w] : windows_) {
        if (w.alive && w.spec.name == name) return &w;
    }
    return nullptr;
}

SimControl* SimPlatform::control(Handle handle) {
    const auto it = controls_.find(handle);
    return it == controls_.end() || !it->second.alive ? nullptr : &it->second;
}

SimControl* SimPlatform::control(const std::string& windowName, const std::string& controlName) {
    const SimWindow* w = windowNamed(windowName);
    if (w == nullptr) return nullptr;
    for (auto& [h, c] : controls_) {
        if (c.alive && c.window == w->handle && c.spec.name == controlName) return &c;
    }
    return nullptr;
}

Rect SimPlatform::windowRect(Handle handle) {
    const SimWindow* w = window(handle);
    return w == nullptr ? Rect{} : w->rect;
}

void SimPlatform::applyRect(SimWindow& w, Rect rect, bool notify) {
    const Size min = minimumSize(w);
    rect.width = std::max(rect.width, min.width);
    rect.height = std::max(rect.height, min.height);
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
    if (moved && notify) send({EventKind::Moved, handle});
}

void SimPlatform::setWindowRect(Handle handle, const Rect& rect) {
    SimWindow* w = window(handle);
    if (w != nullptr) applyRect(*w, rect, false);
}

Size SimPlatform::clientSize(Handle handle) {
    const SimWindow* w = window(handle);
    return w == nullptr ? Size{} : w->client();
}

bool SimPlatform::isVisible(Handle handle) {
    const SimWindow* w = window(handle);
    return w != nullptr && w->visible;
}

void SimPlatform::setVisible(Handle handle, bool visible) {
    SimWindow* w = window(handle);
    if (w == nullptr) return;
    w->visible = visible;
    if (visible) toFront(handle);
}

void SimPlatform::setCaption(Handle handle, const std::string& caption) {
    if (SimWindow* w = window(handle)) w->caption = caption;
}

void SimPlatform::setBackColor(Handle handle, Color color) {
    if (SimWindow* w = window(handle)) w->backColor = color;
}

int SimPlatform::windowState(Handle handle) {
    const SimWindow* w = window(handle);
    return w == nullptr ? 0 : w->state;
}

void SimPlatform::setWindowState(Handle handle, int state) {
    if (SimWindow* w = window(handle)) w->state = state;
}

void SimPlatform::toFront(Handle handle) {
    const SimWindow* w = window(handle);
    if (w == nullptr) return;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), handle), zOrder_.end());
    // A normal window goes to the front of the normal ones, below every topmost window.
    auto at = zOrder_.begin();
    if (!w->topmost) {
        while (at != zOrder_.end() && windows_[*at].topmost) ++at;
    }
    zOrder_.insert(at, handle);
}

void SimPlatform::bringToFront(Handle handle) { toFront(handle); }

bool SimPlatform::isAbove(Handle upper, Handle lower) const {
    const auto a = std::find(zOrder_.begin(), zOrder_.end(), upper);
    const auto b = std::find(zOrder_.begin(), zOrder_.end(), lower);
    return a != zOrder_.end() && b != zOrder_.end() && a < b;
}

Handle SimPlatform::windowIcon(Handle handle) {
    const SimWindow* w = window(handle);
    return w == nullptr ? 0 : w->icon;
}

Handle SimPlatform::createControl(Handle parent, const ControlSpec& spec) {
    SimControl c;
    c.handle = newHandle();
    c.parent = parent;
    c.window = parent;
    if (const SimControl* container = control(parent)) c.window = container->window;
    c.spec = spec;
    c.rect = spec.rect;
    c.text = spec.text;
    c.backColor = spec.backColor;
    if (spec.kind == ControlKind::PictureBox) c.dc = newHandle();
    controls_[c.handle] = c;
    return c.handle;
}

void SimPlatform::setControlRect(Handle handle, const Rect& rect) {
    if (SimControl* c = control(handle)) c->rect = rect;
}

void SimPlatform::setControlText(Handle handle, const std::string& text) {
    if (SimControl* c = control(handle)) c->text = text;
}

std::string SimPlatform::controlText(Handle handle) {
    const SimControl* c = control(handle);
    return c == nullptr ? std::string{} : c->text;
}

void SimPlatform::setControlBackColor(Handle handle, Color color) {
    if (SimControl* c = control(handle)) c->backColor = color;
}

void SimPlatform::setCheckValue(Handle handle, int value) {
    if (SimControl* c = control(handle)) c->value = value;
}

int SimPlatform::checkValue(Handle handle) {
    const SimControl* c = control(handle);
    return c == nullptr ? 0 : c->value;
}

Handle SimPlatform::pictureDC(Handle handle) {
    const SimControl* c = control(handle);
    return c == nullptr ? 0 : c->dc;
}

Handle SimPlatform::createTimer(Handle windowHandle, int intervalMs) {
    Timer t{newHandle(), windowHandle, intervalMs, now_ + intervalMs};
    timers_[t.handle] = t;
    return t.handle;
}

void SimPlatform::destroyTimer(Handle timer) { timers_.erase(timer); }

int SimPlatform::liveTimers() const { return static_cast<int>(timers_.size()); }

std::optional<int> SimPlatform::popupMenu(Handle owner, const std::vector<MenuItem>& items) {
    menus_.push_back({owner, items});
    if (menuAnswers_.empty()) return std::nullopt;
    const auto answer = menuAnswers_.front();
    menuAnswers_.pop_front();
    return answer;
}

int SimPlatform::messageBox(Handle owner, const std::string& text, const std::string& title) {
    messageBoxes_.push_back({owner, text, title});
    if (boxAnswers_.empty()) return 1;
    auto action = std::move(boxAnswers_.front());
    boxAnswers_.pop_front();
    return action(messageBoxes_.back());
}

void SimPlatform::queueMessageBoxAnswer(int answer) {
    boxAnswers_.emplace_back([answer](const SimMessageBox&) { return answer; });
}

void SimPlatform::queueMessageBoxAction(std::function<int(const SimMessageBox&)> action) {
    boxAnswers_.push_back(std::move(action));
}

void SimPlatform::queueMenuChoice(std::optional<int> index) { menuAnswers_.push_back(index); }

void SimPlatform::clipboardClear() { clipboard_.reset(); }
void SimPlatform::clipboardSetText(const std::string& text) { clipboard_ = text; }

void SimPlatform::setScreen(Size size, double twipsPerPixel, std::vector<Rect> workAreas) {
    screen_ = size;
    twipsPerPixel_ = twipsPerPixel;
    workAreas_ = std::move(workAreas);
}

std::string SimPlatform::environment(const std::string& name) {
    const auto it = environment_.find(name);
    return it == environment_.end() ? std::string{} : it->second;
}

void SimPlatform::addFile(const std::string& path) { files_.insert(lower(path)); }

bool SimPlatform::fileExists(const std::string& path) { return files_.count(lower(path)) != 0; }

bool SimPlatform::startProgram(const std::string& path, int showStyle) {
    log("Shell", {showStyle}, {path});
    if (!startSucceeds_) return false;
    started_.emplace_back(path, showStyle);
    return true;
}

bool SimPlatform::becomePrimaryInstance() {
    log("BecomePrimaryInstance", {});
    return !anotherInstance_;
}

bool SimPlatform::writeStartupEntry(const std::string& exePath) {
    log("WriteStartupEntry", {}, {exePath});
    startupEntry_ = exePath;
    return true;
}

bool SimPlatform::removeStartupEntry() {
    log("RemoveStartupEntry", {});
    const bool had = startupEntry_.has_value();
    startupEntry_.reset();
    return had;
}

long SimPlatform::getWindowLong(Handle handle, int index) {
    log("GetWindowLongA", {handle, index});
    raiseIfFailing("GetWindowLongA");
    const SimWindow* w = window(handle);
    if (w == nullptr || index != win::GWL_EXSTYLE) return 0;
    return w->exStyle;
}

long SimPlatform::setWindowLong(Handle handle, int index, long value) {
    log("SetWindowLongA", {handle, index, value});
    raiseIfFailing("SetWindowLongA");
    SimWindow* w = window(handle);
    if (w == nullptr || index != win::GWL_EXSTYLE) return 0;
    const long old = w->exStyle;
    w->exStyle = value;
    if ((value & win::WS_EX_LAYERED) == 0) w->layered = false;
    return old;
}

bool SimPlatform::setLayeredWindowAttributes(Handle handle, Color key, std::uint8_t alpha, unsigned flags) {
    log("SetLayeredWindowAttributes", {handle, key, alpha, flags});
    raiseIfFailing("SetLayeredWindowAttributes");
    SimWindow* w = window(handle);
    if (w == nullptr || (w->exStyle & win::WS_EX_LAYERED) == 0) return false;
    w->layered = true;
    w->layeredKey = key;
    w->alpha = alpha;
    w->layeredFlags = flags;
    return true;
}

bool SimPlatform::setWindowPos(Handle handle, Handle insertAfter, int x, int y, int cx, int cy, unsigned flags) {
    log("SetWindowPos", {handle, insertAfter, x, y, cx, cy, flags});
    raiseIfFailing("SetWindowPos");
    SimWindow* w = window(handle);
    if (w == nullptr) return false;
    Rect r = w->rect;
    if ((flags & win::SWP_NOMOVE) == 0) r.left = x, r.top = y;
    if ((flags & win::SWP_NOSIZE) == 0) r.width = cx, r.height = cy;
    if (insertAfter == win::HWND_TOPMOST) w->topmost = true;
    if (insertAfter == win::HWND_NOTOPMOST) w->topmost = false;
    toFront(handle);
    applyRect(*w, r, false);
    return true;
}

bool SimPlatform::setForegroundWindow(Handle handle) {
    log("SetForegroundWindow", {handle});
    if (window(handle) == nullptr) return false;
    toFront(handle);
    return true;
}

bool SimPlatform::shellNotifyIcon(unsigned message, const NotifyIconData& data) {
    log("Shell_NotifyIconA",
        {message, data.window, data.id, data.flags, data.callbackMessage, static_cast<long long>(data.icon)},
        {data.tip});
    const auto key = std::make_pair(data.window, data.id);
    if (message == win::NIM_ADD) {
        if (trayIcons_.count(key) != 0) return false;
        trayIcons_[key] = data;
        return true;
    }
    if (message == win::NIM_DELETE) return trayIcons_.erase(key) != 0;
    return false;
}

Handle SimPlatform::shellExecute(Handle owner, const std::string& verb, const std::string& file,
                                 const std::string& parameters, const std::string& directory, int show) {
    log("ShellExecuteA", {owner, show}, {verb, file, parameters, directory});
    return 42;
}

Color SimPlatform::getPixel(Handle dc, int x, int y) {
    log("GetPixel", {dc, x, y});
    for (const auto& [h, c] : controls_) {
        if (!c.alive || c.dc != dc) continue;
        const Image& image = c.spec.picture;
        if (x < 0 || y < 0 || x >= image.width || y >= image.height) return win::CLR_INVALID;
        return image.at(x, y);
    }
    return win::CLR_INVALID;
}

void SimPlatform::setRegistryValue(const std::string& localMachineKey, const std::string& name, unsigned type,
                                   std::string data) {
    registry_[lower(localMachineKey)][lower(name)] = {type, std::move(data)};
}

long SimPlatform::regOpenKeyEx(Handle root, const std::string& subKey, unsigned options, unsigned access,
                               Handle& result) {
    log("RegOpenKeyExA", {root, options, access}, {subKey});
    constexpr long kNotFound = 2;
    if (root != win::HKEY_LOCAL_MACHINE || registry_.count(lower(subKey)) == 0) return kNotFound;
    result = newHandle();
    openKeys_[result] = lower(subKey);
    return 0;
}

long SimPlatform::regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                                  unsigned& size) {
    log("RegQueryValueExA", {key, size}, {name});
    constexpr long kNotFound = 2;
    constexpr long kInvalidHandle = 6;
    constexpr long kMoreData = 234;
    const auto open = openKeys_.find(key);
    if (open == openKeys_.end()) return kInvalidHandle;
    const auto& values = registry_[open->second];
    const auto it = values.find(lower(name));
    if (it == values.end()) return kNotFound;
    type = it->second.type;
    const auto needed = static_cast<unsigned>(it->second.data.size());
    if (needed > size) {
        size = needed;
        return kMoreData;
    }
    std::copy(it->second.data.begin(), it->second.data.end(), data.begin());
    size = needed;
    return 0;
}

long SimPlatform::regCloseKey(Handle key) {
    log("RegCloseKey", {key});
    return openKeys_.erase(key) != 0 ? 0 : 6;
}

std::vector<NativeCall> SimPlatform::callsNamed(const std::string& name) const {
    std::vector<NativeCall> found;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(found),
                 [&](const NativeCall& c) { return c.name == name; });
    return found;
}

void SimPlatform::click(Handle handle) {
    SimControl* c = control(handle);
    if (c == nullptr) return;
    // A check box toggles before it reports the click, as a real one does.
    if (c->spec.kind == ControlKind::CheckBox) c->value = c->value == 1 ? 0 : 1;
    send({EventKind::Click, handle});
}

void SimPlatform::click(const std::string& windowName, const std::string& controlName) {
    if (SimControl* c = control(windowName, controlName)) click(c->handle);
}

void SimPlatform::typeText(Handle handle, const std::string& text) {
    if (SimControl* c = control(handle)) c->text = text;
}

void SimPlatform::mouseDown(Handle handle, int button, int shift, int x, int y) {
    send({EventKind::MouseDown, handle, button, shift, x, y});
}

void SimPlatform::mouseMove(Handle handle, int button, int shift, int x, int y) {
    send({EventKind::MouseMove, handle, button, shift, x, y});
}

void SimPlatform::requestClose(Handle handle) {
    if (window(handle) != nullptr) send({EventKind::CloseRequest, handle});
}

void SimPlatform::userResize(Handle handle, int width, int height) {
    SimWindow* w = window(handle);
    if (w == nullptr) return;
    Rect r = w->rect;
    r.width = width;
    r.height = height;
    applyRect(*w, r, true);
}

void SimPlatform::userMove(Handle handle, int left, int top) {
    SimWindow* w = window(handle);
    if (w == nullptr) return;
    Rect r = w->rect;
    r.left = left;
    r.top = top;
    applyRect(*w, r, true);
}

void SimPlatform::minimise(Handle handle) {
    if (SimWindow* w = window(handle)) w->state = 1;
}

void SimPlatform::advance(int ms) {
    const long long end = now_ + ms;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
        }
        if (next == timers_.end()) break;
        now_ = next->second.due;
        next->second.due += next->second.interval;
        send({EventKind::TimerTick, next->first});
        if (quitRequested_) break;
    }
    now_ = end;
}

void SimPlatform::notifyIconCallback(Handle handle, unsigned mouseMessage) {
    Event e{EventKind::NotifyIcon, handle};
    e.code = mouseMessage;
    send(e);
}

void SimPlatform::anotherInstanceStarted() { send({EventKind::AnotherInstance, 0}); }

}  // namespace velmora::platform::sim
