// Input from anywhere on the desktop: global hotkeys, registered on the hidden
// host window, which hears them as WM_HOTKEY (events.cpp), and the pointer.
#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

class Win32Input final : public OnState<Input> {
public:
    using RoleOnState::RoleOnState;

    HotkeyGrab registerHotkey(int id, const Hotkey& key) override {
        // A second registration under the same id would keep the first one beside it.
        unregisterHotkey(id);
        // Held down, the key reports once, not at the keyboard's repeat rate.
        const UINT modifiers = (key.modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN)) | MOD_NOREPEAT;
        if (s_.hotkeys.add(s_.host.get(), id, modifiers, key.key)) return HotkeyGrab::Taken;
        return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? HotkeyGrab::HeldElsewhere : HotkeyGrab::NotPossible;
    }

    void unregisterHotkey(int id) override { s_.hotkeys.remove(s_.host.get(), id); }
    bool hotkeysByDesktop() override { return false; }

    std::optional<Point> tryPointerPosition() override {
        POINT at{};
        if (!GetCursorPos(&at)) return std::nullopt;
        return Point{at.x, at.y};
    }

    // Raw mouse input to the host window, even while another program has the focus.
    bool watchPointer(bool on) override {
        if (on == s_.watchingPointer) return true;
        // Wine registers raw input and never sends it: the ruler asks for the pointer instead.
        if (on && runningOnWine()) return false;
        RAWINPUTDEVICE mouse{};
        mouse.usUsagePage = 0x01;  // generic desktop
        mouse.usUsage = 0x02;      // mouse
        mouse.dwFlags = on ? RIDEV_INPUTSINK : RIDEV_REMOVE;
        mouse.hwndTarget = on ? s_.host.get() : nullptr;
        if (on && mouse.hwndTarget == nullptr) return false;
        const bool done = RegisterRawInputDevices(&mouse, 1, sizeof mouse) != FALSE;
        if (on) {
            s_.watchingPointer = done;
            s_.pointerTold.reset();
            return done;
        }
        s_.watchingPointer = false;
        return true;
    }
};

}  // namespace

std::unique_ptr<Input> makeInput(State& state) { return std::make_unique<Win32Input>(state); }

}  // namespace velmora::platform::win32
