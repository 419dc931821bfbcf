// What is not a window: the clipboard, screens, the process and its
// environment, one running copy, the notification area and the native calls
// the program makes by name.

#include <algorithm>
#include <cstring>

#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

HWND asHwnd(Handle handle) { return reinterpret_cast<HWND>(handle); }

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

// The predefined keys arrive as their 32-bit values; 64-bit Windows knows them sign-extended.
HKEY keyOf(Handle key) {
    const auto low = static_cast<std::uint64_t>(key);
    if (low >= 0x80000000ULL && low <= 0x80000006ULL) {
        return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<ULONG>(low))));
    }
    return reinterpret_cast<HKEY>(key);
}

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM out) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(monitor, &mi)) return TRUE;
    auto& areas = *reinterpret_cast<std::vector<Rect>*>(out);
    const Rect area{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
    if ((mi.dwFlags & MONITORINFOF_PRIMARY) != 0) {
        areas.insert(areas.begin(), area);
    } else {
        areas.push_back(area);
    }
    return TRUE;
}

bool runningOnWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string userName() {
    char name[257] = {};
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size)) return "user";
    std::string text(name);
    std::replace(text.begin(), text.end(), '\\', '_');
    return text;
}

}  // namespace

// ---- the notification area ----

// An icon left behind would stay in the notification area until the mouse passes over it.
TrayIcon::~TrayIcon() {
    if (!added) return;
    NOTIFYICONDATAA n = nativeIcon(data);
    Shell_NotifyIconA(NIM_DELETE, &n);
}

bool Win32Platform::shellNotifyIcon(unsigned message, const NotifyIconData& data) {
    NOTIFYICONDATAA n = nativeIcon(data);
    const bool done = Shell_NotifyIconA(message, &n) != FALSE;
    const auto key = std::make_pair(asHwnd(data.window), data.id);
    if (message == NIM_ADD) {
        // Kept even when no notification area took it, to add it when one appears.
        auto& icon = trayIcons_[key];
        if (!icon) icon = std::make_unique<TrayIcon>();
        if (!icon->added) icon->data = data;
        icon->added = icon->added || done;
    } else if (message == NIM_DELETE) {
        const auto it = trayIcons_.find(key);
        if (it != trayIcons_.end()) {
            it->second->added = false;
            trayIcons_.erase(it);
        }
    } else if (message == NIM_MODIFY && done) {
        const auto it = trayIcons_.find(key);
        if (it != trayIcons_.end()) it->second->data = data;
    }
    return done;
}

void Win32Platform::readdTrayIcons() {
    for (auto& [key, icon] : trayIcons_) {
        NOTIFYICONDATAA n = nativeIcon(icon->data);
        icon->added = Shell_NotifyIconA(NIM_ADD, &n) != FALSE;
    }
}

bool Win32Platform::notificationAreaAvailable() {
    // Wine shows icons in a tray window of its own when the desktop has none.
    return FindWindowA("Shell_TrayWnd", nullptr) != nullptr || runningOnWine();
}

// ---- one running copy ----

bool Win32Platform::becomePrimaryInstance() {
    const std::string name = "Local\\Velmora." + userName();
    instanceMutex_.reset(CreateMutexA(nullptr, FALSE, name.c_str()));
    const DWORD error = GetLastError();
    if (!instanceMutex_ || error != ERROR_ALREADY_EXISTS) return true;
    // The first copy may still be starting: give its host window a moment to appear.
    const DWORD self = GetCurrentProcessId();
    for (int attempt = 0; attempt < 60; ++attempt) {
        HWND other = nullptr;
        while ((other = FindWindowExA(nullptr, other, kHostClass, nullptr)) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(other, &process);
            if (process == self) continue;
            AllowSetForegroundWindow(process);
            PostMessageA(other, anotherInstanceMessage_, 0, 0);
            return false;
        }
        Sleep(50);
    }
    return false;
}

// ---- clipboard ----

void Win32Platform::clipboardClear() {
    withClipboard(host_.get(), [] { EmptyClipboard(); });
}

void Win32Platform::clipboardSetText(const std::string& text) {
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) return;
    void* bytes = GlobalLock(memory.get());
    if (bytes == nullptr) return;
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory.get());
    withClipboard(host_.get(), [&] {
        EmptyClipboard();
        // Once the clipboard has taken the memory, it is the clipboard's to free.
        if (SetClipboardData(CF_TEXT, memory.get()) != nullptr) memory.release();
    });
}

// ---- screens ----

Size Win32Platform::screenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

std::vector<Rect> Win32Platform::workAreas() {
    std::vector<Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// ---- the process and its environment ----

std::string Win32Platform::exePath() {
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

std::string Win32Platform::environment(const std::string& name) {
    const DWORD needed = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::string value(needed, '\0');
    const DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), needed);
    value.resize(length < needed ? length : 0);
    return value;
}

bool Win32Platform::fileExists(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Platform::startProgram(const std::string& path, int showStyle) {
    // A path with blanks that names a file is one program, not a program and arguments.
    if (path.empty()) return false;
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

// ---- native calls ----

long Win32Platform::getWindowLong(Handle window, int index) { return GetWindowLongA(asHwnd(window), index); }

long Win32Platform::setWindowLong(Handle window, int index, long value) {
    return SetWindowLongA(asHwnd(window), index, value);
}

bool Win32Platform::setLayeredWindowAttributes(Handle window, Color key, std::uint8_t alpha, unsigned flags) {
    return SetLayeredWindowAttributes(asHwnd(window), key, alpha, flags) != FALSE;
}

bool Win32Platform::setWindowPos(Handle window, Handle insertAfter, int x, int y, int cx, int cy, unsigned flags) {
    return SetWindowPos(asHwnd(window), asHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
}

bool Win32Platform::setForegroundWindow(Handle window) { return SetForegroundWindow(asHwnd(window)) != FALSE; }

Handle Win32Platform::shellExecute(Handle owner, const std::string& verb, const std::string& file,
                                   const std::string& parameters, const std::string& directory, int show) {
    const auto orNull = [](const std::string& text) { return text.empty() ? nullptr : text.c_str(); };
    return reinterpret_cast<Handle>(
        ShellExecuteA(asHwnd(owner), orNull(verb), file.c_str(), orNull(parameters), orNull(directory), show));
}

Color Win32Platform::getPixel(Handle dc, int x, int y) { return GetPixel(reinterpret_cast<HDC>(dc), x, y); }

long Win32Platform::regOpenKeyEx(Handle root, const std::string& subKey, unsigned options, unsigned access,
                                 Handle& result) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(keyOf(root), subKey.c_str(), options, access, &opened);
    if (status != ERROR_SUCCESS) return status;
    // Held here until the program closes it, or until the platform goes.
    result = reinterpret_cast<Handle>(opened);
    openKeys_[result] = RegKey(opened);
    return status;
}

long Win32Platform::regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                                    unsigned& size) {
    DWORD valueType = 0;
    DWORD length = std::min<DWORD>(size, static_cast<DWORD>(data.size()));
    const LONG status =
        RegQueryValueExA(keyOf(key), name.c_str(), nullptr, &valueType, reinterpret_cast<BYTE*>(data.data()), &length);
    type = valueType;
    size = length;
    return status;
}

long Win32Platform::regCloseKey(Handle key) {
    const auto it = openKeys_.find(key);
    if (it == openKeys_.end()) return RegCloseKey(keyOf(key));
    const HKEY k = it->second.release();
    openKeys_.erase(it);
    return RegCloseKey(k);
}

}  // namespace velmora::platform::win32
