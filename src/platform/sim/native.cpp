// The native calls of the simulated platform: each is logged with its arguments
// and acts on the state as the Win32 function would. A call a test asked to
// fail returns what the Win32 function returns when it fails.
#include <algorithm>

#include "platform/sim/state.h"
#include "platform/text.h"
#include "platform/winapi.h"

namespace velmora::platform::sim {

namespace {

struct SimNative final : OnState<NativeCalls> {
    using RoleOnState::RoleOnState;

    long getWindowLong(Handle handle, int index) override {
        s_.log(Call::GetWindowLongA, {handle, index});
        const SimWindow* w = s_.window(handle);
        if (s_.failsNow(Call::GetWindowLongA) || w == nullptr || index != win::GWL_EXSTYLE) return 0;
        return w->exStyle;
    }

    long setWindowLong(Handle handle, int index, long value) override {
        s_.log(Call::SetWindowLongA, {handle, index, value});
        SimWindow* w = s_.window(handle);
        if (s_.failsNow(Call::SetWindowLongA) || w == nullptr || index != win::GWL_EXSTYLE) return 0;
        const long old = w->exStyle;
        w->exStyle = value;
        if ((value & win::WS_EX_LAYERED) == 0) w->layered = false;
        return old;
    }

    bool setLayeredWindowAttributes(Handle handle, Color key, std::uint8_t alpha, unsigned flags) override {
        s_.log(Call::SetLayeredWindowAttributes, {handle, key, alpha, flags});
        SimWindow* w = s_.window(handle);
        if (s_.failsNow(Call::SetLayeredWindowAttributes) || w == nullptr || (w->exStyle & win::WS_EX_LAYERED) == 0) {
            return false;
        }
        w->layered = true;
        w->layeredKey = key;
        w->alpha = alpha;
        w->layeredFlags = flags;
        return true;
    }

    bool setWindowPos(Handle handle, Handle insertAfter, int x, int y, int cx, int cy, unsigned flags) override {
        s_.log(Call::SetWindowPos, {handle, insertAfter, x, y, cx, cy, flags});
        SimWindow* w = s_.window(handle);
        if (s_.failsNow(Call::SetWindowPos) || w == nullptr) return false;
        Rect r = w->rect;
        if ((flags & win::SWP_NOMOVE) == 0) r.left = x, r.top = y;
        if ((flags & win::SWP_NOSIZE) == 0) r.width = cx, r.height = cy;
        if (insertAfter == win::HWND_TOPMOST) w->topmost = true;
        if (insertAfter == win::HWND_NOTOPMOST) w->topmost = false;
        s_.toFront(handle);
        s_.applyRect(*w, r, false);
        return true;
    }

    bool setForegroundWindow(Handle handle) override {
        s_.log(Call::SetForegroundWindow, {handle});
        if (s_.failsNow(Call::SetForegroundWindow) || s_.window(handle) == nullptr) return false;
        s_.toFront(handle);
        s_.active = handle;
        return true;
    }

    bool shellNotifyIcon(unsigned message, const NotifyIconData& data) override {
        s_.log(Call::Shell_NotifyIconA,
               {message, data.window, data.id, data.flags, data.callbackMessage, static_cast<long long>(data.icon)},
               {data.tip});
        if (s_.failsNow(Call::Shell_NotifyIconA)) return false;
        const auto key = std::make_pair(data.window, data.id);
        if (message == win::NIM_ADD) return s_.trayIcons.emplace(key, data).second;
        if (message == win::NIM_DELETE) return s_.trayIcons.erase(key) != 0;
        return false;
    }

    Handle shellExecute(Handle owner, const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int show) override {
        s_.log(Call::ShellExecuteA, {owner, show}, {verb, file, parameters, directory});
        return s_.failsNow(Call::ShellExecuteA) ? win::SE_ERR_NOASSOC : win::kShellExecuteDone;
    }

    Color getPixel(Handle dc, int x, int y) override {
        s_.log(Call::GetPixel, {dc, x, y});
        if (s_.failsNow(Call::GetPixel)) return win::CLR_INVALID;
        for (const auto& [h, c] : s_.controls) {
            if (!c.alive || c.dc != dc) continue;
            const Image& image = c.spec.picture;
            if (x < 0 || y < 0 || x >= image.width || y >= image.height) return win::CLR_INVALID;
            return image.at(x, y);
        }
        return win::CLR_INVALID;
    }

    long regOpenKeyEx(Handle root, const std::string& subKey, unsigned options, unsigned access,
                      Handle& result) override {
        s_.log(Call::RegOpenKeyExA, {root, options, access}, {subKey});
        if (s_.failsNow(Call::RegOpenKeyExA) || root != win::HKEY_LOCAL_MACHINE ||
            s_.registry.count(lowerCase(subKey)) == 0) {
            return win::ERROR_FILE_NOT_FOUND;
        }
        result = s_.newHandle();
        s_.openKeys[result] = lowerCase(subKey);
        return win::ERROR_SUCCESS;
    }

    long regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                         unsigned& size) override {
        s_.log(Call::RegQueryValueExA, {key, size}, {name});
        const auto open = s_.openKeys.find(key);
        if (open == s_.openKeys.end()) return win::ERROR_INVALID_HANDLE;
        const auto& values = s_.registry[open->second];
        const auto it = values.find(lowerCase(name));
        if (s_.failsNow(Call::RegQueryValueExA) || it == values.end()) return win::ERROR_FILE_NOT_FOUND;
        type = it->second.type;
        const auto needed = static_cast<unsigned>(it->second.data.size());
        if (needed > size || needed > data.size()) {
            size = needed;
            return win::ERROR_MORE_DATA;
        }
        std::copy(it->second.data.begin(), it->second.data.end(), data.begin());
        size = needed;
        return win::ERROR_SUCCESS;
    }

    long regCloseKey(Handle key) override {
        s_.log(Call::RegCloseKey, {key});
        return s_.openKeys.erase(key) != 0 ? win::ERROR_SUCCESS : win::ERROR_INVALID_HANDLE;
    }
};

}  // namespace

std::unique_ptr<NativeCalls> makeNative(State& state) { return std::make_unique<SimNative>(state); }

}  // namespace velmora::platform::sim
