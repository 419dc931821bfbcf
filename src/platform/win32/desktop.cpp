// The desktop as the Windows platform meets it: screens and their work areas,
// the clipboard, the notification area, one running copy per user, the login
// entry in the Run key, and the running program itself.
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/text.h"
#include "platform/win32/state.h"
#include "platform/win32/store.h"

namespace velmora::platform::win32 {

namespace {

// The registry key and value that start the program at login.
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "Velmora";

// Runs body with the clipboard open; another program may hold it for a moment.
template <class Body>
void withClipboard(HWND owner, Body body) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        ClipboardScope clipboard(owner);
        if (clipboard.isOpen()) {
            body();
            return;
        }
        Sleep(10);
    }
}

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM out) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(monitor, &mi)) return TRUE;
    auto& monitors = *reinterpret_cast<std::vector<MONITORINFO>*>(out);
    monitors.insert((mi.dwFlags & MONITORINFOF_PRIMARY) != 0 ? monitors.begin() : monitors.end(), mi);
    return TRUE;
}

// Each screen's whole rectangle, or its work area, primary first.
std::vector<Rect> monitorRects(RECT MONITORINFO::*which) {
    std::vector<MONITORINFO> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::vector<Rect> rects;
    for (const MONITORINFO& mi : monitors) {
        const RECT& r = mi.*which;
        rects.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    return rects;
}

std::string userName() {
    char name[257] = {};
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size)) return "user";
    std::string text(name);
    std::replace(text.begin(), text.end(), '\\', '_');
    return text;
}

bool trayThere(const State& state) {
    // Wine shows icons in a tray window of its own when the desktop has none.
    return FindWindowA(state.options.taskbarClass, nullptr) != nullptr ||
           (state.options.wineTrayCounts && runningOnWine());
}

// Tells the copy that runs already, once its host window is there to hear it:
// the command as WM_COPYDATA, which returns once that copy has taken it.
void tellFirstCopy(const std::string& command) {
    // The first copy may still be starting: give its host window a moment to appear.
    const DWORD self = GetCurrentProcessId();
    for (int attempt = 0; attempt < 60; ++attempt) {
        HWND other = nullptr;
        while ((other = FindWindowExA(nullptr, other, kHostClass, nullptr)) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(other, &process);
            if (process == self) continue;
            AllowSetForegroundWindow(process);
            COPYDATASTRUCT data{kCommandData, static_cast<DWORD>(command.size()), const_cast<char*>(command.data())};
            DWORD_PTR answer = 0;
            SendMessageTimeoutA(other, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                                &answer);
            return;
        }
        Sleep(50);
    }
}

// Whether a login command starts this program: its executable is a velmora.exe.
bool namesVelmora(const std::string& command) {
    std::string path = command;
    path.erase(0, path.find_first_not_of(' '));
    if (!path.empty() && path.front() == '"') {
        const auto close = path.find('"', 1);
        path = path.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    const auto cut = path.find_last_of("\\/");
    return lowerCase(cut == std::string::npos ? path : path.substr(cut + 1)) == "velmora.exe";
}

class Win32Desktop final : public OnState<Desktop> {
public:
    using RoleOnState::RoleOnState;

    Size screenSize() override { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }
    double twipsPerPixel() override { return s_.twipsPerPixel; }

    std::vector<Rect> workAreas() override { return monitorRects(&MONITORINFO::rcWork); }
    std::vector<Rect> screens() override { return monitorRects(&MONITORINFO::rcMonitor); }

    Rect desktopArea() override {
        return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    }

    void clipboardClear() override {
        withClipboard(s_.host.get(), [] { EmptyClipboard(); });
    }

    void clipboardSetText(const std::string& text) override {
        GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
        if (!memory) return;
        void* bytes = GlobalLock(memory.get());
        if (bytes == nullptr) return;
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory.get());
        withClipboard(s_.host.get(), [&] {
            EmptyClipboard();
            // Once the clipboard has taken the memory, it is the clipboard's to free.
            if (SetClipboardData(CF_TEXT, memory.get()) != nullptr) memory.release();
        });
    }

    bool notificationAreaAvailable() override { return trayThere(s_); }
    bool waylandSessionThroughXWayland() override { return false; }

    // The taskbar tells every top-level window when it starts (TaskbarCreated, which
    // the host hears); the one timer only ends the wait.
    void watchNotificationArea() override {
        if (s_.watchingTray) return;
        if (trayThere(s_)) {
            s_.send({EventKind::NotificationAreaAppeared, 0});
            return;
        }
        s_.watchingTray = true;
        SetTimer(s_.host.get(), kTrayWaitTimer, static_cast<UINT>(std::max(1, s_.options.notificationAreaWaitMs)),
                 nullptr);
    }

    bool becomePrimaryInstance(const std::string& command) override {
        const std::string name = "Local\\Velmora." + userName();
        s_.instanceMutex.reset(CreateMutexA(nullptr, FALSE, name.c_str()));
        const DWORD error = GetLastError();
        if (!s_.instanceMutex || error != ERROR_ALREADY_EXISTS) return true;
        tellFirstCopy(command);
        return false;
    }

    std::vector<std::string> takeCommands() override { return std::exchange(s_.commands, {}); }

    // The global keys go too: a copy started while this one's windows go away takes them.
    void leavePrimaryInstance() override {
        s_.instanceMutex.reset();
        s_.hotkeys.clear();
    }

    bool writeStartupEntry(const std::string& exePath) override {
        RegKey k;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                            k.put(), nullptr) != ERROR_SUCCESS) {
            return false;
        }
        return writeText(k.get(), kRunValue, "\"" + exePath + "\"");
    }

    bool removeStartupEntry() override {
        RegKey k;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, k.put()) != ERROR_SUCCESS) {
            return false;
        }
        // An entry of the same name that starts something else is not ours to remove.
        const auto command = tryReadText(k.get(), kRunValue);
        if (!command || !namesVelmora(*command)) return false;
        return RegDeleteValueA(k.get(), kRunValue) == ERROR_SUCCESS;
    }

    std::string exePath() override {
        std::string path(MAX_PATH, '\0');
        while (path.size() <= 32768) {
            const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
            if (length == 0) return {};
            if (length < path.size()) {
                path.resize(length);
                return path;
            }
            path.resize(path.size() * 2);
        }
        return {};
    }

    bool fileExists(const std::string& path) override {
        if (path.empty()) return false;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    bool startProgram(const std::string& path, int showStyle) override {
        if (path.empty()) return false;
        // A path with blanks that names a file is one program, not a program and arguments.
        std::string command = path;
        if (command.find(' ') != std::string::npos && command.front() != '"' && fileExists(command)) {
            command = "\"" + command + "\"";
        }
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showStyle);
        PROCESS_INFORMATION started{};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
            return false;
        }
        const KernelHandle process(started.hProcess);
        const KernelHandle thread(started.hThread);
        return true;
    }
};

}  // namespace

void endTrayWatch(State& state, bool appeared) {
    if (!state.watchingTray) return;
    state.watchingTray = false;
    KillTimer(state.host.get(), kTrayWaitTimer);
    // A taskbar that came just as the wait ended still counts.
    const bool there = appeared || trayThere(state);
    state.send({there ? EventKind::NotificationAreaAppeared : EventKind::NotificationAreaAbsent, 0});
}

std::unique_ptr<Desktop> makeDesktop(State& state) { return std::make_unique<Win32Desktop>(state); }

}  // namespace velmora::platform::win32
