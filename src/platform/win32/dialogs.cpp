// Modal interactions of the Windows platform: the popup menu at the pointer and
// the message box with only an OK button.
#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

class Win32Dialogs final : public OnState<Dialogs> {
public:
    using RoleOnState::RoleOnState;

    std::optional<int> popupMenu(Handle owner, const std::vector<MenuItem>& items) override {
        PopupMenu menu(CreatePopupMenu());
        if (!menu) return std::nullopt;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].caption == "-") {
                AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
            } else {
                AppendMenuA(menu.get(), MF_STRING, i + 1, items[i].caption.c_str());
            }
        }
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
