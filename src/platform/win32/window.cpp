// Windows of the Windows platform: the message loop, top-level windows, their
// geometry and states, and the timers that belong to them.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

DWORD styleOf(const WindowSpec& spec, DWORD& exStyle) {
    if (neverActivated(spec)) {
        // A tool window: no taskbar button and no place in Alt+Tab either.
        exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        return WS_POPUP | WS_CLIPCHILDREN;
    }
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    exStyle = WS_EX_CONTROLPARENT;
    switch (spec.border) {
        case BorderStyle::Sizable:
            style |= WS_THICKFRAME;
            break;
        case BorderStyle::FixedSingle:
            break;
        case BorderStyle::FixedDialog:
            exStyle |= WS_EX_DLGMODALFRAME;
            break;
        case BorderStyle::None:
            break;
    }
    if (spec.minButton) style |= WS_MINIMIZEBOX;
    if (spec.maxButton) style |= WS_MAXIMIZEBOX;
    return style;
}

const Image& nearestInSize(const std::vector<Image>& images, int size) {
    const Image* best = &images.front();
    for (const Image& image : images) {
        if (std::abs(image.width - size) < std::abs(best->width - size)) best = &image;
    }
    return *best;
}

int showCommandFor(int state, HWND hwnd) {
    if (state == 1) return SW_SHOWMINIMIZED;
    if (state == 2) return SW_SHOWMAXIMIZED;
    return IsIconic(hwnd) || IsZoomed(hwnd) ? SW_RESTORE : SW_SHOW;
}

// The same without activating the window; the system has no maximise that leaves the keyboard alone.
int quietShowCommandFor(int state, HWND hwnd) {
    if (state == 1) return SW_SHOWMINNOACTIVE;
    if (state == 2) return IsZoomed(hwnd) ? SW_SHOWNA : SW_SHOWMAXIMIZED;
    return IsIconic(hwnd) || IsZoomed(hwnd) ? SW_SHOWNOACTIVATE : SW_SHOWNA;
}

// From screen coordinates to the work-area coordinates of WINDOWPLACEMENT.
POINT workspaceOffset(const RECT& r) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &mi);
    return {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
}

// Minimised or maximised: the rectangle it comes back to changes, not what shows now.
void setRestoredRect(HWND hwnd, const Rect& rect) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(hwnd, &wp);
    RECT r{rect.left, rect.top, rect.left + rect.width, rect.top + rect.height};
    const POINT offset = workspaceOffset(r);
    OffsetRect(&r, -offset.x, -offset.y);
    wp.rcNormalPosition = r;
    SetWindowPlacement(hwnd, &wp);
}

// The density of the screen the window is on: GetDpiForWindow where the system has it
// (Windows 10), else the screen's as the program started.
int densityOf(const State& state, HWND hwnd) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    // Casts through a plain function pointer: GetProcAddress cannot know the signature.
    static const auto getDpi = reinterpret_cast<GetDpiForWindow>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const UINT dpi = getDpi != nullptr ? getDpi(hwnd) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : state.dpi;
}

// The window's own icons, in the sizes Windows draws; the system's where it has none.
void setIcons(WindowRecord& record, HWND hwnd) {
    if (!record.spec.icons.empty()) {
        record.bigIcon = iconFromImage(nearestInSize(record.spec.icons, GetSystemMetrics(SM_CXICON)));
        record.smallIcon = iconFromImage(nearestInSize(record.spec.icons, GetSystemMetrics(SM_CXSMICON)));
    }
    const HICON fallback = LoadIconA(nullptr, IDI_APPLICATION);
    record.icon = record.smallIcon ? record.smallIcon.get() : fallback;
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, asHandle(record.bigIcon ? record.bigIcon.get() : fallback));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, asHandle(record.icon));
}

class Win32Windows final : public OnState<Windows> {
public:
    using RoleOnState::RoleOnState;

    void setSink(EventSink* sink) override { s_.sink = sink; }

