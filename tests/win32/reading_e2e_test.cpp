// The reading tools from outside the running program: the global hotkeys, clicks
// through the tint, and the reading ruler following the pointer in the tint's strength.
#include "driver.h"

namespace velmora::e2e {
namespace {

constexpr const char* kRuler = "Velmora reading ruler";
constexpr COLORREF kDefaultTint = RGB(144, 195, 212);

LONG exStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }
RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}
BYTE alphaOf(HWND window) {
    BYTE alpha = 0;
    GetLayeredWindowAttributes(window, nullptr, &alpha, nullptr);
    return alpha;
}

using ReadingToolsE2E = ProgramTest;

TEST_F(ReadingToolsE2E, HotkeysReachTheProgramWhicheverWindowHasTheKeyboard) {
    seedShown(6000, 3000);
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
    const OwnWindow own({900, 500, 1100, 700});
    SetForegroundWindow(own.hwnd());
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == own.hwnd(); }));

    pressKeys({VK_CONTROL, VK_MENU, 'O'});
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); })) << "Ctrl+Alt+O hides the tint";
    pressKeys({VK_CONTROL, VK_MENU, 'O'});
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; })) << "and shows it again";

    pressKeys({VK_CONTROL, VK_MENU, 'P'});
    EXPECT_TRUE(waitUntil([&] { return (exStyle(overlay) & WS_EX_TRANSPARENT) != 0; })) << "Ctrl+Alt+P";
    EXPECT_EQ(settings::stored("clickthrough"), " 1");

    pressKeys({VK_CONTROL, VK_MENU, 'R'});
    HWND ruler = program.waitForWindow(kRuler);
    ASSERT_NE(ruler, nullptr) << "Ctrl+Alt+R";
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(ruler) != FALSE; }));
    EXPECT_EQ(settings::stored("ruler"), " 1");
    EXPECT_EQ(GetWindowLongA(ruler, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0) << "no frame";
    EXPECT_EQ(exStyle(ruler) & (WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW),
              WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW);
    EXPECT_NE(GetWindow(ruler, GW_OWNER), nullptr) << "no taskbar button";
    EXPECT_NE(GetForegroundWindow(), ruler) << "never given the keyboard";
    pressKeys({VK_CONTROL, VK_MENU, 'R'});
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(ruler); }));
    EXPECT_EQ(settings::stored("ruler"), " 0");
}

TEST_F(ReadingToolsE2E, ClicksGoThroughTheTintToTheWindowBeneathIt) {
    seedShown(6000, 3000);
    settings::seed("clickthrough", " 1");
    settings::seed("alpha", " 200");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
    EXPECT_TRUE(waitUntil([&] { return alphaOf(overlay) == 200; })) << "the stored strength";
    EXPECT_NE(exStyle(overlay) & WS_EX_TRANSPARENT, 0);
    const OwnWindow own(windowRect(overlay));
    SetWindowPos(own.hwnd(), overlay, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);  // beneath it

    // On the tint, and on its Exit button, which cannot be pressed now.
    RECT client{};
    GetClientRect(overlay, &client);
    clickWithPointer(overlay, client.right / 4, client.bottom - 10);
    EXPECT_TRUE(waitUntil([&] { return own.clicks() == 1; })) << "the window beneath is clicked";
    const RECT exit = rectInParent(overlayButtons(overlay).exit);
    clickWithPointer(overlay, (exit.left + exit.right) / 2, (exit.top + exit.bottom) / 2);
    EXPECT_TRUE(waitUntil([&] { return own.clicks() == 2; }));
    EXPECT_TRUE(program.running());
}

TEST_F(ReadingToolsE2E, TheRulerFollowsThePointerInTheTintsStrength) {
    settings::seed("ruler", " 1");
    settings::seed("alpha", " 200");
    SetCursorPos(640, 300);
    program.start();
    HWND ruler = program.waitForWindow(kRuler);
    ASSERT_NE(ruler, nullptr);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(ruler) != FALSE; }));
    COLORREF key = 0;
    BYTE alpha = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(ruler, &key, &alpha, nullptr));
    EXPECT_EQ(key, kDefaultTint);
    EXPECT_EQ(alpha, 200);
    const auto centredAt = [&](LONG y) {
        const RECT r = windowRect(ruler);
        return r.left == 0 && r.right == GetSystemMetrics(SM_CXSCREEN) && r.top == y - 24 && r.bottom == y + 24;
    };
    EXPECT_TRUE(waitUntil([&] { return centredAt(300); })) << "48 pixels tall across the screen";
    SetCursorPos(100, 500);
    EXPECT_TRUE(waitUntil([&] { return centredAt(500); })) << windowRect(ruler).top;
}

}  // namespace
}  // namespace velmora::e2e
