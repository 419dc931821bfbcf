#include "driver.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace velmora::e2e {

namespace {

constexpr const char* kSettingsKey = "Software\\VB and VBA Program Settings\\velmora\\config";
// Wine 8's shell reads an address's handler from the machine's classes only: a per-user
// one under HKCU\Software\Classes is never consulted, so the recorder goes where Wine looks.
constexpr const char* kHttpsCommand = "https\\shell\\open\\command";

std::string inTempFolder(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder + name;
}

std::optional<std::string> defaultValue(HKEY root, const char* path) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(root, path, nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(data);
}

void setDefaultValue(HKEY root, const char* path, const std::string& value) {
    RegSetKeyValueA(root, path, nullptr, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

struct Search {
    DWORD process = 0;
    std::string caption;
    std::string className;
    HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != search.process) return TRUE;
    if (!search.caption.empty() && windowText(hwnd) != search.caption) return TRUE;
    if (!search.className.empty() && className(hwnd) != search.className) return TRUE;
    search.found = hwnd;
    return FALSE;
}

HWND findTopLevel(Search search) {
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::string besideThisProgram(const std::string& name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of("\\/") + 1);
    return folder + name;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

namespace settings {

void clear() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\velmora"); }

void seed(const std::string& key, const std::string& value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

std::optional<std::string> stored(const std::string& key) {
    char data[512] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, key.c_str(), RRF_RT_REG_SZ, &type, data, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(data);
}

}  // namespace settings

std::optional<std::string> loginEntry() {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, kRunKey, "Velmora", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(data);
}

Program::Program() : executable_(besideThisProgram("velmora.exe")) {}

Program::~Program() { stop(); }

void Program::start(bool waitUntilReady) {
    stop();
    std::string command = "\"" + executable_ + "\"" + (arguments_.empty() ? "" : " " + arguments_);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Under Wine a start right after another copy ended now and then fails once: try again.
    bool started = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
        if (attempt > 0) Sleep(200);
        started =
            CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) != 0;
        if (!started) error = GetLastError();
    }
    ASSERT_TRUE(started) << "cannot start " << command << ", error " << error;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    // Started means its windows are built and it waits for input.
    if (waitUntilReady) WaitForInputIdle(process_, 10000);
}

bool Program::running() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Program::waitForExit(std::chrono::milliseconds timeout) const {
    if (process_ == nullptr) return std::nullopt;
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void Program::stop() {
    if (process_ == nullptr) return;
    if (running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
    process_ = nullptr;
    processId_ = 0;
}

HWND Program::findWindow(const std::string& caption) const { return findTopLevel({processId_, caption, {}, {}}); }

HWND Program::findWindowOfClass(const std::string& name) const { return findTopLevel({processId_, {}, name, {}}); }

std::vector<HWND> Program::shownWindowsOfClass(const std::string& name) const {
    struct Shown {
        DWORD process;
        std::string className;
        std::vector<HWND> found;
    } shown{processId_, name, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Shown*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (process == s.process && className(hwnd) == s.className && IsWindowVisible(hwnd))
                s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown.found;
}

HWND Program::waitForWindow(const std::string& caption, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    waitUntil([&] { return (found = findWindow(caption)) != nullptr; }, timeout);
    return found;
}

HWND findChild(HWND parent, const std::string& caption) {
    struct ChildSearch {
        std::string caption;
        HWND found = nullptr;
    } search{caption};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<ChildSearch*>(param);
            if (windowText(hwnd) != s.caption) return TRUE;
            s.found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT rectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string windowText(HWND hwnd) {
    // Asked of the window itself: an edit box keeps its text where GetWindowText cannot see it.
    char text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
    return text;
}

std::string className(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> all;
    for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) all.push_back(c);
    return all;
}

COLORREF screenPixel(HWND window, int clientX, int clientY) {
    POINT p{clientX, clientY};
    ClientToScreen(window, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

void placeWindow(HWND window, int x, int y, int width, int height) {
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void pressKey(HWND window, UINT key) {
    HWND target = focusOf(window) != nullptr ? focusOf(window) : window;
    const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    PostMessageA(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, key, 1 | (scan << 16) | (3U << 30));
}

void typeMnemonic(HWND window, char letter) {
    HWND target = focusOf(window) != nullptr ? focusOf(window) : window;
    // Bit 29: Alt is down.
    PostMessageA(target, WM_SYSCHAR, static_cast<WPARAM>(letter), 1 | (1U << 29));
}

void notifyIcon(HWND overlay, UINT mouseMessage) { PostMessageA(overlay, WM_APP + 1, 1, mouseMessage); }

HWND openIconMenu(const Program& program, HWND overlay) {
    notifyIcon(overlay, WM_RBUTTONUP);
    HWND menu = nullptr;
    waitUntil([&] { return (menu = program.findWindowOfClass("#32768")) != nullptr && IsWindowVisible(menu); });
    return menu;
}

void chooseMenuEntry(HWND menu, int steps) {
    for (int i = 0; i < steps; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
}

std::string messageBoxText(HWND box) {
    std::string text;
    for (HWND c : children(box)) {
        if (className(c) == "Static" && !windowText(c).empty()) text += windowText(c);
    }
    return text;
}

std::optional<std::string> clipboardText() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) text = chars;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void clickAt(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void clickWithPointer(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    INPUT press[2] = {};
    press[0].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].type = INPUT_MOUSE;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, press, sizeof press[0]);
}

void movePointer(int x, int y) {
    // The X server's pointer first, which Wine hears as the mouse moving there; SendInput alone
    // would leave it behind, and Wine brings the cursor back to it when a window moves under it.
    SetCursorPos(x, y);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    move.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    SendInput(1, &move, sizeof move);
}

void pressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> presses;
    for (const WORD key : keys) presses.push_back({INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        presses.push_back({INPUT_KEYBOARD, {.ki = {*key, 0, KEYEVENTF_KEYUP, 0, 0}}});
    }
    SendInput(static_cast<UINT>(presses.size()), presses.data(), sizeof(INPUT));
}

OwnWindow::OwnWindow(const RECT& where) {
    constexpr const char* kClass = "VelmoraDriverWindow";
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (auto* counts = reinterpret_cast<Counts*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))) {
            if (message == WM_LBUTTONDOWN) ++counts->clicks;
            if (message == WM_KEYDOWN && wParam == VK_RETURN) ++counts->returns;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    };
    wc.lpszClassName = kClass;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, kClass, "Driver", WS_POPUP | WS_VISIBLE, where.left, where.top, where.right - where.left,
                            where.bottom - where.top, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&counts_));
}

OwnWindow::~OwnWindow() { DestroyWindow(hwnd_); }

namespace {
void handleWaiting() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}
}  // namespace

int OwnWindow::clicks() const {
    handleWaiting();
    return counts_.clicks;
}

int OwnWindow::returns() const {
    handleWaiting();
    return counts_.returns;
}

std::vector<HWND> wineTrayIcons() {
    HWND tray = FindWindowA(nullptr, "Wine System Tray");
    if (tray == nullptr || !IsWindowVisible(tray)) return {};
    std::vector<HWND> icons = children(tray);
    std::erase_if(icons, [](HWND icon) { return !IsWindowVisible(icon); });
    return icons;
}

LinkRecorder::LinkRecorder()
    : previous_(defaultValue(HKEY_CLASSES_ROOT, kHttpsCommand)), record_(inTempFolder("velmora-opened-links.txt")) {
    DeleteFileA(record_.c_str());
    // %* passes on whatever parameters the program gave the shell.
    setDefaultValue(HKEY_CLASSES_ROOT, kHttpsCommand,
                    "\"" + besideThisProgram("velmora_url_recorder.exe") + "\" \"" + record_ + "\" \"%1\" %*");
}

LinkRecorder::~LinkRecorder() {
    if (previous_) {
        setDefaultValue(HKEY_CLASSES_ROOT, kHttpsCommand, *previous_);
    } else {
        RegDeleteKeyValueA(HKEY_CLASSES_ROOT, kHttpsCommand, nullptr);
    }
    DeleteFileA(record_.c_str());
}

std::vector<OpenedLink> LinkRecorder::opened() const {
    std::vector<OpenedLink> links;
    std::ifstream in(record_, std::ios::binary);
    std::string line;
    // A line without its end is still being written.
    while (std::getline(in, line) && !in.eof()) {
        std::istringstream fields(line);
        std::string field;
        OpenedLink link;
        if (std::getline(fields, field, '\t')) link.show = std::atoi(field.c_str());
        while (std::getline(fields, field, '\t')) link.arguments.push_back(field);
        links.push_back(std::move(link));
    }
    return links;
}

OverlayButtons overlayButtons(HWND overlay) {
    return {findChild(overlay, "E&xit"), findChild(overlay, "Set screen color"), findChild(overlay, "Bring to front")};
}

HWND ProgramTest::startOverlay() {
    program.start();
    HWND overlay = program.waitForWindow("Velmora v1.0");
    EXPECT_NE(overlay, nullptr) << "no overlay window appeared";
    return overlay;
}

void ProgramTest::seedShown(int widthTwips, int heightTwips) {
    settings::seed("tint", " 1");
    settings::seed("width", " " + std::to_string(widthTwips));
    settings::seed("height", " " + std::to_string(heightTwips));
}

HWND ProgramTest::openFromMenu(HWND overlay, int steps, const std::string& caption) {
    HWND menu = openIconMenu(program, overlay);
    EXPECT_NE(menu, nullptr) << "the notification icon's menu did not open";
    if (menu == nullptr) return nullptr;
    chooseMenuEntry(menu, steps);
    return waitForOpened(caption);
}

HWND ProgramTest::openFromMenu(HWND overlay, char mnemonic, const std::string& caption) {
    HWND menu = openIconMenu(program, overlay);
    EXPECT_NE(menu, nullptr) << "the notification icon's menu did not open";
    if (menu == nullptr) return nullptr;
    PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(mnemonic), 1);
    return waitForOpened(caption);
}

HWND ProgramTest::waitForOpened(const std::string& caption) {
    HWND opened = program.waitForWindow(caption);
    EXPECT_NE(opened, nullptr) << "no window \"" << caption << "\"";
    if (opened != nullptr) {
        EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(opened) != FALSE; }));
    }
    return opened;
}

HWND ProgramTest::waitForMessageBox() {
    HWND box = nullptr;
    waitUntil([&] { return (box = program.findWindowOfClass("#32770")) != nullptr && IsWindowVisible(box); });
    return box;
}

void pressLater(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void press(HWND button) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &result);
}

}  // namespace velmora::e2e
