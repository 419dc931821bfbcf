// The Windows platform inside one process under Wine: what its operations
// mean in native windows, the registry and the message loop.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

// clang-format off
// The program's own Win32 names come before the SDK's macros of the same names.
#include "../contract/platform_contract.h"
namespace {
// HKEY_LOCAL_MACHINE as the program names it (its 32-bit value), and the access it asks for.
constexpr velmora::platform::Handle kLocalMachine = velmora::platform::win::HKEY_LOCAL_MACHINE;
constexpr unsigned kAllAccess = velmora::platform::win::KEY_ALL_ACCESS;
}  // namespace
#include "platform/win32/platform.h"
#include "platform/win32/handles.h"
#include <oleacc.h>
// clang-format on

namespace velmora::platform::win32 {
namespace {

constexpr const char* kTestApp = "VelmoraPlatformTest";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct Recorder : EventSink {
    void onEvent(const Event& event) override {
        events.push_back(event);
        if (react) react(event);
    }
    std::vector<Event> events;
    std::function<void(const Event&)> react;
};

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\VB and VBA Program Settings\\" + std::string(kTestApp)).c_str());
        platform = createPlatform();
        platform->windows.setSink(&recorder);
    }
    void TearDown() override { platform.reset(); }

    void pump() {
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // Runs the platform's own loop until the sink quits it, or gives up after a while.
    int runLoop() {
        const Handle guard = platform->windows.createTimer(host(), 5000);
        const auto previous = recorder.react;
        recorder.react = [&, previous](const Event& e) {
            if (e.kind == EventKind::TimerTick && e.target == guard) platform->windows.quit(-1);
            if (previous) previous(e);
        };
        const int code = platform->windows.run();
        platform->windows.destroyTimer(guard);
        recorder.react = previous;
        return code;
    }
    Handle host() { return hostWindow ? hostWindow : (hostWindow = platform->windows.createWindow(spec("Host"))); }
    static WindowSpec spec(const std::string& name) {
        WindowSpec s;
        s.name = name;
        s.caption = name;
        s.clientSize = {300, 200};
        return s;
    }
    static ControlSpec control(ControlKind kind, const std::string& text, Rect rect, int tabIndex = -1) {
        ControlSpec c;
        c.kind = kind;
        c.name = text;
        c.text = text;
        c.rect = rect;
        c.tabIndex = tabIndex;
        return c;
    }
    std::vector<Event> eventsOf(EventKind kind) {
        std::vector<Event> found;
        for (const auto& e : recorder.events) {
            if (e.kind == kind) found.push_back(e);
        }
        return found;
    }
    static HWND hwnd(Handle h) { return reinterpret_cast<HWND>(h); }

    Recorder recorder;
    std::unique_ptr<Platform> platform;
    Handle hostWindow = 0;
};

TEST_F(PlatformTest, SettingsLiveWhereEarlierVersionsKeptThem) {
    SettingsStore& store = platform->settings;
    EXPECT_EQ(store.get(kTestApp, "config", "red"), "") << "never written";
    EXPECT_TRUE(store.save(kTestApp, "config", "width", " 7200"));
    EXPECT_EQ(store.get(kTestApp, "config", "width"), " 7200");

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
    EXPECT_EQ(store.get(kTestApp, "config", "green"), "") << "not text: as if never written";

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

TEST_F(PlatformTest, AWindowMovedToAScreenOfAnotherDensityTakesTheSystemsSuggestion) {
    const Handle w = platform->windows.createWindow(spec("Density"));
    platform->windows.setWindowRect(w, {100, 100, 400, 200});
    platform->windows.setVisible(w, true);
    recorder.events.clear();
    RECT suggested{150, 120, 750, 420};  // half as dense again: 144 dots an inch
    SendMessageA(hwnd(w), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(platform->windows.windowRect(w), (Rect{150, 120, 600, 300}));
    EXPECT_EQ(eventsOf(EventKind::Resize).size(), 1U);
    EXPECT_EQ(eventsOf(EventKind::Moved).size(), 1U) << "the system's move, not the program's own";
}

TEST_F(PlatformTest, ControlsReportClicksTheWayTheProgramExpects) {
    const Handle w = platform->windows.createWindow(spec("Controls"));
    const Handle button =
        platform->controls.createControl(w, control(ControlKind::CommandButton, "&Go", {10, 10, 80, 24}, 0));
    const Handle box = platform->controls.createControl(w, control(ControlKind::CheckBox, "Tick", {10, 40, 80, 24}, 1));
    const Handle label = platform->controls.createControl(w, control(ControlKind::Label, "Link", {10, 70, 80, 24}));
    const Handle edit = platform->controls.createControl(w, control(ControlKind::TextBox, "12", {10, 100, 80, 24}, 2));
    ControlSpec t = control(ControlKind::CommandButton, "Bring to front", {100, 10, 80, 24}, 3);
    t.toggle = true;
    const Handle toggle = platform->controls.createControl(w, t);
    platform->windows.setVisible(w, true);

    // A toggle shows its state pressed, as a check box that looks like a button, which the program sets.
    EXPECT_EQ(GetWindowLongA(hwnd(toggle), GWL_STYLE) & (BS_PUSHLIKE | BS_TYPEMASK), BS_PUSHLIKE | BS_CHECKBOX);
    SendMessageA(hwnd(toggle), BM_CLICK, 0, 0);
    EXPECT_EQ(platform->controls.checkValue(toggle), 0) << "a click is only reported";
    platform->controls.setCheckValue(toggle, 1);
    EXPECT_EQ(SendMessageA(hwnd(toggle), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(platform->controls.checkValue(toggle), 1);

    SendMessageA(hwnd(button), BM_CLICK, 0, 0);
    SendMessageA(hwnd(box), BM_CLICK, 0, 0);
    std::vector<int> valuesSeen;
    recorder.react = [&](const Event& e) {
        if (e.target == box) valuesSeen.push_back(platform->controls.checkValue(box));
    };
    SendMessageA(hwnd(box), BM_CLICK, 0, 0);
    platform->controls.setCheckValue(box, 2);
    SendMessageA(hwnd(box), BM_CLICK, 0, 0);
    SendMessageA(hwnd(label), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(hwnd(label), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(hwnd(edit), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(hwnd(edit), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    pump();

    std::vector<Handle> clicked;
    for (const auto& e : eventsOf(EventKind::Click)) clicked.push_back(e.target);
    EXPECT_EQ(clicked, (std::vector<Handle>{toggle, button, box, box, box, label, edit}));
    EXPECT_EQ(valuesSeen, (std::vector<int>{0, 1})) << "a box toggles before it reports; greyed becomes ticked";
    EXPECT_EQ(platform->controls.controlText(edit), "12");
    platform->controls.setControlText(edit, "255");
    EXPECT_EQ(platform->controls.controlText(edit), "255");
}

TEST_F(PlatformTest, AWholeNumberBoxTakesNothingElseTypedOrPasted) {
    const Handle w = platform->windows.createWindow(spec("Numbers"));
    ControlSpec c = control(ControlKind::TextBox, "12", {10, 10, 60, 24}, 0);
    c.wholeNumberMax = 255;
    const Handle handle = platform->controls.createControl(w, c);
    const HWND box = hwnd(handle);
    const auto text = [&] { return platform->controls.controlText(handle); };
    EXPECT_NE(GetWindowLongA(box, GWL_STYLE) & ES_NUMBER, 0);
    const auto type = [&](char key) { SendMessageA(box, WM_CHAR, static_cast<WPARAM>(key), 1); };
    const auto paste = [&](const std::string& text) {
        platform->desktop.clipboardSetText(text);
        SendMessageA(box, EM_SETSEL, 0, -1);
        SendMessageA(box, WM_PASTE, 0, 0);
    };
    SendMessageA(box, EM_SETSEL, 2, 2);
    type('x');
    type('5');
    EXPECT_EQ(text(), "125");
    type('0');
    EXPECT_EQ(text(), "125") << "three digits at most";
    paste("4x");
    EXPECT_EQ(text(), "125") << "pasted letters";
    paste("256");
    EXPECT_EQ(text(), "125") << "past the maximum";
    paste("-1");
    EXPECT_EQ(text(), "125");
    paste("007");
    EXPECT_EQ(text(), "007");
    SendMessageA(box, EM_SETSEL, 0, -1);
    type('\b');
    EXPECT_EQ(text(), "") << "emptied, to type anew";
}

// What a screen reader hears of a window through Microsoft Active Accessibility.
struct Heard {
    std::string name;
    long role = 0;
};

Heard heard(HWND hwnd) {
    Heard h;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return h;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        for (const WCHAR* c = name; *c != 0; ++c) h.name += static_cast<char>(*c);
    }
    SysFreeString(name);
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) h.role = role.lVal;
    object->Release();
    return h;
}

TEST_F(PlatformTest, ScreenReadersHearTheNamesOfControlsWhoseTextSaysNothing) {
    const Handle w = platform->windows.createWindow(spec("Set translucency color"));
    ControlSpec picture = control(ControlKind::PictureBox, "", {10, 10, 40, 40}, 0);
    picture.accessibleName = "Colour spectrum";
    picture.picture = {2, 2, std::vector<Color>(4, 0x00336699)};
    const HWND spectrum = hwnd(platform->controls.createControl(w, picture));
    const Handle frame = platform->controls.createControl(w, control(ControlKind::Frame, "", {0, 60, 300, 60}, 1));
    std::vector<HWND> boxes;
    for (const char* name : {"Red", "Green", "Blue"}) {
        ControlSpec box = control(ControlKind::TextBox, "", {10 + 50 * static_cast<int>(boxes.size()), 10, 40, 20},
                                  2 + static_cast<int>(boxes.size()));
        box.accessibleName = name;
        box.accessibleDescription = "A whole number from 0 to 255";
        boxes.push_back(hwnd(platform->controls.createControl(frame, box)));
    }
    ControlSpec swatch = control(ControlKind::Label, "", {170, 10, 17, 17});
    swatch.accessibleName = "Chosen colour";
    swatch.backColor = 0x000000FF;
    const Handle swatchHandle = platform->controls.createControl(frame, swatch);
    platform->controls.setAccessibleDescription(swatchHandle, "Red 255, green 0, blue 0");
    platform->windows.setVisible(w, true);

    EXPECT_EQ(heard(hwnd(w)).name, "Set translucency color");
    EXPECT_EQ(heard(hwnd(w)).role, ROLE_SYSTEM_CLIENT) << "a window, not a filler";
    EXPECT_EQ(heard(spectrum).name, "Colour spectrum");
    EXPECT_EQ(heard(boxes[0]).name, "Red");
    EXPECT_EQ(heard(boxes[1]).name, "Green");
    EXPECT_EQ(heard(boxes[2]).name, "Blue");
    EXPECT_EQ(heard(boxes[2]).role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(heard(hwnd(swatchHandle)).name, "Chosen colour");
    // The names stay unseen: the swatch shows its colour only, and Tab still walks the boxes.
    UpdateWindow(hwnd(w));
    WindowDC shown(hwnd(swatchHandle));
    EXPECT_EQ(GetPixel(shown.get(), 7, 7), 0x000000FFU);
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), spectrum, FALSE), boxes[0]);
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), boxes[0], FALSE), boxes[1]);
}

TEST_F(PlatformTest, TabEnterEscapeAndMnemonicsWorkInEveryWindow) {
    const Handle w = platform->windows.createWindow(spec("Keys"));
    ControlSpec ok = control(ControlKind::CommandButton, "&OK", {10, 10, 80, 24}, 2);
    ok.isDefault = true;
    ControlSpec cancel = control(ControlKind::CommandButton, "Cancel", {100, 10, 80, 24}, 0);
    cancel.isCancel = true;
    // Created out of order: Tab follows the tab index, not the order of creation.
    const Handle okButton = platform->controls.createControl(w, ok);
    const Handle cancelButton = platform->controls.createControl(w, cancel);
    const Handle edit = platform->controls.createControl(w, control(ControlKind::TextBox, "", {10, 40, 80, 24}, 1));
    const Handle link = platform->controls.createControl(w, control(ControlKind::Label, "a link", {10, 70, 80, 24}, 3));
    const Handle label = platform->controls.createControl(w, control(ControlKind::Label, "text", {10, 100, 80, 24}));
    platform->windows.setVisible(w, true);
    SetForegroundWindow(hwnd(w));
    pump();
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), nullptr, FALSE), hwnd(cancelButton));
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), hwnd(cancelButton), FALSE), hwnd(edit));
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), hwnd(edit), FALSE), hwnd(okButton));
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), hwnd(okButton), FALSE), hwnd(link)) << "a label with a tab stop is a link";
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), hwnd(link), FALSE), hwnd(cancelButton)) << "a plain label is no stop";
    EXPECT_EQ(GetWindowLongA(hwnd(label), GWL_STYLE) & WS_TABSTOP, 0);

    recorder.react = [&](const Event& e) {
        if (e.kind == EventKind::Click) platform->windows.quit(e.target == okButton ? 1 : e.target == link ? 3 : 2);
    };
    SetFocus(hwnd(edit));
    PostMessageA(hwnd(edit), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(runLoop(), 1) << "Enter presses the default button";
    PostMessageA(hwnd(edit), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(runLoop(), 2) << "Escape presses the cancel button";
    PostMessageA(hwnd(edit), WM_SYSCHAR, 'o', 1 | (1 << 29));
    EXPECT_EQ(runLoop(), 1) << "Alt+O presses &OK";
    SetFocus(hwnd(cancelButton));
    PostMessageA(hwnd(cancelButton), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(runLoop(), 2) << "Enter presses the focused button";
    SetFocus(hwnd(link));
    PostMessageA(hwnd(link), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(runLoop(), 3) << "Enter follows a focused link";
    PostMessageA(hwnd(link), WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(runLoop(), 3) << "and so does Space";
    PostMessageA(hwnd(link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 5));
    PostMessageA(hwnd(link), WM_LBUTTONUP, 0, MAKELPARAM(3, 5));
    EXPECT_EQ(runLoop(), 3) << "and a click on it";
    EXPECT_EQ(eventsOf(EventKind::Click).size(), 7U) << "each press and follow once";

    // With no cancel button, Escape closes a window that asks for it, as its close box does.
    recorder.react = nullptr;
    WindowSpec closing = spec("Closes on Escape");
    closing.closeOnEscape = true;
    const std::vector<Handle> others{platform->windows.createWindow(closing),
                                     platform->windows.createWindow(spec("Stays"))};
    for (const Handle other : others) {
        const Handle box =
            platform->controls.createControl(other, control(ControlKind::TextBox, "", {10, 10, 80, 24}, 0));
        platform->windows.setVisible(other, true);
        EXPECT_EQ(GetFocus(), hwnd(box)) << "shown, a window has the keyboard on its first control";
        PostMessageA(hwnd(box), WM_KEYDOWN, VK_ESCAPE, 1);
        platform->windows.quit(0);
        platform->windows.run();
    }
    ASSERT_EQ(eventsOf(EventKind::CloseRequest).size(), 1U);
    EXPECT_EQ(eventsOf(EventKind::CloseRequest)[0].target, others[0]);
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

TEST_F(PlatformTest, PictureBoxesShowTheirPictureAndReportTheMouse) {
    const Handle w = platform->windows.createWindow(spec("Picture"));
    ControlSpec p = control(ControlKind::PictureBox, "", {10, 10, 6, 6}, 0);
    p.border = true;
    p.picture = {4, 4, std::vector<Color>(16, 0x00336699)};
    p.picture.pixels[5] = 0x00010203;  // x 1, y 1
    const Handle picture = platform->controls.createControl(w, p);
    const Handle marker = platform->controls.createControl(picture, control(ControlKind::Shape, "", {0, 0, 3, 3}));
    EXPECT_NE(marker, 0);

    // Sampled from the picture itself, hidden or covered.
    const Handle dc = platform->controls.pictureDC(picture);
    EXPECT_EQ(platform->native.getPixel(dc, 1, 1), 0x00010203U);
    EXPECT_EQ(platform->native.getPixel(dc, 0, 0), 0x00336699U);
    EXPECT_EQ(platform->native.getPixel(dc, 9, 9), CLR_INVALID);
    RECT client{};
    GetClientRect(hwnd(picture), &client);
    EXPECT_EQ(client.right, 4) << "a one-pixel border";

    SendMessageA(hwnd(picture), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(2, 3));
    SendMessageA(hwnd(picture), WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(static_cast<WORD>(-4), 9));
    SendMessageA(hwnd(picture), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 1));
    const auto downs = eventsOf(EventKind::MouseDown);
    const auto moves = eventsOf(EventKind::MouseMove);
    ASSERT_EQ(downs.size(), 2U);
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(downs[0].target, picture);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_EQ(downs[0].shift, 2);
    EXPECT_EQ(downs[0].x, 2);
    EXPECT_EQ(downs[0].y, 3);
    EXPECT_EQ(moves[0].button, 3) << "both buttons held";
    EXPECT_EQ(moves[0].x, -4) << "dragged past the left edge";
    EXPECT_EQ(downs[1].button, 2);

    // With a tab stop it takes the keyboard, shows it has it, and hears the arrow keys.
    const Handle after = platform->controls.createControl(w, control(ControlKind::TextBox, "", {30, 10, 40, 20}, 1));
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), nullptr, FALSE), hwnd(picture));
    platform->windows.setVisible(w, true);
    EXPECT_EQ(GetFocus(), hwnd(picture)) << "its first control";
    // The right-hand column, which the marker does not cover.
    const auto edge = [&] {
        RedrawWindow(hwnd(picture), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WindowDC shown(hwnd(picture));
        std::vector<COLORREF> column;
        for (int y = 0; y < 4; ++y) column.push_back(GetPixel(shown.get(), 3, y));
        return column;
    };
    const std::vector<COLORREF> plain(4, 0x00336699);
    EXPECT_NE(edge(), plain) << "a focus mark";
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(hwnd(picture), WM_KEYDOWN, VK_LEFT, 1);
    PostMessageA(hwnd(picture), WM_KEYDOWN, VK_DOWN, 1);
    platform->windows.quit(0);
    platform->windows.run();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    const auto pressed = eventsOf(EventKind::KeyDown);
    ASSERT_EQ(pressed.size(), 2U) << "the arrows stay with the picture";
    EXPECT_EQ(pressed[0].target, picture);
    EXPECT_EQ(pressed[0].code, static_cast<unsigned>(VK_LEFT));
    EXPECT_EQ(pressed[0].shift, 1);
    EXPECT_EQ(pressed[1].code, static_cast<unsigned>(VK_DOWN));
    EXPECT_EQ(GetFocus(), hwnd(picture));
    SetFocus(hwnd(after));
    EXPECT_EQ(edge(), plain) << "no mark without the keyboard";
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
    ASSERT_TRUE(platform->desktop.becomePrimaryInstance());
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
    EXPECT_FALSE(platform->desktop.becomePrimaryInstance());
}

}  // namespace
}  // namespace velmora::platform::win32
