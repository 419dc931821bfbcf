// The native calls the program makes by name, passed to the Win32 functions of
// those names. The notification icons and the registry keys the program opens
// are also kept here, so that none outlives the platform.
#include <algorithm>
#include <cstring>

#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

NOTIFYICONDATAA nativeIcon(const NotifyIconData& data) {
    NOTIFYICONDATAA n{};
    n.cbSize = sizeof n;
    n.hWnd = asHwnd(data.window);
    n.uID = data.id;
    n.uFlags = data.flags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
    n.uCallbackMessage = data.callbackMessage;
    n.hIcon = reinterpret_cast<HICON>(data.icon);
    // The program's tip is blank-filled to a fixed width; the blanks would only widen the tooltip.
    const std::size_t used = data.tip.find_last_not_of(' ') + 1;
    const std::size_t length = std::min(used, sizeof n.szTip - 1);
    std::memcpy(n.szTip, data.tip.data(), length);
    n.szTip[length] = '\0';
    return n;
}

// The program names the predefined keys by their 32-bit values; 64-bit Windows
// knows them sign-extended.
HKEY keyOf(Handle key) {
    const auto extended = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<ULONG>(key))));
    for (const HKEY predefined : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                                  HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        if (extended == predefined) return predefined;
    }
    return reinterpret_cast<HKEY>(key);
}

class Win32Native final : public OnState<NativeCalls> {
public:
    using RoleOnState::RoleOnState;

    long getWindowLong(Handle window, int index) override { return GetWindowLongA(asHwnd(window), index); }

    long setWindowLong(Handle window, int index, long value) override {
        return SetWindowLongA(asHwnd(window), index, value);
    }

    bool setLayeredWindowAttributes(Handle window, Color key, std::uint8_t alpha, unsigned flags) override {
        return SetLayeredWindowAttributes(asHwnd(window), key, alpha, flags) != FALSE;
    }

    bool setWindowPos(Handle window, Handle insertAfter, int x, int y, int cx, int cy, unsigned flags) override {
        // Made topmost, a window that is never activated, or not when shown (the panel), still is not;
        // nor is one not shown (the tint made topmost as it loads), which would take the keyboard
        // from the person's window and give it to nothing they can see.
        const WindowRecord* record = s_.window(window);
        if (record != nullptr &&
            (neverActivated(record->spec) || !record->spec.activateOnShow || !IsWindowVisible(asHwnd(window)))) {
            flags |= SWP_NOACTIVATE;
        }
        return SetWindowPos(asHwnd(window), asHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
    }

    bool setForegroundWindow(Handle window) override { return SetForegroundWindow(asHwnd(window)) != FALSE; }

    bool shellNotifyIcon(unsigned message, const NotifyIconData& data) override {
        NOTIFYICONDATAA n = nativeIcon(data);
        const bool done = Shell_NotifyIconA(message, &n) != FALSE;
        const auto key = std::make_pair(asHwnd(data.window), data.id);
        if (message == NIM_ADD) {
            // Kept even when no notification area took it, to add it when one appears.
            TrayIcon& icon = s_.trayIcons[key];
            if (!icon.added) icon.data = data;
            icon.added = icon.added || done;
        } else if (message == NIM_DELETE) {
            const auto it = s_.trayIcons.find(key);
            if (it != s_.trayIcons.end()) {
                it->second.added = false;  // deleted just now
                s_.trayIcons.erase(it);
            }
        }
        return done;
    }

    Handle shellExecute(Handle owner, const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int show) override {
        const auto orNull = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
        return asHandle(
            ShellExecuteA(asHwnd(owner), orNull(verb), file.c_str(), orNull(parameters), orNull(directory), show));
    }

    Color getPixel(Handle dc, int x, int y) override { return GetPixel(reinterpret_cast<HDC>(dc), x, y); }

    long regOpenKeyEx(Handle root, const std::string& subKey, unsigned options, unsigned access,
                      Handle& result) override {
        RegKey opened;
        const LONG status = RegOpenKeyExA(keyOf(root), subKey.c_str(), options, access, opened.put());
        if (status != ERROR_SUCCESS) return status;
        result = asHandle(opened.get());
        s_.openKeys[result] = std::move(opened);
        return status;
    }

    long regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                         unsigned& size) override {
        // Only the keys the program opened through these calls are read.
        const auto open = s_.openKeys.find(key);
        if (open == s_.openKeys.end()) return ERROR_INVALID_HANDLE;
        DWORD valueType = 0;
        DWORD length = std::min<DWORD>(size, static_cast<DWORD>(data.size()));
        const LONG status = RegQueryValueExA(open->second.get(), name.c_str(), nullptr, &valueType,
                                             reinterpret_cast<BYTE*>(data.data()), &length);
        type = valueType;
        size = length;
        return status;
    }

    long regCloseKey(Handle key) override {
        // A key the program did not open through these calls is not its to close.
        auto node = s_.openKeys.extract(key);
        if (node.empty()) return ERROR_INVALID_HANDLE;
        return RegCloseKey(node.mapped().release());
    }
};

}  // namespace

// An icon left behind would stay in the notification area until the mouse passes over it.
TrayIcon::~TrayIcon() {
    if (!added) return;
    NOTIFYICONDATAA n = nativeIcon(data);
    Shell_NotifyIconA(NIM_DELETE, &n);
}

void readdTrayIcons(State& state) {
    for (auto& [key, icon] : state.trayIcons) {
        NOTIFYICONDATAA n = nativeIcon(icon.data);
        icon.added = Shell_NotifyIconA(NIM_ADD, &n) != FALSE;
    }
}

std::unique_ptr<NativeCalls> makeNative(State& state) { return std::make_unique<Win32Native>(state); }

}  // namespace velmora::platform::win32
