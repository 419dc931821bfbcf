#include "platform/win32/state.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace velmora::platform::win32 {

namespace {

// Handles for what has no native window (shapes, lines, timers): far above any HWND.
constexpr Handle kSyntheticBase = static_cast<Handle>(0x7E0000000000LL);

Win32Platform* current = nullptr;
// The system's own procedures of the controls we listen to more closely.
WNDPROC originalEditProc = nullptr;
WNDPROC originalStaticProc = nullptr;

HWND asHwnd(Handle handle) { return reinterpret_cast<HWND>(handle); }
Handle asHandle(HWND hwnd) { return reinterpret_cast<Handle>(hwnd); }

int buttonMask(WPARAM keys) {
    return ((keys & MK_LBUTTON) != 0 ? 1 : 0) | ((keys & MK_RBUTTON) != 0 ? 2 : 0) | ((keys & MK_MBUTTON) != 0 ? 4 : 0);
}

int shiftMask(WPARAM keys) {
    return ((keys & MK_SHIFT) != 0 ? 1 : 0) | ((keys & MK_CONTROL) != 0 ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

// Our own moves and sizes are not the person's.
class ProgrammaticMove {
public:
    explicit ProgrammaticMove(int& depth) : depth_(depth) { ++depth_; }
    ~ProgrammaticMove() { --depth_; }
    ProgrammaticMove(const ProgrammaticMove&) = delete;
    ProgrammaticMove& operator=(const ProgrammaticMove&) = delete;

private:
    int& depth_;
};

WindowClass registerClass(HINSTANCE instance, const char* name, WNDPROC proc, HICON icon) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return WindowClass(instance, wc);
}

DWORD styleOf(const WindowSpec& spec, DWORD& exStyle) {
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
    }
    if (spec.minButton) style |= WS_MINIMIZEBOX;
    if (spec.maxButton) style |= WS_MAXIMIZEBOX;
    return style;
}

void subclass(HWND hwnd, WNDPROC proc, WNDPROC& original) {
    const auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    if (original == nullptr) original = previous;
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

// Converts between screen coordinates and the work-area coordinates of WINDOWPLACEMENT.
POINT workspaceOffset(const RECT& r) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &mi);
    return {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
}

}  // namespace

struct Win32Platform::WindowRecord {
    WindowSpec spec;
    Brush backBrush;
    Icon bigIcon;  // the window's own, in the sizes Windows draws
    Icon smallIcon;
    HICON icon = nullptr;             // the one the program is given: small, or the default
    std::optional<int> pendingState;  // asked while hidden; applied when shown
    Size lastSize;
    HWND lastFocus = nullptr;
    OwnedWindow hwnd;  // last, so it goes before what it paints with
};

struct Win32Platform::ControlRecord {
    Handle handle = 0;
    HWND hwnd = nullptr;  // none for shapes and lines; owned by its parent window
    HWND parent = nullptr;
    HWND topLevel = nullptr;
    int id = 0;
    ControlSpec spec;
    Rect rect;
    Brush backBrush;
    Font font;
    std::unique_ptr<PictureSurface> surface;
};

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance) {
    current = this;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    {
        WindowDC screen(nullptr);
        dpi_ = std::max(1, GetDeviceCaps(screen.get(), LOGPIXELSX));
    }
    twipsPerPixel_ = 1440.0 / dpi_;
    anotherInstanceMessage_ = RegisterWindowMessageA(kAnotherInstanceMessage);
    taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
    formClass_ = registerClass(instance_, kFormClass, windowProc, LoadIconA(nullptr, IDI_APPLICATION));
    paneClass_ = registerClass(instance_, kPaneClass, windowProc, nullptr);
    hostClass_ = registerClass(instance_, kHostClass, windowProc, nullptr);
    // A hidden top-level window, not a message-only one: it owns windows and hears broadcasts.
    host_.reset(
        CreateWindowExA(0, kHostClass, "Velmora", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr));
}

Win32Platform::~Win32Platform() {
    sink_ = nullptr;
    for (auto& [handle, record] : windows_) record->hwnd.reset();
    controls_.clear();
    windows_.clear();
    timers_.clear();
    trayIcons_.clear();
    openKeys_.clear();
    host_.reset();
    current = nullptr;
}