    int run() override {
        MSG msg{};
        for (;;) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) return static_cast<int>(msg.wParam);
            if (got == -1) return 1;
            // Tab, Enter, Escape and mnemonics work in every window, as in a dialog.
            const HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
            if (root != nullptr && s_.window(root) != nullptr && IsDialogMessageA(root, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    void quit(int exitCode) override { PostQuitMessage(exitCode); }

    Handle createWindow(const WindowSpec& spec) override {
        auto record = std::make_unique<WindowRecord>();
        record->spec = spec;
        record->backBrush.reset(CreateSolidBrush(spec.backColor));
        DWORD exStyle = 0;
        const DWORD style = styleOf(spec, exStyle);
        RECT r{0, 0, spec.clientSize.width, spec.clientSize.height};
        if (spec.clientRect) OffsetRect(&r, spec.clientRect->left, spec.clientRect->top);
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
        const int x = spec.clientRect ? static_cast<int>(r.left) : CW_USEDEFAULT;
        const int y = spec.clientRect ? static_cast<int>(r.top) : CW_USEDEFAULT;
        // An owned window has no taskbar button; the hidden host owns those that want none.
        const HWND owner = spec.showInTaskbar && !neverActivated(spec) ? nullptr : s_.host.get();
        record->hwnd.reset(CreateWindowExA(exStyle, kFormClass, spec.caption.c_str(), style, x, y, r.right - r.left,
                                           r.bottom - r.top, owner, nullptr, s_.instance, &s_));
        if (!record->hwnd) return 0;
        const HWND hwnd = record->hwnd.get();
        record->dpi = densityOf(s_, hwnd);
        // Made on a screen of another density than the program's: its client area zoomed.
        if (record->dpi != s_.dpi && s_.dpi > 0) {
            RECT outer{};
            RECT client{};
            GetWindowRect(hwnd, &outer);
            GetClientRect(hwnd, &client);
            const Rect size = zoomed({0, 0, spec.clientSize.width, spec.clientSize.height},
                                     static_cast<double>(record->dpi) / s_.dpi);
            SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left - client.right + size.width,
                         outer.bottom - outer.top - client.bottom + size.height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        setIcons(*record, hwnd);
        WindowRecord& kept = *(s_.windows[asHandle(hwnd)] = std::move(record));
        const Rect told = programRect(s_, hwnd);
        kept.lastSize = {told.width, told.height};
        return asHandle(hwnd);
    }

    void destroyWindow(Handle handle) override {
        auto node = s_.windows.extract(handle);
        if (node.empty()) return;
        const HWND hwnd = asHwnd(handle);
        std::vector<std::unique_ptr<ControlRecord>> gone;
        for (auto it = s_.controls.begin(); it != s_.controls.end();) {
            if (it->second->topLevel == hwnd) {
                gone.push_back(std::move(it->second));
                it = s_.controls.erase(it);
            } else {
                ++it;
            }
        }
        std::erase_if(s_.timers, [hwnd](const auto& entry) { return entry.second.window == hwnd; });
        // An icon whose window is gone could only be a ghost in the notification area.
        std::erase_if(s_.trayIcons, [hwnd](const auto& entry) { return entry.first.first == hwnd; });
        for (const auto& record : gone) forgetAnnotations(s_, *record);
        // The window and its child windows go first; their fonts, brushes and DCs after.
        node.mapped()->hwnd.reset();
    }

    Rect windowRect(Handle handle) override {
        return s_.window(handle) == nullptr ? Rect{} : programRect(s_, asHwnd(handle));
    }

    void setWindowRect(Handle handle, const Rect& asked) override {
        const WindowRecord* record = s_.window(handle);
        if (record == nullptr) return;
        const HWND hwnd = asHwnd(handle);
        // Only a window with a frame has a size below which it cannot be dragged.
        const bool framed = !neverActivated(record->spec);
        const double zoom = zoomOf(s_, hwnd);
        Rect rect = asked;
        rect.width = static_cast<int>(std::lround(rect.width * zoom));
        rect.height = static_cast<int>(std::lround(rect.height * zoom));
        rect.width = std::clamp(rect.width, framed ? GetSystemMetrics(SM_CXMINTRACK) : 0, SHRT_MAX);
        rect.height = std::clamp(rect.height, framed ? GetSystemMetrics(SM_CYMINTRACK) : 0, SHRT_MAX);
        rect.left = std::clamp(rect.left, SHRT_MIN, SHRT_MAX);
        rect.top = std::clamp(rect.top, SHRT_MIN, SHRT_MAX);
        const ProgramsOwn guard(s_.programmaticMoves);
        if (IsIconic(hwnd) || IsZoomed(hwnd)) {
            setRestoredRect(hwnd, rect);
            reportResize(s_, hwnd);
            return;
        }
        SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    bool isVisible(Handle handle) override { return s_.window(handle) != nullptr && IsWindowVisible(asHwnd(handle)); }

    void setVisible(Handle handle, bool visible) override {
        WindowRecord* record = s_.window(handle);
        if (record == nullptr) return;
        const HWND hwnd = asHwnd(handle);
        if (!visible) {
            ShowWindow(hwnd, SW_HIDE);
            return;
        }
        if (neverActivated(record->spec)) {
            // The keyboard stays where the person is working.
            ShowWindow(hwnd, SW_SHOWNOACTIVATE);
            return;
        }
        // A panel beside the tint: its link would take the Return meant for the person's window.
        if (!record->spec.activateOnShow) return showWithoutActivating(handle);
        const bool wasVisible = IsWindowVisible(hwnd);
        const int state = record->pendingState.value_or(windowState(handle));
        record->pendingState.reset();
        ShowWindow(hwnd, showCommandFor(state, hwnd));
        if (state == 1) return;
        // Showing a window that is already there brings it to the front, as a first showing does;
        // either way it takes the keyboard, as far as the system lets a program take it.
        if (wasVisible) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(hwnd);
    }

    // Shown and raised as setVisible does, in the state it is to have, without being activated.
    void showWithoutActivating(Handle handle) override {
        WindowRecord* record = s_.window(handle);
        if (record == nullptr) return;
        const HWND hwnd = asHwnd(handle);
        const int state = record->pendingState.value_or(windowState(handle));
        record->pendingState.reset();
        ShowWindow(hwnd, quietShowCommandFor(state, hwnd));
        if (state != 1) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    void setCaption(Handle handle, const std::string& caption) override {
        if (s_.window(handle) != nullptr) SetWindowTextA(asHwnd(handle), caption.c_str());
    }

    void setBackColor(Handle handle, Color color) override {
        WindowRecord* record = s_.window(handle);
        if (record == nullptr) return;
        record->spec.backColor = color;
        record->backBrush.reset(CreateSolidBrush(color));
        RedrawWindow(asHwnd(handle), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

    int windowState(Handle handle) override {
        const WindowRecord* record = s_.window(handle);
        if (record == nullptr) return 0;
        const HWND hwnd = asHwnd(handle);
        if (record->pendingState && !IsWindowVisible(hwnd)) return *record->pendingState;
        if (IsIconic(hwnd)) return 1;
        if (IsZoomed(hwnd)) return 2;
        return 0;
    }

    void setWindowState(Handle handle, int state) override {
        WindowRecord* record = s_.window(handle);
        if (record == nullptr) return;
        const HWND hwnd = asHwnd(handle);
        // A hidden window takes the state when it is next shown; ShowWindow would show it now.
        if (!IsWindowVisible(hwnd)) {
            record->pendingState = state;
        } else if (state == 1) {
            ShowWindow(hwnd, SW_MINIMIZE);
        } else if (state == 2) {
            ShowWindow(hwnd, SW_MAXIMIZE);
        } else if (IsIconic(hwnd) || IsZoomed(hwnd)) {
            ShowWindow(hwnd, SW_RESTORE);
        }
    }

    void bringToFront(Handle handle) override {
        if (s_.window(handle) == nullptr) return;
        SetWindowPos(asHwnd(handle), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    Handle windowIcon(Handle handle) override {
        const WindowRecord* record = s_.window(handle);
        return record == nullptr ? 0 : asHandle(record->icon);
    }

    Handle createTimer(Handle window, int intervalMs) override {
        if (s_.window(window) == nullptr) return 0;
        const UINT_PTR id = s_.nextTimerId++;
        if (SetTimer(asHwnd(window), id, static_cast<UINT>(std::max(intervalMs, 1)), nullptr) == 0) return 0;
        const Handle timer = s_.newSyntheticHandle();
        s_.timers[timer] = {asHwnd(window), id};
        return timer;
    }

    void destroyTimer(Handle timer) override {
        const auto it = s_.timers.find(timer);
        if (it == s_.timers.end()) return;
        KillTimer(it->second.window, it->second.id);
        s_.timers.erase(it);
    }
};

}  // namespace

Rect outerRect(HWND hwnd) {
    RECT r{};
    if (IsIconic(hwnd)) {
        // A minimised window reports where it will come back, not where its icon is.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(hwnd, &wp);
        r = wp.rcNormalPosition;
        const POINT offset = workspaceOffset(r);
        OffsetRect(&r, offset.x, offset.y);
    } else {
        GetWindowRect(hwnd, &r);
    }
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::unique_ptr<Windows> makeWindows(State& state) { return std::make_unique<Win32Windows>(state); }

}  // namespace velmora::platform::win32
