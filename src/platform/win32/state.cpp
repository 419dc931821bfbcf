#include "platform/win32/state.h"

#include <algorithm>

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
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
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
    trayIcons.clear();
    for (auto& [handle, record] : windows) record->hwnd.reset();
    controls.clear();
    windows.clear();
    timers.clear();
    openKeys.clear();
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

}  // namespace velmora::platform::win32
