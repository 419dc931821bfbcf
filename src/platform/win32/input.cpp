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

    // A low-level mouse hook hears every move, whichever program has the focus, and
    // Wine calls it too; the move is reported once the burst queued behind it is through.
    bool watchPointer(bool on) override {
        if (!on) {
            s_.pointerHook.reset();
            watcher = nullptr;
            return true;
        }
        if (s_.pointerHook) return true;
        if (!s_.host) return false;
        s_.pointerHook.reset(SetWindowsHookExA(WH_MOUSE_LL, pointerMoved, s_.instance, 0));
        if (!s_.pointerHook) return false;
        watcher = &s_;
        s_.pointerTold.reset();
        return true;
    }

private:
    // A hook carries no data of its own; one platform watches at a time.
    static inline State* watcher = nullptr;

    static LRESULT CALLBACK pointerMoved(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && wParam == WM_MOUSEMOVE && watcher != nullptr) {
            const auto* move = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            watcher->pointerSeen = {move->pt.x, move->pt.y};
            if (!watcher->pointerPlacePending) {
                watcher->pointerPlacePending = PostMessageA(watcher->host.get(), kPointerPlace, 0, 0) != FALSE;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

}  // namespace

std::unique_ptr<Input> makeInput(State& state) { return std::make_unique<Win32Input>(state); }

}  // namespace velmora::platform::win32
