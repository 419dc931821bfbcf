// The tint overlay as a person sees it, from outside the running program.
#include <cstdlib>

#include "driver.h"

namespace velmora::e2e {
namespace {

using OverlayE2E = ProgramTest;

TEST_F(OverlayE2E, EmptyStoreGivesTheTranslucentDefaultTintHiddenInTheMiddle) {
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(waitUntil([&] { return (GetWindowLongA(overlay, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }));
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(overlay, &key, &alpha, &flags));
    EXPECT_EQ(alpha, 150);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    EXPECT_EQ(key, RGB(144, 195, 212));
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); })) << "tint absent: hidden after start-up";
    // The whole overlay, buttons and all, in the middle of the primary screen's work area.
    RECT r{};
    GetWindowRect(overlay, &r);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((r.left - work.left) - (work.right - r.right)), 1) << r.left << " " << r.right;
    EXPECT_LE(std::abs((r.top - work.top) - (work.bottom - r.bottom)), 1) << r.top << " " << r.bottom;
    EXPECT_TRUE(program.running());
}

TEST_F(OverlayE2E, TintFillsTheClientArea) {
    seedShown(6000, 3000);
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
    RECT client{};
    GetClientRect(overlay, &client);
    EXPECT_TRUE(waitUntil([&] {
        return screenPixel(overlay, client.right / 2, client.bottom - 3) == RGB(144, 195, 212);
    })) << std::hex
        << screenPixel(overlay, client.right / 2, client.bottom - 3);
}

TEST_F(OverlayE2E, StoredColourIsAppliedAndAnAbsurdOneClamped) {
    const struct {
        const char* red;
        const char* green;  // nullptr: absent
        const char* blue;
        COLORREF expected;
    } cases[] = {
        {"255", "10", nullptr, RGB(255, 10, 0)},
        {"1e308", "-7", "70000", RGB(255, 0, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("red=") + c.red);
        settings::clear();
        seedShown(6000, 3000);
        settings::seed("red", c.red);
        if (c.green != nullptr) settings::seed("green", c.green);
        if (c.blue != nullptr) settings::seed("blue", c.blue);
        HWND overlay = startOverlay();
        ASSERT_NE(overlay, nullptr);
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD flags = 0;
        EXPECT_TRUE(waitUntil([&] { return GetLayeredWindowAttributes(overlay, &key, &alpha, &flags) != FALSE; }));
        EXPECT_EQ(key, c.expected);
        EXPECT_EQ(alpha, 150);
        EXPECT_TRUE(waitUntil([&] { return screenPixel(overlay, 200, 150) == c.expected; }))
            << std::hex << screenPixel(overlay, 200, 150);
        // A few ticks later the program still runs and shows no error.
        Sleep(300);
        EXPECT_TRUE(program.running());
        EXPECT_EQ(program.findWindowOfClass("#32770"), nullptr) << "no message box";
    }
}

TEST_F(OverlayE2E, GeometryIsRestoredAndSavedBackAfterAMove) {
    settings::seed("tint", " 1");
    settings::seed("width", " 6000");
    settings::seed("height", " 3000.4");
    settings::seed("top", " 1500");
    settings::seed("left", " 1500");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    RECT r{};
    EXPECT_TRUE(waitUntil([&] {
        GetWindowRect(overlay, &r);
        return r.left == 100 && r.top == 100 && r.right == 500 && r.bottom == 300;
    })) << r.left
        << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
    EXPECT_TRUE(waitUntil([] { return settings::stored("height") == " 3000.4"; })) << "written back unchanged";
    EXPECT_EQ(settings::stored("width"), " 6000");

    placeWindow(overlay, 200, 150, 450, 240);
    EXPECT_TRUE(waitUntil([] { return settings::stored("left") == " 3000"; }, 2s)) << *settings::stored("left");
    EXPECT_EQ(settings::stored("top"), " 2250");
    EXPECT_EQ(settings::stored("width"), " 6750");
    EXPECT_EQ(settings::stored("height"), " 3600");

    // The next start puts it back where it was left.
    program.stop();
    overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(waitUntil([&] {
        GetWindowRect(overlay, &r);
        return r.left == 200 && r.top == 150 && r.right - r.left == 450 && r.bottom - r.top == 240;
    })) << r.left
        << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
}

// A stored width or height that cannot be read, or that would hide the buttons, gives
// the designer's (8385 by 3015 twips inside the frame) at the stored place.
TEST_F(OverlayE2E, AnUnusableStoredSizeGivesTheDesignerSizeWithEveryButtonInSight) {
    const struct {
        const char* key;
        std::string value;
    } cases[] = {
        {"width", ""}, {"height", "NaN"}, {"width", " 0"}, {"height", "1e308"}, {"width", std::string(10240, '7')}};
    for (const auto& c : cases) {
        const bool width = std::string(c.key) == "width";
        SCOPED_TRACE(c.key + (" " + c.value.substr(0, 8)));
        settings::clear();
        settings::seed("tint", " 1");
        settings::seed("left", " 1500");
        settings::seed("top", " 1500");
        settings::seed("width", " 9000");
        settings::seed("height", " 3600");
        settings::seed(c.key, c.value);
        HWND overlay = startOverlay();
        ASSERT_NE(overlay, nullptr);
        ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
        RECT r{};
        RECT client{};
        GetWindowRect(overlay, &r);
        GetClientRect(overlay, &client);
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 100);
        EXPECT_EQ(width ? client.right : client.bottom, width ? 559 : 201) << "the designer's";
        EXPECT_EQ(width ? r.bottom - r.top : r.right - r.left, width ? 240 : 600) << "the other as stored";
        const auto [exit, colour, front] = overlayButtons(overlay);
        for (HWND button : {exit, colour, front}) {
            const RECT b = rectInParent(button);
            EXPECT_TRUE(b.left >= 0 && b.right <= client.right && b.bottom <= client.bottom) << windowText(button);
        }
    }
}