void Win32Platform::send(const Event& event) {
    if (sink_ != nullptr) sink_->onEvent(event);
}

int Win32Platform::run() {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        // Tab, Enter, Escape and mnemonics work in every window, as in a dialog.
        const HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root != nullptr && window(root) != nullptr && IsDialogMessageA(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Win32Platform::quit(int exitCode) { PostQuitMessage(exitCode); }

Win32Platform::WindowRecord* Win32Platform::window(Handle handle) {
    const auto it = windows_.find(handle);
    return it == windows_.end() ? nullptr : it->second.get();
}

Win32Platform::ControlRecord* Win32Platform::control(Handle handle) {
    const auto it = controls_.find(handle);
    return it == controls_.end() ? nullptr : it->second.get();
}

Win32Platform::ControlRecord* Win32Platform::controlById(HWND topLevel, int id) {
    for (auto& [handle, record] : controls_) {
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

HWND Win32Platform::topLevelOf(HWND hwnd) const { return GetAncestor(hwnd, GA_ROOT); }

HWND Win32Platform::parentWindowOf(Handle parent) const {
    if (windows_.count(parent) != 0) return asHwnd(parent);
    const auto it = controls_.find(parent);
    return it == controls_.end() ? nullptr : it->second->hwnd;
}

Handle Win32Platform::createWindow(const WindowSpec& spec) {
    auto record = std::make_unique<WindowRecord>();
    record->spec = spec;
    record->backBrush.reset(CreateSolidBrush(spec.backColor));
    if (!spec.icons.empty()) {
        record->bigIcon = iconFromImage(nearestInSize(spec.icons, GetSystemMetrics(SM_CXICON)));
        record->smallIcon = iconFromImage(nearestInSize(spec.icons, GetSystemMetrics(SM_CXSMICON)));
    }
    const HICON fallback = LoadIconA(nullptr, IDI_APPLICATION);
    const HICON big = record->bigIcon ? record->bigIcon.get() : fallback;
    record->icon = record->smallIcon ? record->smallIcon.get() : fallback;

    DWORD exStyle = 0;
    const DWORD style = styleOf(spec, exStyle);
    RECT r{0, 0, spec.clientSize.width, spec.clientSize.height};
    if (spec.clientRect) {
        r = {spec.clientRect->left, spec.clientRect->top, spec.clientRect->left + spec.clientSize.width,
             spec.clientRect->top + spec.clientSize.height};
    }
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int x = spec.clientRect ? static_cast<int>(r.left) : CW_USEDEFAULT;
    const int y = spec.clientRect ? static_cast<int>(r.top) : CW_USEDEFAULT;
    // An owned window has no taskbar button; the hidden host owns those that want none.
    const HWND owner = spec.showInTaskbar ? nullptr : host_.get();
    record->hwnd.reset(CreateWindowExA(exStyle, kFormClass, spec.caption.c_str(), style, x, y, r.right - r.left,
                                       r.bottom - r.top, owner, nullptr, instance_, nullptr));
    if (!record->hwnd) throw RuntimeError(7, "Out of memory");
    const HWND hwnd = record->hwnd.get();
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(record->icon));
    const Rect outer = iconicAwareRect(hwnd);
    record->lastSize = {outer.width, outer.height};
    windows_[asHandle(hwnd)] = std::move(record);
    return asHandle(hwnd);
}

void Win32Platform::destroyWindow(Handle handle) {
    auto node = windows_.extract(handle);
    if (node.empty()) return;
    const HWND hwnd = asHwnd(handle);
    std::vector<std::unique_ptr<ControlRecord>> gone;
    for (auto it = controls_.begin(); it != controls_.end();) {
        if (it->second->topLevel == hwnd) {
            gone.push_back(std::move(it->second));
            it = controls_.erase(it);
        } else {
            ++it;
        }
    }
    std::erase_if(timers_, [hwnd](const auto& entry) { return entry.second.window == hwnd; });
    // An icon whose window is gone could only be a ghost in the notification area.
    std::erase_if(trayIcons_, [hwnd](const auto& entry) { return entry.first.first == hwnd; });
    // The window and its child windows go first; their fonts, brushes and DCs after.
    node.mapped()->hwnd.reset();
}

Rect Win32Platform::iconicAwareRect(HWND hwnd) const {
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

Rect Win32Platform::windowRect(Handle handle) {
    if (window(handle) == nullptr) return {};
    return iconicAwareRect(asHwnd(handle));
}

void Win32Platform::setWindowRect(Handle handle, const Rect& asked) {
    if (window(handle) == nullptr) return;
    const HWND hwnd = asHwnd(handle);
    Rect rect = asked;
    rect.width = std::clamp(rect.width, GetSystemMetrics(SM_CXMINTRACK), SHRT_MAX);
    rect.height = std::clamp(rect.height, GetSystemMetrics(SM_CYMINTRACK), SHRT_MAX);
    rect.left = std::clamp(rect.left, SHRT_MIN, SHRT_MAX);
    rect.top = std::clamp(rect.top, SHRT_MIN, SHRT_MAX);
    ProgrammaticMove guard(programmaticMoves_);
    if (IsIconic(hwnd) || IsZoomed(hwnd)) {
        // Minimised or maximised: the place it comes back to changes.
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(hwnd, &wp);
        RECT r{rect.left, rect.top, rect.left + rect.width, rect.top + rect.height};
        const POINT offset = workspaceOffset(r);
        OffsetRect(&r, -offset.x, -offset.y);
        wp.rcNormalPosition = r;
        SetWindowPlacement(hwnd, &wp);
        handleSize(hwnd);
        return;
    }
    SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Size Win32Platform::clientSize(Handle handle) {
    RECT r{};
    if (window(handle) == nullptr || !GetClientRect(asHwnd(handle), &r)) return {};
    return {r.right, r.bottom};
}

bool Win32Platform::isVisible(Handle handle) { return window(handle) != nullptr && IsWindowVisible(asHwnd(handle)); }

void Win32Platform::setVisible(Handle handle, bool visible) {
    WindowRecord* record = window(handle);
    if (record == nullptr) return;
    const HWND hwnd = asHwnd(handle);
    if (!visible) {
        ShowWindow(hwnd, SW_HIDE);
        return;
    }
    const bool wasVisible = IsWindowVisible(hwnd);
    const int state = record->pendingState.value_or(windowState(handle));
    record->pendingState.reset();
    ShowWindow(hwnd, showCommandFor(state, hwnd));
    // Showing a window that is already there brings it to the front, as a first showing does.
    if (wasVisible && state != 1) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Win32Platform::setCaption(Handle handle, const std::string& caption) {
    if (window(handle) != nullptr) SetWindowTextA(asHwnd(handle), caption.c_str());
}

void Win32Platform::setBackColor(Handle handle, Color color) {
    WindowRecord* record = window(handle);
    if (record == nullptr) return;
    record->spec.backColor = color;
    record->backBrush.reset(CreateSolidBrush(color));
    RedrawWindow(asHwnd(handle), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

int Win32Platform::windowState(Handle handle) {
    const WindowRecord* record = window(handle);
    if (record == nullptr) return 0;
    const HWND hwnd = asHwnd(handle);
    if (record->pendingState && !IsWindowVisible(hwnd)) return *record->pendingState;
    if (IsIconic(hwnd)) return 1;
    if (IsZoomed(hwnd)) return 2;
    return 0;
}

void Win32Platform::setWindowState(Handle handle, int state) {
    WindowRecord* record = window(handle);
    if (record == nullptr) return;
    const HWND hwnd = asHwnd(handle);
    // A hidden window takes the state when it is next shown; ShowWindow would show it now.
    if (!IsWindowVisible(hwnd)) {
        record->pendingState = state;
        return;
    }
    if (state == 1) {
        ShowWindow(hwnd, SW_MINIMIZE);
    } else if (state == 2) {
        ShowWindow(hwnd, SW_MAXIMIZE);
    } else if (IsIconic(hwnd) || IsZoomed(hwnd)) {
        ShowWindow(hwnd, SW_RESTORE);
    }
}

void Win32Platform::bringToFront(Handle handle) {
    if (window(handle) != nullptr) {
        SetWindowPos(asHwnd(handle), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

Handle Win32Platform::windowIcon(Handle handle) {
    const WindowRecord* record = window(handle);
    return record == nullptr ? 0 : reinterpret_cast<Handle>(record->icon);
}

void Win32Platform::applyFont(ControlRecord& record) {
    const platform::Font& f = record.spec.font;
    const int height = -static_cast<int>(std::lround(f.points * dpi_ / 72.0));
    record.font.reset(CreateFontA(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, f.underline ? TRUE : FALSE,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, f.name.c_str()));
    if (record.hwnd != nullptr)
        SendMessageA(record.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(record.font.get()), TRUE);
}

// Siblings stand in z-order by tab index, which is the order Tab walks them.
void Win32Platform::placeInTabOrder(const ControlRecord& record) {
    const auto key = [](const ControlRecord& c) { return c.spec.tabIndex < 0 ? INT_MAX : c.spec.tabIndex; };
    HWND after = HWND_TOP;
    int best = INT_MIN;
    for (const auto& [handle, other] : controls_) {
        if (other.get() == &record || other->parent != record.parent || other->hwnd == nullptr) continue;
        const int k = key(*other);
        if (k <= key(record) && k >= best) {
            best = k;
            after = other->hwnd;
        }
    }
    SetWindowPos(record.hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Handle Win32Platform::createControl(Handle parent, const ControlSpec& spec) {
    const HWND parentHwnd = parentWindowOf(parent);
    if (parentHwnd == nullptr) throw RuntimeError(5, "Invalid procedure call or argument");
    auto record = std::make_unique<ControlRecord>();
    record->spec = spec;
    record->rect = spec.rect;
    record->parent = parentHwnd;
    record->topLevel = topLevelOf(parentHwnd);
    record->backBrush.reset(CreateSolidBrush(spec.backColor));

    const char* windowClass = nullptr;
    // Overlapping controls show in z-order, the first in tab order on top.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (spec.kind) {
        case ControlKind::CommandButton:
            windowClass = "BUTTON";
            style |= WS_TABSTOP | (spec.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::CheckBox:
            // Not an auto box: the platform toggles it, then reports the click.
            windowClass = "BUTTON";
            style |= WS_TABSTOP | BS_3STATE;
            break;
        case ControlKind::Label:
            windowClass = "STATIC";
            style |= SS_NOTIFY | (spec.alignment == Alignment::Center ? SS_CENTER : SS_LEFT);
            if (spec.border) style |= WS_BORDER;
            if (spec.tabIndex >= 0) style |= WS_TABSTOP;  // a link
            break;
        case ControlKind::TextBox:
            windowClass = "EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::PictureBox:
        case ControlKind::Frame:
            windowClass = kPaneClass;
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;
            if (spec.kind == ControlKind::PictureBox && spec.border) style |= WS_BORDER;
            break;
        case ControlKind::Shape:
        case ControlKind::Line:
            break;
    }

    if (windowClass == nullptr) {
        // Painted by the parent: a handle of our own, no window.
        record->handle = kSyntheticBase + ++nextSynthetic_;
        const Handle handle = record->handle;
        ControlRecord& placed = *(controls_[handle] = std::move(record));
        invalidateWindowless(placed);
        return handle;
    }

    record->id = nextControlId_++;
    if (spec.kind == ControlKind::PictureBox) record->surface = surfaceFromImage(spec.picture);
    record->hwnd = CreateWindowExA(exStyle, windowClass, spec.text.c_str(), style, spec.rect.left, spec.rect.top,
                                   spec.rect.width, spec.rect.height, parentHwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(record->id)), instance_, nullptr);
    if (record->hwnd == nullptr) throw RuntimeError(7, "Out of memory");
    record->handle = asHandle(record->hwnd);
    if (spec.kind == ControlKind::TextBox) {
        // Clicks on a text box are reported; the edit control itself has no notification for them.
        subclass(record->hwnd, editProc, originalEditProc);
    } else if (spec.kind == ControlKind::Label && spec.tabIndex >= 0) {
        subclass(record->hwnd, linkProc, originalStaticProc);
    }
    applyFont(*record);
    const Handle handle = record->handle;
    ControlRecord& placed = *(controls_[handle] = std::move(record));
    placeInTabOrder(placed);
    return handle;
}

void Win32Platform::invalidateWindowless(const ControlRecord& record) {
    const Rect& r = record.rect;
    RECT area{r.left, r.top, r.left + r.width, r.top + r.height};
    if (record.spec.kind == ControlKind::Line) {
        area = {std::min(r.left, r.width), std::min(r.top, r.height), std::max(r.left, r.width),
                std::max(r.top, r.height)};
    }
    const int margin = std::max(1, record.spec.lineWidth) + 1;
    InflateRect(&area, margin, margin);
    InvalidateRect(record.parent, &area, TRUE);
}

void Win32Platform::setControlRect(Handle handle, const Rect& rect) {
    ControlRecord* record = control(handle);
    if (record == nullptr) return;
    if (record->hwnd == nullptr) {
        invalidateWindowless(*record);
        record->rect = rect;
        invalidateWindowless(*record);
        return;
    }
    record->rect = rect;
    MoveWindow(record->hwnd, rect.left, rect.top, rect.width, rect.height, TRUE);
}

void Win32Platform::setControlText(Handle handle, const std::string& text) {
    ControlRecord* record = control(handle);
    if (record == nullptr) return;
    record->spec.text = text;
    if (record->hwnd == nullptr) return;
    SetWindowTextA(record->hwnd, text.c_str());
    if (record->spec.kind == ControlKind::Frame) InvalidateRect(record->hwnd, nullptr, TRUE);
}

std::string Win32Platform::controlText(Handle handle) {
    const ControlRecord* record = control(handle);
    if (record == nullptr) return {};
    if (record->hwnd == nullptr) return record->spec.text;
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(record->hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(record->hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Win32Platform::setControlBackColor(Handle handle, Color color) {
    ControlRecord* record = control(handle);
    if (record == nullptr) return;
    record->spec.backColor = color;
    record->backBrush.reset(CreateSolidBrush(color));
    if (record->hwnd == nullptr) {
        invalidateWindowless(*record);
    } else {
        RedrawWindow(record->hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

void Win32Platform::setCheckValue(Handle handle, int value) {
    const ControlRecord* record = control(handle);
    if (record == nullptr || record->hwnd == nullptr) return;
    const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    SendMessageA(record->hwnd, BM_SETCHECK, state, 0);
}

int Win32Platform::checkValue(Handle handle) {
    const ControlRecord* record = control(handle);
    if (record == nullptr || record->hwnd == nullptr) return 0;
    const LRESULT state = SendMessageA(record->hwnd, BM_GETCHECK, 0, 0);
    return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
}

Handle Win32Platform::pictureDC(Handle handle) {
    const ControlRecord* record = control(handle);
    if (record == nullptr || !record->surface) return 0;
    return reinterpret_cast<Handle>(record->surface->dc.get());
}

Handle Win32Platform::createTimer(Handle handle, int intervalMs) {
    const Handle timer = kSyntheticBase + ++nextSynthetic_;
    if (window(handle) == nullptr) return timer;
    const UINT_PTR id = nextTimerId_++;
    if (SetTimer(asHwnd(handle), id, static_cast<UINT>(std::max(intervalMs, 1)), nullptr) != 0) {
        timers_[timer] = {asHwnd(handle), id};
    }
    return timer;
}

void Win32Platform::destroyTimer(Handle timer) {
    const auto it = timers_.find(timer);
    if (it == timers_.end()) return;
    KillTimer(it->second.window, it->second.id);
    timers_.erase(it);
}

std::optional<int> Win32Platform::popupMenu(Handle owner, const std::vector<MenuItem>& items) {
    PopupMenu menu(CreatePopupMenu());
    if (!menu) return std::nullopt;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].caption == "-") {
            AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuA(menu.get(), MF_STRING, i + 1, items[i].caption.c_str());
        }
    }
    const HWND ownerHwnd = window(owner) != nullptr ? asHwnd(owner) : host_.get();
    POINT at{};
    GetCursorPos(&at);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, ownerHwnd, nullptr));
    // Without a message after it, a menu opened from the notification area may not close.
    PostMessageA(ownerHwnd, WM_NULL, 0, 0);
    if (chosen == 0) return std::nullopt;
    return static_cast<int>(chosen) - 1;
}

int Win32Platform::messageBox(Handle owner, const std::string& text, const std::string& title) {
    const HWND ownerHwnd = window(owner) != nullptr ? asHwnd(owner) : nullptr;
    // Without an owner the box still holds every window of the program, and stays in sight
    // above a topmost overlay.
    const UINT style = MB_OK | (ownerHwnd == nullptr ? MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND : 0);
    return MessageBoxA(ownerHwnd, text.c_str(), title.c_str(), style);
}

// ---- the window procedure ----

LRESULT CALLBACK Win32Platform::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (current == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    // Nothing may unwind through the system's frames.
    try {
        return current->handleMessage(hwnd, message, wParam, lParam);
    } catch (...) {
        return message == WM_CLOSE ? 0 : DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK Win32Platform::editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(originalEditProc, hwnd, message, wParam, lParam);
    if (message == WM_LBUTTONUP && current != nullptr) {
        try {
            current->send({EventKind::Click, asHandle(hwnd)});
        } catch (...) {
        }
    }
    return result;
}

// A label with a tab stop is a link: Tab reaches it, Enter or Space follows it,
// and it shows the keyboard focus and a hand under the pointer.
LRESULT CALLBACK Win32Platform::linkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto follow = [hwnd] {
        try {
            if (current != nullptr) current->send({EventKind::Click, asHandle(hwnd)});
        } catch (...) {
        }
    };
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter is the link's, not the default button's.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
            break;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) {
                follow();
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, TRUE);
            break;
        case WM_PAINT: {
            const LRESULT result = CallWindowProcA(originalStaticProc, hwnd, message, wParam, lParam);
            if (GetFocus() == hwnd) {
                WindowDC dc(hwnd);
                RECT r{};
                GetClientRect(hwnd, &r);
                DrawFocusRect(dc.get(), &r);
            }
            return result;
        }
        case WM_SETCURSOR:
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        default:
            break;
    }
    return CallWindowProcA(originalStaticProc, hwnd, message, wParam, lParam);
}

LRESULT Win32Platform::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == host_.get() && host_) return handleHostMessage(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    if (handleCommon(hwnd, message, wParam, lParam, result)) return result;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT Win32Platform::handleHostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == anotherInstanceMessage_ && anotherInstanceMessage_ != 0) {
        send({EventKind::AnotherInstance, 0});
        return 0;
    }
    // Explorer started again: its notification area forgot our icons.
    if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        readdTrayIcons();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HBRUSH Win32Platform::backBrushOf(HWND hwnd) {
    if (const WindowRecord* w = window(hwnd)) return w->backBrush.get();
    if (const ControlRecord* c = control(hwnd)) return c->backBrush.get();
    return nullptr;
}

void Win32Platform::handleSize(HWND hwnd) {
    WindowRecord* record = window(hwnd);
    if (record == nullptr) return;
    const Rect r = iconicAwareRect(hwnd);
    if (r.width == record->lastSize.width && r.height == record->lastSize.height) return;
    record->lastSize = {r.width, r.height};
    send({EventKind::Resize, asHandle(hwnd)});
}

void Win32Platform::handleCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    ControlRecord* record = lParam != 0 ? control(reinterpret_cast<HWND>(lParam)) : nullptr;
    // Enter and Escape from the dialog manager name the default or cancel button by id only.
    if (record == nullptr) record = controlById(topLevelOf(hwnd), id);
    if (record == nullptr || code != BN_CLICKED) return;  // STN_CLICKED is BN_CLICKED
    const Handle handle = record->handle;
    switch (record->spec.kind) {
        case ControlKind::CheckBox: {
            // A click ticks a clear or greyed box and clears a ticked one, then is reported.
            const int next = checkValue(handle) == 1 ? 0 : 1;
            setCheckValue(handle, next);
            send({EventKind::Click, handle});
            break;
        }
        case ControlKind::CommandButton:
        case ControlKind::Label:
            send({EventKind::Click, handle});
            break;
        default:
            break;
    }
}

void Win32Platform::handlePictureMouse(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Event e{EventKind::MouseMove, asHandle(hwnd)};
    e.x = GET_X_LPARAM(lParam);
    e.y = GET_Y_LPARAM(lParam);
    e.shift = shiftMask(wParam);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // Held while dragging, so a drag past the edge still reports where the pointer is.
            SetCapture(hwnd);
            e.kind = EventKind::MouseDown;
            e.button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
            send(e);
            break;
        case WM_MOUSEMOVE:
            e.button = buttonMask(wParam);
            send(e);
            break;
        default:  // a button released
            if (buttonMask(wParam) == 0 && GetCapture() == hwnd) ReleaseCapture();
            break;
    }
}

bool Win32Platform::handleCommon(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    WindowRecord* topLevel = window(hwnd);
    if (topLevel != nullptr && message >= WM_USER) {
        for (const auto& [key, icon] : trayIcons_) {
            if (key.first == hwnd && icon->data.callbackMessage == message && (icon->data.flags & NIF_MESSAGE) != 0) {
                Event e{EventKind::NotifyIcon, asHandle(hwnd)};
                e.code = LOWORD(lParam);
                send(e);
                return true;
            }
        }
    }
    const ControlRecord* pane = topLevel == nullptr ? control(hwnd) : nullptr;
    switch (message) {
        case WM_ERASEBKGND: {
            if (pane != nullptr && pane->surface) {
                result = 1;  // painted whole in WM_PAINT
                return true;
            }
            const HBRUSH brush = backBrushOf(hwnd);
            if (brush == nullptr) return false;
            RECT r{};
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
            result = 1;
            return true;
        }
        case WM_PAINT:
            if (topLevel == nullptr && pane == nullptr) return false;
            paint(hwnd);
            return true;
        case WM_CTLCOLORSTATIC: {
            const ControlRecord* child = control(reinterpret_cast<HWND>(lParam));
            if (child == nullptr) return false;
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, child->spec.foreColor);
            if (child->spec.transparentBack) {
                SetBkMode(dc, TRANSPARENT);
                result = reinterpret_cast<LRESULT>(backBrushOf(hwnd));
            } else {
                SetBkColor(dc, child->spec.backColor);
                result = reinterpret_cast<LRESULT>(child->backBrush.get());
            }
            return true;
        }
        case WM_COMMAND:
            handleCommand(hwnd, wParam, lParam);
            return true;
        case DM_GETDEFID: {
            if (topLevel == nullptr) return false;
            // A focused command button takes Enter; otherwise the window's default button does.
            const ControlRecord* focused = control(GetFocus());
            const ControlRecord* target =
                focused != nullptr && focused->topLevel == hwnd && focused->spec.kind == ControlKind::CommandButton
                    ? focused
                    : controlById(hwnd, IDOK);
            result = target != nullptr ? MAKELRESULT(target->id, DC_HASDEFID) : 0;
            return true;
        }
        case WM_CLOSE:
            if (topLevel == nullptr) return false;
            // Asked, not done: the program decides whether the window goes.
            send({EventKind::CloseRequest, asHandle(hwnd)});
            return true;
        case WM_SIZE:
            if (topLevel == nullptr) return false;
            handleSize(hwnd);
            return true;
        case WM_DPICHANGED: {
            if (topLevel == nullptr) return false;
            // Dragged onto a screen of another density: take the rectangle the system suggests
            // for it, which the program then hears of like a person's move and resize.
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                         suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
            return true;
        }
        case WM_MOVE:
            if (topLevel == nullptr) return false;
            if (programmaticMoves_ == 0 && !IsIconic(hwnd)) send({EventKind::Moved, asHandle(hwnd)});
            return true;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (pane != nullptr && pane->spec.kind == ControlKind::PictureBox) {
                handlePictureMouse(hwnd, message, wParam, lParam);
                return true;
            }
            if (topLevel != nullptr && message == WM_MOUSEMOVE) {
                Event e{EventKind::MouseMove, asHandle(hwnd),       buttonMask(wParam),
                        shiftMask(wParam),    GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                send(e);
                return true;
            }
            return false;
        case WM_TIMER:
            for (const auto& [handle, timer] : timers_) {
                if (timer.window == hwnd && timer.id == wParam) {
                    send({EventKind::TimerTick, handle});
                    return true;
                }
            }
            return false;
        case WM_ACTIVATE: {
            if (topLevel == nullptr) return false;
            // Like a dialog, a window gives the keyboard back to the control that had it.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd, focus)) topLevel->lastFocus = focus;
                return false;
            }
            if (HIWORD(wParam) != 0) return false;  // minimised
            HWND target = topLevel->lastFocus;
            if (target == nullptr || !IsChild(hwnd, target) || !IsWindowVisible(target)) {
                target = GetNextDlgTabItem(hwnd, nullptr, FALSE);
            }
            if (target == nullptr) return false;
            SetFocus(target);
            return true;
        }
        default:
            return false;
    }
}

void Win32Platform::paint(HWND hwnd) {
    PaintScope ps(hwnd);
    const HDC dc = ps.dc();
    const ControlRecord* pane = control(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    if (pane != nullptr && pane->surface) {
        const Size size = pane->surface->size;
        BitBlt(dc, 0, 0, size.width, size.height, pane->surface->dc.get(), 0, 0, SRCCOPY);
        // Whatever the picture does not cover shows the back colour.
        RECT right{size.width, 0, client.right, client.bottom};
        RECT below{0, size.height, std::min<LONG>(size.width, client.right), client.bottom};
        if (right.left < right.right) FillRect(dc, &right, pane->backBrush.get());
        if (below.top < below.bottom) FillRect(dc, &below, pane->backBrush.get());
    } else if (pane != nullptr && pane->spec.kind == ControlKind::Frame) {
        // A group box: an etched outline, its caption breaking the top edge.
        RECT edge = client;
        if (!pane->spec.text.empty()) {
            TEXTMETRICA tm{};
            Selection font(dc, pane->font.get());
            GetTextMetricsA(dc, &tm);
            edge.top += tm.tmHeight / 2;
            DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
            SetBkColor(dc, pane->spec.backColor);
            SetTextColor(dc, pane->spec.foreColor);
            TextOutA(dc, 8, 0, pane->spec.text.c_str(), static_cast<int>(pane->spec.text.size()));
        } else {
            DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
        }
    }
    paintWindowless(hwnd, dc);
}

void Win32Platform::paintWindowless(HWND parent, HDC dc) {
    for (const auto& [handle, record] : controls_) {
        if (record->hwnd != nullptr || record->parent != parent) continue;
        const ControlSpec& s = record->spec;
        const Rect& r = record->rect;
        // Windows draws dashes only with one-pixel pens.
        const bool dashed = s.lineStyle == LineStyle::Dash;
        Pen pen(CreatePen(dashed ? PS_DASH : PS_SOLID, dashed ? 1 : std::max(1, s.lineWidth), s.foreColor));
        Selection penIn(dc, pen.get());
        if (s.kind == ControlKind::Line) {
            MoveToEx(dc, r.left, r.top, nullptr);
            LineTo(dc, r.width, r.height);
            continue;
        }
        const HBRUSH brush =
            s.transparentBack ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : record->backBrush.get();
        Selection brushIn(dc, brush);
        SetBkMode(dc, TRANSPARENT);
        if (s.shape == ShapeStyle::Oval) {
            Ellipse(dc, r.left, r.top, r.left + r.width, r.top + r.height);
        } else {
            Rectangle(dc, r.left, r.top, r.left + r.width, r.top + r.height);
        }
    }
}

std::unique_ptr<Platform> createPlatform() { return std::make_unique<Win32Platform>(GetModuleHandleA(nullptr)); }

}  // namespace velmora::platform::win32
