// Input from anywhere on the desktop: global hotkeys, registered on the hidden
// host window, which hears them as WM_HOTKEY (events.cpp), and the pointer.
#include <atomic>
#include <cstdint>

#include "platform/win32/state.h"

namespace velmora::platform::win32 {

using MouseHook = unique_handle<HHOOK, UnhookWindowsHookEx>;

// The hook runs on a thread of its own: the system waits for a low-level hook before the
// pointer moves on, so a window thread busy with the program must never be the one it waits for.
class PointerWatch {
public:
    PointerWatch(HWND host, HINSTANCE instance) : host_(host), instance_(instance) {
        const KernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ready_ = ready.get();
        if (!ready) return;
        thread_.reset(CreateThread(nullptr, 0, run, this, 0, &threadId_));
        if (thread_) WaitForSingleObject(ready_, INFINITE);
    }
    ~PointerWatch() {
        if (!thread_) return;
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_.get(), INFINITE);
    }
    PointerWatch(const PointerWatch&) = delete;
    PointerWatch& operator=(const PointerWatch&) = delete;

    bool hooked() const { return hooked_; }

    std::optional<Point> take() {
        pending_.store(false);
        const long long at = seen_.load();
        return Point{static_cast<int>(at >> 32), static_cast<int>(at & 0xFFFFFFFF)};
    }

private:
    static DWORD WINAPI run(void* self) {
        auto& watch = *static_cast<PointerWatch*>(self);
        MSG msg{};
        PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue WM_QUIT comes to
        const MouseHook hook(SetWindowsHookExA(WH_MOUSE_LL, moved, watch.instance_, 0));
        watch.hooked_ = static_cast<bool>(hook);
        if (hook) watching.store(&watch);
        SetEvent(watch.ready_);
        if (!hook) return 1;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        }
        watching.store(nullptr);
        return 0;
    }

    static LRESULT CALLBACK moved(int code, WPARAM wParam, LPARAM lParam) {
        PointerWatch* watch = watching.load();
        if (code == HC_ACTION && wParam == WM_MOUSEMOVE && watch != nullptr) {
            const auto* move = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            watch->seen_.store((static_cast<long long>(move->pt.x) << 32) | static_cast<std::uint32_t>(move->pt.y));
            if (!watch->pending_.exchange(true) && !PostMessageA(watch->host_, kPointerPlace, 0, 0)) {
                watch->pending_.store(false);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // A hook carries no data of its own; one watch at a time.
    static inline std::atomic<PointerWatch*> watching{nullptr};
    HWND host_;
    HINSTANCE instance_;
    HANDLE ready_ = nullptr;
    bool hooked_ = false;
    std::atomic<bool> pending_{false};  // kPointerPlace posted, not yet taken
    std::atomic<long long> seen_{0};    // where the last move took the pointer: x high, y low
    KernelHandle thread_;               // ended and waited for in the destructor
    DWORD threadId_ = 0;
};

void PointerWatchDeleter::operator()(PointerWatch* watch) const { delete watch; }

std::optional<Point> takePointerPlace(State& state) {
    return state.pointerWatch ? state.pointerWatch->take() : std::nullopt;
}

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
            s_.pointerWatch.reset();
            return true;
        }
        if (s_.pointerWatch) return true;
        if (!s_.host) return false;
        auto watch = std::unique_ptr<PointerWatch, PointerWatchDeleter>(new PointerWatch(s_.host.get(), s_.instance));
        if (!watch->hooked()) return false;
        s_.pointerWatch = std::move(watch);
        s_.pointerTold.reset();
        return true;
    }
};

}  // namespace

std::unique_ptr<Input> makeInput(State& state) { return std::make_unique<Win32Input>(state); }

}  // namespace velmora::platform::win32