TEST_F(OverlayE2E, ButtonsStandRightAlignedInTabOrderAndFollowAResize) {
    seedShown(4500, 3000);
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    const auto [exit, colour, front] = overlayButtons(overlay);
    ASSERT_TRUE(overlayButtons(overlay).found());
    // 2200, 200 and -1800 twips, 200 twips down, at 15 twips a pixel.
    EXPECT_TRUE(waitUntil([&] { return rectInParent(exit).left == 147; }))
        << rectInParent(exit).left << " " << rectInParent(exit).top;
    EXPECT_EQ(rectInParent(colour).left, 13);
    EXPECT_EQ(rectInParent(front).left, -120);
    EXPECT_EQ(rectInParent(exit).top, 13);
    EXPECT_EQ(rectInParent(exit).right - rectInParent(exit).left, 121) << "1815 twips wide";
    EXPECT_EQ(children(overlay), (std::vector<HWND>{exit, colour, front})) << "Tab walks them in this order";

    placeWindow(overlay, 0, 0, 600, 300);  // 9000 twips
    EXPECT_TRUE(waitUntil([&] { return rectInParent(exit).left == 447; })) << rectInParent(exit).left;
    EXPECT_EQ(rectInParent(colour).left, 313);
    EXPECT_EQ(rectInParent(front).left, 180);
    EXPECT_EQ(rectInParent(front).top, 13);
}

TEST_F(OverlayE2E, CloseBoxHidesTheOverlayWhileTheProgramRunsAndSaves) {
    settings::seed("tint", " 1");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
    PostMessageA(overlay, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); }));
    Sleep(300);
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(IsWindow(overlay)) << "hidden, not destroyed";

    placeWindow(overlay, 10, 20, 300, 200);
    EXPECT_TRUE(waitUntil([] { return settings::stored("left") == " 150"; }, 2s)) << "the timer still saves";
    EXPECT_EQ(settings::stored("top"), " 300");
}

TEST_F(OverlayE2E, ExitEndsTheProgram) {
    settings::seed("tint", " 1");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    const OverlayButtons buttons = overlayButtons(overlay);
    ASSERT_TRUE(buttons.found());
    PostMessageA(buttons.exit, BM_CLICK, 0, 0);
    EXPECT_EQ(program.waitForExit(), 0U);
}

TEST_F(OverlayE2E, SetScreenColorOpensThePickerNotTopmost) {
    settings::seed("tint", " 1");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    HWND colour = findChild(overlay, "Set screen color");
    ASSERT_NE(colour, nullptr);
    press(colour);
    HWND picker = program.waitForWindow("Set translucency color");
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(picker) != FALSE; }));
    EXPECT_EQ(GetWindowLongA(picker, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT client{};
    GetClientRect(picker, &client);
    EXPECT_EQ(client.right, 272);
    EXPECT_EQ(client.bottom, 327);
    EXPECT_TRUE(program.running());
}

TEST_F(OverlayE2E, TabWalksTheButtonsAndAltXExits) {
    seedShown(9000, 3000);
    settings::seed("tint", " 0");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    const auto [exit, colour, front] = overlayButtons(overlay);
    // Show in the menu gives it the keyboard (shown at start, it leaves the keyboard where it was).
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); }));
    ASSERT_NE(openFromMenu(overlay, kShow, "Velmora v1.0"), nullptr);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == overlay && focusOf(overlay) == exit; }))
        << "the first tab stop has the keyboard";
    pressKey(overlay, VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return focusOf(overlay) == colour; }));
    pressKey(overlay, VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return focusOf(overlay) == front; }));
    pressKey(overlay, VK_TAB);
    EXPECT_TRUE(waitUntil([&] { return focusOf(overlay) == exit; })) << "and round again";

    typeMnemonic(overlay, 'x');
    EXPECT_EQ(program.waitForExit(), 0U) << "Alt+X is E&xit";
}

}  // namespace
}  // namespace velmora::e2e
