// Owners for Win32 handles: each one is released exactly once, on every path.
#pragma once

#include <vector>

#include "platform/unique_handle.h"
#include "platform/win32/sdk.h"

namespace velmora::platform::win32 {

using platform::unique_handle;

using Brush = unique_handle<HBRUSH, DeleteObject>;
using Font = unique_handle<HFONT, DeleteObject>;
using Pen = unique_handle<HPEN, DeleteObject>;
using Bitmap = unique_handle<HBITMAP, DeleteObject>;
using MemoryDC = unique_handle<HDC, DeleteDC>;
using Icon = unique_handle<HICON, DestroyIcon>;
using PopupMenu = unique_handle<HMENU, DestroyMenu>;
using RegKey = unique_handle<HKEY, RegCloseKey>;
using KernelHandle = unique_handle<HANDLE, CloseHandle>;
using GlobalMemory = unique_handle<HGLOBAL, GlobalFree>;
using OwnedWindow = unique_handle<HWND, DestroyWindow>;

// A window's DC from GetDC (its client area) or GetWindowDC (all of it, its edge
// too), given back with ReleaseDC.
class WindowDC {
public:
    enum class Area { Client, Whole };
    explicit WindowDC(HWND window, Area area = Area::Client)
        : window_(window), dc_(area == Area::Whole ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDC() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { BeginPaint(window_, &ps_); }
    ~PaintScope() { EndPaint(window_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return ps_.hdc; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
};

// An object selected into a DC; the DC gets its previous object back.
class Selection {
public:
    Selection() = default;
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { restore(); }
    Selection(Selection&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), old_(std::exchange(other.old_, nullptr)) {}
    Selection& operator=(Selection&& other) noexcept {
        if (this != &other) {
            restore();
            dc_ = std::exchange(other.dc_, nullptr);
            old_ = std::exchange(other.old_, nullptr);
        }
        return *this;
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    void restore() {
        if (dc_ != nullptr && old_ != nullptr) SelectObject(dc_, old_);
        dc_ = nullptr;
        old_ = nullptr;
    }
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// A registered window class, unregistered when this goes (after its last window).
class WindowClass {
public:
    WindowClass() = default;
    WindowClass(HINSTANCE instance, const WNDCLASSEXA& wc) : instance_(instance), atom_(RegisterClassExA(&wc)) {}
    ~WindowClass() {
        if (atom_ != 0) UnregisterClassA(MAKEINTATOM(atom_), instance_);
    }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    WindowClass(WindowClass&& other) noexcept
        : instance_(other.instance_), atom_(std::exchange(other.atom_, static_cast<ATOM>(0))) {}
    WindowClass& operator=(WindowClass&& other) noexcept {
        std::swap(instance_, other.instance_);
        std::swap(atom_, other.atom_);
        return *this;
    }

private:
    HINSTANCE instance_ = nullptr;
    ATOM atom_ = 0;
};

// The global hotkeys registered on windows, by id; each given back when it is
// removed, and all of them when this goes.
class HotkeyRegistrations {
public:
    HotkeyRegistrations() = default;
    ~HotkeyRegistrations() { clear(); }
    HotkeyRegistrations(const HotkeyRegistrations&) = delete;
    HotkeyRegistrations& operator=(const HotkeyRegistrations&) = delete;

    bool add(HWND window, int id, UINT modifiers, UINT key) {
        if (!RegisterHotKey(window, id, modifiers, key)) return false;
        held_.push_back({window, id});
        return true;
    }
    void remove(HWND window, int id) {
        for (auto it = held_.begin(); it != held_.end(); ++it) {
            if (it->window == window && it->id == id) {
                UnregisterHotKey(window, id);
                held_.erase(it);
                return;
            }
        }
    }
    void clear() {
        for (const Held& h : held_) UnregisterHotKey(h.window, h.id);
        held_.clear();
    }

private:
    struct Held {
        HWND window;
        int id;
    };
    std::vector<Held> held_;
};

// The clipboard, open for as long as this lives.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (open_) CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool isOpen() const { return open_; }

private:
    bool open_;
};

}  // namespace velmora::platform::win32
