// Modal interactions of the Windows platform: the popup menu at the pointer and
// the message box with only an OK button.
#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

class Win32Dialogs final : public OnState<Dialogs> {
public:
    using RoleOnState::RoleOnState;

    // Each item's command is its number, depth first, from 1; a submenu belongs to its parent once appended.
    static bool fill(HMENU menu, const std::vector<MenuItem>& items, UINT& next) {
        for (const MenuItem& item : items) {
            const UINT id = next++;
            if (item.caption == "-") {
                AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            } else if (!item.items.empty()) {
                PopupMenu sub(CreatePopupMenu());
                if (!sub || !fill(sub.get(), item.items, next)) return false;
                if (!AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), item.caption.c_str())) {
                    return false;
                }
                sub.release();
            } else {
                AppendMenuA(menu, MF_STRING | (item.checked ? MF_CHECKED : 0), id, item.caption.c_str());
            }
        }
        return true;
    }

    std::optional<int> popupMenu(Handle owner, const std::vector<MenuItem>& items) override {
        PopupMenu menu(CreatePopupMenu());
        UINT next = 1;
        if (!menu || !fill(menu.get(), items, next)) return std::nullopt;
        const HWND ownerHwnd = s_.window(owner) != nullptr ? asHwnd(owner) : s_.host.get();
        POINT at{};
        GetCursorPos(&at);
        const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                             at.x, at.y, 0, ownerHwnd, nullptr));
        // Without a message after it, a menu opened from the notification area may not close.
        PostMessageA(ownerHwnd, WM_NULL, 0, 0);
        if (chosen == 0) return std::nullopt;
        return static_cast<int>(chosen) - 1;
    }

    int messageBox(Handle owner, const std::string& text, const std::string& title) override {
        const HWND ownerHwnd = s_.window(owner) != nullptr ? asHwnd(owner) : nullptr;
        // Without an owner the box still holds every window of the program, and stays in sight
        // above a topmost overlay.
        const UINT style = MB_OK | (ownerHwnd == nullptr ? MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND : 0);
        return MessageBoxA(ownerHwnd, text.c_str(), title.c_str(), style);
    }
};

}  // namespace

std::unique_ptr<Dialogs> makeDialogs(State& state) { return std::make_unique<Win32Dialogs>(state); }

}  // namespace velmora::platform::win32
