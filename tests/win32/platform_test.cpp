// The Windows platform inside one process under Wine: what its operations
// mean in native windows, the registry and the message loop.
#include <optional>

// clang-format off
// The program's own Win32 names come before the SDK's macros of the same names.
#include "../contract/platform_contract.h"
namespace {
// HKEY_LOCAL_MACHINE as the program names it (its 32-bit value), and the access it asks for.
constexpr velmora::platform::Handle kLocalMachine = velmora::platform::win::HKEY_LOCAL_MACHINE;
constexpr unsigned kAllAccess = velmora::platform::win::KEY_ALL_ACCESS;
}  // namespace
#include "platform_fixture.h"
// clang-format on

namespace velmora::platform::win32 {
namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST_F(PlatformTest, SettingsLiveWhereEarlierVersionsKeptThem) {
    SettingsStore& store = platform->settings;
    EXPECT_EQ(store.tryGet(kTestApp, "config", "red"), std::nullopt) << "never written";
    EXPECT_TRUE(store.save(kTestApp, "config", "width", " 7200"));
    EXPECT_EQ(store.get(kTestApp, "config", "width"), " 7200");
    EXPECT_TRUE(store.save(kTestApp, "config", "hotkeytint", ""));
    EXPECT_EQ(store.tryGet(kTestApp, "config", "hotkeytint"), "") << "written empty is not never written";

    // What an earlier version wrote: REG_SZ with or without the terminating zero.
    const std::string key = "Software\\VB and VBA Program Settings\\" + std::string(kTestApp) + "\\config";
    HKEY k = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &k), ERROR_SUCCESS);
    DWORD type = 0;
    char data[32] = {};
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(k, "width", nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    RegSetValueExA(k, "red", 0, REG_SZ, reinterpret_cast<const BYTE*>("144"), 3);
    const DWORD number = 7;
    RegSetValueExA(k, "green", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(k);
    EXPECT_EQ(store.get(kTestApp, "config", "red"), "144");
    EXPECT_EQ(store.tryGet(kTestApp, "config", "green"), std::nullopt) << "not text: as if never written";

    // A key the registry cannot hold is refused, never a crash.
    EXPECT_FALSE(store.save(kTestApp, std::string(300, 's'), "red", "1"));
    EXPECT_EQ(store.get(kTestApp, std::string(300, 's'), "red"), "");
}

TEST_F(PlatformTest, LoginEntryNamesTheProgramAndOnlyOursIsRemoved) {
    auto runValue = []() -> std::optional<std::string> {
        char text[MAX_PATH] = {};
        DWORD size = sizeof text;
        if (RegGetValueA(HKEY_CURRENT_USER, kRunKey, "Velmora", RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        return std::string(text);
    };
    ASSERT_TRUE(platform->desktop.writeStartupEntry("C:\\Program Files\\Velmora\\velmora.exe"));
    EXPECT_EQ(runValue(), "\"C:\\Program Files\\Velmora\\velmora.exe\"");
    EXPECT_TRUE(platform->desktop.removeStartupEntry());
    EXPECT_EQ(runValue(), std::nullopt);
    EXPECT_FALSE(platform->desktop.removeStartupEntry()) << "nothing left to remove";

    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, "Velmora", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\Other\\reader.exe"), 20);
    RegCloseKey(k);
    EXPECT_FALSE(platform->desktop.removeStartupEntry());
    EXPECT_EQ(runValue(), "C:\\Other\\reader.exe") << "someone else's entry stays";
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Velmora");
}

TEST_F(PlatformTest, RegistryCallsTakeTheProgramsKeyValues) {
    // HKEY_LOCAL_MACHINE as a 32-bit value, the way the program names it.
    Handle key = 0;
    ASSERT_EQ(platform->native.regOpenKeyEx(kLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion", 0,
                                            kAllAccess, key),
              0);
    unsigned type = 0;
    std::string data(2, '\0');
    unsigned size = 2;
    EXPECT_EQ(platform->native.regQueryValueEx(key, "SystemRoot", type, data, size), ERROR_MORE_DATA);
    EXPECT_GT(size, 2U) << "the size it needs";
    data.assign(1024, '\0');
    size = 1024;
    ASSERT_EQ(platform->native.regQueryValueEx(key, "SystemRoot", type, data, size), 0);
    EXPECT_EQ(type, static_cast<unsigned>(REG_SZ));
    EXPECT_EQ(data.substr(0, size), std::string("C:\\windows") + '\0');
    EXPECT_EQ(platform->native.regCloseKey(key), 0);

    Handle missing = 0;
    EXPECT_NE(platform->native.regOpenKeyEx(kLocalMachine, "Software\\No Such Key", 0, kAllAccess, missing), 0);
    EXPECT_NE(platform->native.regCloseKey(0), 0) << "closing the unset handle fails quietly";
}

TEST_F(PlatformTest, WindowsTakeTheirSizePlaceBorderAndOwner) {
    WindowSpec s = spec("Placed");
    s.clientRect = Rect{156, 129, 300, 200};
    s.showInTaskbar = false;
    s.border = BorderStyle::FixedDialog;
    s.minButton = s.maxButton = false;
    const Handle w = platform->windows.createWindow(s);
    RECT client{};
    GetClientRect(hwnd(w), &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    POINT origin{0, 0};
    ClientToScreen(hwnd(w), &origin);
    EXPECT_EQ(origin.x, 156);
    EXPECT_EQ(origin.y, 129);
    EXPECT_NE(GetWindow(hwnd(w), GW_OWNER), nullptr) << "owned: no taskbar button";
    const LONG style = GetWindowLongA(hwnd(w), GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(GetWindowLongA(hwnd(w), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    EXPECT_FALSE(platform->windows.isVisible(w)) << "created hidden";

    const Handle overlay = platform->windows.createWindow(spec("Sizable"));
    EXPECT_EQ(GetWindow(hwnd(overlay), GW_OWNER), nullptr);
    EXPECT_NE(GetWindowLongA(hwnd(overlay), GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(platform->windows.windowIcon(overlay), reinterpret_cast<Handle>(LoadIconA(nullptr, IDI_APPLICATION)));

    s.icons = {{2, 2, {0x0000FF, 0x00FF00, 0xFF0000, 0}}, {4, 4, std::vector<Color>(16, 0x00FFFF)}};
    const Handle withIcon = platform->windows.createWindow(s);
    EXPECT_NE(platform->windows.windowIcon(withIcon), 0);
    EXPECT_NE(platform->windows.windowIcon(withIcon), platform->windows.windowIcon(overlay));
}

TEST_F(PlatformTest, AWindowWithoutAFrameNeverTakesTheKeyboardAndHasNoMinimumSize) {
    const Handle working = platform->windows.createWindow(spec("Working"));
    platform->windows.setVisible(working, true);
    ASSERT_EQ(GetForegroundWindow(), hwnd(working));
    WindowSpec s = spec("Velmora reading ruler");
    s.border = BorderStyle::None;
    const Handle ruler = platform->windows.createWindow(s);
    EXPECT_EQ(GetWindowLongA(hwnd(ruler), GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), WS_POPUP);
    const LONG ex = GetWindowLongA(hwnd(ruler), GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE), WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    EXPECT_NE(GetWindow(hwnd(ruler), GW_OWNER), nullptr) << "owned: no taskbar button, even unasked";

    platform->windows.setWindowRect(ruler, {0, 300, 1280, 8});
    EXPECT_EQ(platform->windows.windowRect(ruler), (Rect{0, 300, 1280, 8}));
    // As the ruler makes itself: layered, letting the mouse through, topmost, then shown.
    EXPECT_NE(platform->native.setWindowLong(ruler, GWL_EXSTYLE, ex | WS_EX_LAYERED | WS_EX_TRANSPARENT), 0);
    EXPECT_TRUE(platform->native.setLayeredWindowAttributes(ruler, 0x00D4C390, 150, LWA_ALPHA));
    EXPECT_TRUE(platform->native.setWindowPos(ruler, reinterpret_cast<Handle>(HWND_TOPMOST), 0, 0, 0, 0,
                                              SWP_NOMOVE | SWP_NOSIZE));
    platform->windows.setVisible(ruler, true);
    pump();
    EXPECT_TRUE(IsWindowVisible(hwnd(ruler)));
    EXPECT_NE(GetWindowLongA(hwnd(ruler), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongA(hwnd(ruler), GWL_EXSTYLE) & WS_EX_TRANSPARENT, WS_EX_TRANSPARENT) << "as it was set";
    EXPECT_EQ(GetForegroundWindow(), hwnd(working)) << "the keyboard stays where it was";
    EXPECT_EQ(GetActiveWindow(), hwnd(working));
    RECT client{};
    GetClientRect(hwnd(ruler), &client);
    EXPECT_EQ(client.bottom, 8) << "no frame";
}

TEST_F(PlatformTest, HotkeysAreTheWholeDesktopsAndOneHeldElsewhereIsRefused) {
    Input& input = platform->input;
    const Hotkey key{MOD_CONTROL | MOD_ALT, VK_F9};
    ASSERT_EQ(input.registerHotkey(1, key), HotkeyGrab::Taken);
    EXPECT_EQ(input.registerHotkey(1, key), HotkeyGrab::Taken) << "again under its own id";
    EXPECT_NE(input.registerHotkey(2, key), HotkeyGrab::Taken) << "one key, one id";
    EXPECT_FALSE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F9)) << "no other program gets it";

    // Pressed where the keyboard is, not in a window of the platform's.
    recorder.react = [&](const Event& e) {
        if (e.kind == EventKind::Hotkey) platform->windows.quit(static_cast<int>(e.code));
    };
    std::vector<INPUT> keys;
    for (const WORD k : {VK_CONTROL, VK_MENU, VK_F9}) keys.push_back({INPUT_KEYBOARD, {.ki = {k, 0, 0, 0, 0}}});
    for (const WORD k : {VK_F9, VK_MENU, VK_CONTROL}) {
        keys.push_back({INPUT_KEYBOARD, {.ki = {k, 0, KEYEVENTF_KEYUP, 0, 0}}});
    }
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    EXPECT_EQ(runLoop(), 1);
    ASSERT_EQ(eventsOf(EventKind::Hotkey).size(), 1U);
    EXPECT_EQ(eventsOf(EventKind::Hotkey)[0].target, 0);

    input.unregisterHotkey(1);
    EXPECT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F9)) << "given back";
    EXPECT_EQ(input.registerHotkey(3, key), HotkeyGrab::HeldElsewhere);
    UnregisterHotKey(nullptr, 7);

    ASSERT_TRUE(SetCursorPos(123, 45));
    EXPECT_EQ(input.tryPointerPosition(), (Point{123, 45}));
    EXPECT_EQ(platform->desktop.screens(),
              (std::vector<Rect>{{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}}));
}

TEST_F(PlatformTest, GeometryKeepsTheMinimumAndReportsResizesOnly) {
    const Handle w = platform->windows.createWindow(spec("Geometry"));
    platform->windows.setWindowRect(w, {40, 30, 0, 0});
    const Rect r = platform->windows.windowRect(w);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.width, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(r.height, GetSystemMetrics(SM_CYMINTRACK));
    EXPECT_EQ(eventsOf(EventKind::Resize).size(), 1U);
    platform->windows.setWindowRect(w, {80, 60, r.width, r.height});
    EXPECT_EQ(eventsOf(EventKind::Resize).size(), 1U) << "a move is no resize";
    EXPECT_TRUE(eventsOf(EventKind::Moved).empty()) << "the program's own move is not the person's";

    // Minimised, it reports and takes the place it will come back to.
    platform->windows.setWindowRect(w, {100, 100, 400, 200});
    platform->windows.setVisible(w, true);
    platform->windows.setWindowState(w, 1);
    EXPECT_TRUE(IsIconic(hwnd(w)));
    EXPECT_EQ(platform->windows.windowState(w), 1);
    EXPECT_EQ(platform->windows.windowRect(w), (Rect{100, 100, 400, 200}));
    platform->windows.setWindowRect(w, {120, 110, 400, 200});
    platform->windows.setWindowState(w, 0);
    EXPECT_EQ(platform->windows.windowRect(w), (Rect{120, 110, 400, 200}));

    // A hidden window takes a state when it is shown, not before.
    platform->windows.setVisible(w, false);
    platform->windows.setWindowState(w, 2);
    EXPECT_FALSE(IsWindowVisible(hwnd(w)));
    EXPECT_EQ(platform->windows.windowState(w), 2);
    platform->windows.setVisible(w, true);
    EXPECT_TRUE(IsZoomed(hwnd(w)));
}

// The program keeps counting in the pixels of the screen it started on; the window zooms them.
TEST_F(PlatformTest, AWindowMovedToAScreenOfAnotherDensityTakesTheSystemsSuggestionAndZoomsItsContent) {
    const Handle w = platform->windows.createWindow(spec("Density"));
    platform->windows.setWindowRect(w, {100, 100, 400, 200});
    const Handle label = platform->controls.createControl(w, control(ControlKind::Label, "Text", {10, 10, 80, 20}));
    platform->windows.setVisible(w, true);
    const auto font = [&] {
        LOGFONTA shown{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hwnd(label), WM_GETFONT, 0, 0)), sizeof shown, &shown);
        return shown;
    };
    ASSERT_STREQ(font().lfFaceName, "MS Sans Serif") << "the design's face at 96 DPI";
    EXPECT_EQ(font().lfHeight, -11);
    recorder.events.clear();
    RECT suggested{150, 120, 750, 420};  // half as dense again: 144 dots an inch
    SendMessageA(hwnd(w), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(platform->windows.windowRect(w), (Rect{150, 120, 400, 200})) << "600 x 300 of the screen's pixels";
    EXPECT_EQ(eventsOf(EventKind::Resize).size(), 0U) << "the program's size is as it was";
    EXPECT_EQ(eventsOf(EventKind::Moved).size(), 1U) << "the system's move, not the program's own";
    const auto placed = [&](Handle c) {
        RECT r{};
        GetWindowRect(hwnd(c), &r);
        MapWindowPoints(nullptr, hwnd(w), reinterpret_cast<POINT*>(&r), 2);
        return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    EXPECT_EQ(placed(label), (Rect{15, 15, 120, 30}));
    platform->controls.setControlRect(label, {20, 10, 80, 20});
    EXPECT_EQ(placed(label), (Rect{30, 15, 120, 30}));
    SendMessageA(hwnd(w), WM_MOUSEMOVE, 0, MAKELPARAM(31, 46));
    ASSERT_EQ(eventsOf(EventKind::MouseMove).size(), 1U);
    EXPECT_EQ(eventsOf(EventKind::MouseMove)[0].x, 20);
    EXPECT_EQ(eventsOf(EventKind::MouseMove)[0].y, 30);
    // Its text drawn at the new density, in a face that has every size.
    EXPECT_STRNE(font().lfFaceName, "MS Sans Serif");
    EXPECT_GE(-font().lfHeight, 14) << "8 points at 144 DPI are 16 pixels, a little less in a wider face";
    EXPECT_LE(-font().lfHeight, 16);
    SendMessageA(hwnd(w), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_STREQ(font().lfFaceName, "MS Sans Serif") << "and back";
    EXPECT_EQ(placed(label), (Rect{20, 10, 80, 20}));
}

TEST_F(PlatformTest, WindowEventsArriveAsTheToolkitWantsThem) {
    const Handle w = platform->windows.createWindow(spec("Events"));
    platform->windows.setVisible(w, true);
    SendMessageA(hwnd(w), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd(w))) << "a close request destroys nothing";
    ASSERT_EQ(eventsOf(EventKind::CloseRequest).size(), 1U);
    EXPECT_EQ(eventsOf(EventKind::CloseRequest)[0].target, w);

    SendMessageA(hwnd(w), WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(515, 7));
    ASSERT_EQ(eventsOf(EventKind::MouseMove).size(), 1U);
    const Event move = eventsOf(EventKind::MouseMove)[0];
    EXPECT_EQ(move.target, w);
    EXPECT_EQ(move.button, 1);
    EXPECT_EQ(move.shift, 1);
    EXPECT_EQ(move.x, 515);
    EXPECT_EQ(move.y, 7);

    const Handle timer = platform->windows.createTimer(w, 10);
    recorder.react = [&](const Event& e) {
        if (e.kind == EventKind::TimerTick && e.target == timer) platform->windows.quit(5);
    };
    EXPECT_EQ(runLoop(), 5);
    platform->windows.destroyTimer(timer);
    platform->windows.destroyWindow(w);
    EXPECT_FALSE(IsWindow(hwnd(w)));
    platform->windows.setVisible(w, true);  // a window that is gone is ignored
}

TEST_F(PlatformTest, NotificationIconCallbackArrivesAsItsMouseMessage) {
    const Handle w = platform->windows.createWindow(spec("Tray"));
    NotifyIconData data;
    data.window = w;
    data.id = 1;
    data.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.callbackMessage = WM_APP + 1;
    data.icon = platform->windows.windowIcon(w);
    data.tip = "Velmora" + std::string(57, ' ');
    EXPECT_TRUE(platform->desktop.notificationAreaAvailable());
    platform->native.shellNotifyIcon(NIM_DELETE, data);
    EXPECT_TRUE(platform->native.shellNotifyIcon(NIM_ADD, data));
    SendMessageA(hwnd(w), WM_APP + 1, 1, WM_RBUTTONUP);
    ASSERT_EQ(eventsOf(EventKind::NotifyIcon).size(), 1U);
    EXPECT_EQ(eventsOf(EventKind::NotifyIcon)[0].target, w);
    EXPECT_EQ(eventsOf(EventKind::NotifyIcon)[0].code, static_cast<unsigned>(WM_RBUTTONUP));
    EXPECT_TRUE(platform->native.shellNotifyIcon(NIM_DELETE, data));
    SendMessageA(hwnd(w), WM_APP + 1, 1, WM_RBUTTONUP);
    EXPECT_EQ(eventsOf(EventKind::NotifyIcon).size(), 1U) << "no icon, no callback";
}

TEST_F(PlatformTest, ClipboardHoldsPlainText) {
    platform->desktop.clipboardClear();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    platform->desktop.clipboardSetText("212");
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), "212");
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(PlatformTest, TheProcessAndItsDesktop) {
    EXPECT_NE(platform->desktop.exePath().find("velmora_win32_tests.exe"), std::string::npos);
    EXPECT_TRUE(platform->desktop.fileExists(platform->desktop.exePath()));
    EXPECT_FALSE(platform->desktop.fileExists("C:\\windows")) << "a folder is no file";
    EXPECT_FALSE(platform->desktop.fileExists(""));
    EXPECT_FALSE(platform->desktop.startProgram("C:\\no such folder\\nothing.exe", 1));
    EXPECT_DOUBLE_EQ(platform->desktop.twipsPerPixel(), 15.0) << "96 DPI here";
    const auto areas = platform->desktop.workAreas();
    ASSERT_FALSE(areas.empty());
    EXPECT_EQ(areas.front().left, 0) << "the primary screen first";
}

TEST_F(PlatformTest, ALateNotificationAreaIsWaitedForAWhileAndOnce) {
    EXPECT_EQ(platform->desktop.desktopArea(),
              (Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}))
        << "one screen here";
    platform->desktop.watchNotificationArea();
    EXPECT_EQ(eventsOf(EventKind::NotificationAreaAppeared).size(), 1U) << "Wine's own tray is there at once";

    // As on a desktop whose taskbar starts after the program.
    constexpr const char* kTaskbar = "VelmoraTestTaskbar";
    platform.reset();
    recorder.events.clear();
    platform = createPlatform({.notificationAreaWaitMs = 100, .taskbarClass = kTaskbar, .wineTrayCounts = false});
    platform->windows.setSink(&recorder);
    EXPECT_FALSE(platform->desktop.notificationAreaAvailable());
    const auto quitOn = [&](EventKind kind) {
        recorder.react = [&, kind](const Event& e) {
            if (e.kind == kind) platform->windows.quit(7);
        };
    };
    quitOn(EventKind::NotificationAreaAbsent);
    platform->desktop.watchNotificationArea();
    EXPECT_TRUE(recorder.events.empty()) << "no answer before the wait ends";
    EXPECT_EQ(runLoop(), 7);

    // The taskbar comes, and tells every window so.
    recorder.events.clear();
    quitOn(EventKind::NotificationAreaAppeared);
    platform->desktop.watchNotificationArea();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = kTaskbar;
    RegisterClassA(&wc);
    const HWND taskbar = CreateWindowExA(0, kTaskbar, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(runLoop(), 7);
    Sleep(200);
    pump();
    EXPECT_EQ(recorder.events.size(), 1U) << "one answer, and nothing after it";
    recorder.react = nullptr;
    platform->desktop.watchNotificationArea();
    EXPECT_EQ(recorder.events.size(), 2U) << "there now: the answer comes at once";
    DestroyWindow(taskbar);
    UnregisterClassA(kTaskbar, nullptr);
}

TEST_F(PlatformTest, BadCallsFailAsOnEveryPlatform) { contract::expectBadCallsFailAlike(*platform); }

// A second start of the program tells the first and leaves.
TEST_F(PlatformTest, ASecondCopyHandsOverToTheFirst) {
    ASSERT_TRUE(platform->desktop.becomePrimaryInstance("show"));
    recorder.react = [&](const Event& e) {
        if (e.kind == EventKind::AnotherInstance) platform->windows.quit(3);
    };
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command =
        std::string("\"") + self + "\" --gtest_also_run_disabled_tests --gtest_filter=SecondCopy.DISABLED_LeavesAtOnce";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second{};
    ASSERT_TRUE(
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &second));
    EXPECT_EQ(runLoop(), 3) << "the first copy heard of the second";
    WaitForSingleObject(second.hProcess, 10000);
    DWORD code = 1;
    GetExitCodeProcess(second.hProcess, &code);
    EXPECT_EQ(code, 0U) << "the second copy saw it was not the first";
    CloseHandle(second.hThread);
    CloseHandle(second.hProcess);
}

// Run only by the test above, in a process of its own.
TEST(SecondCopy, DISABLED_LeavesAtOnce) {
    const auto platform = createPlatform();
    EXPECT_FALSE(platform->desktop.becomePrimaryInstance("show"));
}

}  // namespace
}  // namespace velmora::platform::win32
