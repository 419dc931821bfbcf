#include "platform/win32/state.h"

#include <algorithm>
#include <cmath>

namespace velmora::platform::win32 {

namespace {

constexpr Handle kSyntheticBase = static_cast<Handle>(0x7E0000000000LL);

WindowClass registerClass(HINSTANCE instance, const char* name, HICON icon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return WindowClass(instance, wc);
}

}  // namespace

State::State(HINSTANCE module, const Options& tuning) : instance(module), options(tuning) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_LINK_CLASS | ICC_BAR_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&icc);
    {
        WindowDC screen(nullptr);
        dpi = std::max(1, GetDeviceCaps(screen.get(), LOGPIXELSX));
    }
    twipsPerPixel = 1440.0 / dpi;
    anotherInstanceMessage = RegisterWindowMessageA(kAnotherInstanceMessage);
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    formClass = registerClass(instance, kFormClass, LoadIconA(nullptr, IDI_APPLICATION));
    paneClass = registerClass(instance, kPaneClass, nullptr);
    hostClass = registerClass(instance, kHostClass, nullptr);
    // A hidden top-level window, not a message-only one: it owns windows and hears broadcasts.
    host.reset(CreateWindowExA(0, kHostClass, "Velmora", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, this));
}

State::~State() {
    sink = nullptr;
    annotations.reset();  // while the windows are there
    trayIcons.clear();
    for (auto& [handle, record] : windows) record->hwnd.reset();
    controls.clear();
    windows.clear();
    timers.clear();
    openKeys.clear();
    hotkeys.clear();  // while the window they are registered on is there
    host.reset();
}

void State::send(const Event& event) {
    if (sink != nullptr) sink->onEvent(event);
}

WindowRecord* State::window(Handle handle) {
    const auto it = windows.find(handle);
    return it == windows.end() ? nullptr : it->second.get();
}

ControlRecord* State::control(Handle handle) {
    const auto it = controls.find(handle);
    return it == controls.end() ? nullptr : it->second.get();
}

ControlRecord* State::controlById(HWND topLevel, int id) {
    for (auto& [handle, record] : controls) {
        if (record->topLevel != topLevel || record->hwnd == nullptr) continue;
        const bool button = record->spec.kind == ControlKind::CommandButton;
        if (id == IDOK       ? button && record->spec.isDefault
            : id == IDCANCEL ? button && record->spec.isCancel
                             : record->id == id) {
            return record.get();
        }
    }
    return nullptr;
}

Handle State::newSyntheticHandle() { return kSyntheticBase + ++lastSynthetic; }

std::string windowText(HWND hwnd) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool keepWholeNumber(ControlRecord& record) {
    const std::string text = windowText(record.hwnd);
    const std::string max = std::to_string(record.spec.wholeNumberMax);
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const std::string significant = text.substr(std::min(text.find_first_not_of('0'), text.size()));
    // Compared as digits: no number is too long to read.
    const bool inRange = significant.size() < max.size() || (significant.size() == max.size() && significant <= max);
    if (digits && inRange) return true;
    DWORD caret = 0;
    SendMessageA(record.hwnd, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    const std::string& last = record.lastText;
    const auto added = text.size() > last.size() ? text.size() - last.size() : 0;
    SetWindowTextA(record.hwnd, last.c_str());
    const auto at = static_cast<WPARAM>(std::min<std::size_t>(caret > added ? caret - added : 0, last.size()));
    SendMessageA(record.hwnd, EM_SETSEL, at, at);
    return false;
}

double zoomOf(State& state, HWND topLevel) {
    const WindowRecord* window = state.window(topLevel);
    if (window == nullptr || window->dpi <= 0 || state.dpi <= 0) return 1;
    return static_cast<double>(window->dpi) / state.dpi;
}

Rect zoomed(const Rect& r, double zoom) {
    if (zoom == 1) return r;
    const auto at = [zoom](int v) { return static_cast<int>(std::lround(v * zoom)); };
    return {at(r.left), at(r.top), at(r.width), at(r.height)};
}

Rect programRect(State& state, HWND hwnd) {
    Rect r = outerRect(hwnd);
    const double zoom = zoomOf(state, hwnd);
    if (zoom != 1) {
        r.width = static_cast<int>(std::lround(r.width / zoom));
        r.height = static_cast<int>(std::lround(r.height / zoom));
    }
    return r;
}

bool runningOnWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace velmora::platform::win32
