// The reading tools from outside the running program: the global hotkeys, clicks
// through the tint, the reading ruler following the pointer in the tint's strength,
// the colour filter where Windows cannot have it, the colour finder and the favourites.
#include <cstdio>
#include <map>

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
    movePointer(640, 300);
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
    movePointer(100, 500);
    EXPECT_TRUE(waitUntil([&] { return centredAt(500); })) << windowRect(ruler).top;
    const LONG bottom = GetSystemMetrics(SM_CYSCREEN);
    movePointer(100, bottom - 1);
    EXPECT_TRUE(waitUntil([&] { return windowRect(ruler).bottom == bottom; })) << "the last row: whole on the screen";
}

// Wine has no magnification.dll, and no gamma ramp without XF86VidMode, which Xvfb lacks:
// chosen, the filter is told unavailable once and the tint window stands in.
TEST_F(ReadingToolsE2E, WithoutAColourFilterTheTintWindowStandsIn) {
    constexpr const char* kReason = "Windows offers neither a colour effect nor a gamma ramp here";
    const std::string told = std::string("Velmora cannot lay its tint as a colour filter here (") + kReason +
                             "), so it shows the tint window instead.";
    seedShown(6000, 3000);
    settings::seed("tintmode", " 1");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    HWND box = waitForMessageBox();
    ASSERT_NE(box, nullptr) << "told at start";
    EXPECT_EQ(messageBoxText(box), told);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; })) << "the tint window shows";
    EXPECT_TRUE(waitUntil([&] { return screenPixel(overlay, 100, 150) == kDefaultTint; }))
        << std::hex << screenPixel(overlay, 100, 150);

    HWND dialog = openFromMenu(overlay, kSettings, "Settings ");
    ASSERT_NE(dialog, nullptr);
    HWND filter = findChild(dialog, "Tint as a &colour filter: black text stays black");
    ASSERT_NE(filter, nullptr);
    EXPECT_NE(findChild(dialog, std::string("Not on this desktop: ") + kReason + "."), nullptr) << "the reason shows";
    EXPECT_EQ(SendMessageA(filter, BM_GETCHECK, 0, 0), BST_CHECKED) << "as stored";
    press(filter);
    EXPECT_EQ(settings::stored("tintmode"), " 0");
    pressLater(filter);
    box = waitForMessageBox();
    ASSERT_NE(box, nullptr) << "ticked, it tells";
    EXPECT_EQ(messageBoxText(box), told);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return SendMessageA(filter, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }))
        << "and the box clears";
    EXPECT_EQ(settings::stored("tintmode"), " 0");
    EXPECT_TRUE(IsWindowVisible(overlay));
    pressLater(overlayButtons(overlay).exit);
    EXPECT_EQ(program.waitForExit(), 0U) << "and it ends well";
}

// The colour most of an area of the screen shows: the page, beneath the words on it.
COLORREF pageColour(HWND window, const RECT& area) {
    std::map<COLORREF, int> seen;
    for (int i = 1; i < 8; ++i) {
        for (int j = 1; j < 8; ++j) {
            ++seen[screenPixel(window, area.left + (area.right - area.left) * i / 8,
                               area.top + (area.bottom - area.top) * j / 8)];
        }
    }
    return std::max_element(seen.begin(), seen.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
}

// How much redder than blue: the test's reader likes a rose.
int rosiness(COLORREF c) { return GetRValue(c) - GetBValue(c); }

TEST_F(ReadingToolsE2E, TheColourFinderAsksUntilItHasTheReadersColourAndUsesIt) {
    constexpr const char* kFound = "Your colour, on both sides";
    settings::seed("tint", " 1");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    HWND finder = openFromMenu(overlay, 'f', "Velmora colour finder");
    ASSERT_NE(finder, nullptr);
    HWND progress = findChild(finder, "Choice 1 of about 26");
    ASSERT_NE(progress, nullptr);
    // The two sides: labels in the picture box that has the keyboard.
    HWND samples = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (samples = focusOf(finder)) != nullptr && children(samples).size() == 2; }));
    std::vector<HWND> sides = children(samples);
    std::sort(sides.begin(), sides.end(), [](HWND a, HWND b) { return rectInParent(a).left < rectInParent(b).left; });
    const auto area = [&](HWND side) {
        RECT r = rectInParent(side);
        MapWindowPoints(samples, finder, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const auto pages = [&] {
        return std::pair{pageColour(finder, area(sides[0])), pageColour(finder, area(sides[1]))};
    };
    EXPECT_TRUE(waitUntil([&] { return pages().first != pages().second; })) << "two tints side by side";

    int answers = 0;
    int lastChoice = 1;
    while (windowText(progress) != kFound && answers < 30) {
        const std::string asked = windowText(progress);
        const auto [left, right] = pages();
        pressKey(finder, rosiness(left) > rosiness(right)   ? VK_LEFT
                         : rosiness(left) < rosiness(right) ? VK_RIGHT
                                                            : VK_DOWN);
        ++answers;
        ASSERT_TRUE(waitUntil([&] { return windowText(progress) != asked; })) << "answer " << answers;
        int choice = 0;
        if (std::sscanf(windowText(progress).c_str(), "Choice %d of about 26", &choice) == 1) {
            EXPECT_GT(choice, lastChoice) << windowText(progress);
            lastChoice = choice;
        }
    }
    ASSERT_EQ(windowText(progress), kFound) << "after " << answers << " answers";
    EXPECT_GE(answers, 26);
    EXPECT_TRUE(waitUntil([&] { return pages().first == pages().second; })) << "the colour found on both sides";
    EXPECT_GT(rosiness(pages().first), 0) << std::hex << pages().first;

    HWND use = findChild(finder, "&Use this colour");
    ASSERT_NE(use, nullptr);
    ASSERT_TRUE(IsWindowVisible(use));
    press(use);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(finder); })) << "the finder closes";
    int rgb[3] = {-1, -1, -1};
    const char* names[3] = {"red", "green", "blue"};
    for (int i = 0; i < 3; ++i) {
        const std::string text = settings::stored(names[i]).value_or("");
        ASSERT_TRUE(!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) << names[i] << text;
        rgb[i] = std::stoi(text);
        EXPECT_LE(rgb[i], 255);
    }
    EXPECT_GT(rgb[0], rgb[2]) << "a rose";
    const std::string alphaText = settings::stored("alpha").value_or("");
    ASSERT_FALSE(alphaText.empty());
    const int alpha = std::stoi(alphaText);
    EXPECT_TRUE(alpha >= 26 && alpha <= 255) << alphaText;
    COLORREF key = 0;
    BYTE shownAlpha = 0;
    EXPECT_TRUE(waitUntil([&] {
        return GetLayeredWindowAttributes(overlay, &key, &shownAlpha, nullptr) && key == RGB(rgb[0], rgb[1], rgb[2]) &&
               shownAlpha == alpha;
    })) << std::hex
        << key;
    EXPECT_TRUE(IsWindowVisible(overlay)) << "the tint shows";
    EXPECT_EQ(settings::stored("favourite1"), std::to_string(rgb[0]) + "," + std::to_string(rgb[1]) + "," +
                                                  std::to_string(rgb[2]) + "," + std::to_string(alpha) +
                                                  ",Found colour")
        << "kept as a favourite";
    EXPECT_TRUE(program.running());
}

// Whether a shown menu's entry (from 0, of so many) has a tick: anything drawn between the
// frame and where its text begins.
bool ticked(HWND menu, int entry, int entries) {
    RECT r{};
    GetClientRect(menu, &r);
    const int height = (r.bottom - 4) / entries;
    for (int y = 2 + entry * height; y < 2 + (entry + 1) * height; ++y) {
        const COLORREF back = screenPixel(menu, 17, y);
        for (int x = 4; x < 16; ++x) {
            if (screenPixel(menu, x, y) != back) return true;
        }
    }
    return false;
}

TEST_F(ReadingToolsE2E, FavouritesAreListedTickedChosenAndRemoved) {
    settings::seed("favourite1", "255,0,0,150,Red");
    settings::seed("favourite2", "0,0,255,255,Blue");
    settings::seed("red", "255");
    settings::seed("green", "0");
    settings::seed("blue", "0");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    const auto openFavourites = [&] {
        std::vector<HWND> menus;
        HWND menu = openIconMenu(program, overlay);
        if (menu == nullptr) return menus;
        PostMessageA(menu, WM_CHAR, 'a', 1);
        waitUntil([&] { return (menus = program.shownWindowsOfClass("#32768")).size() == 2; });
        return menus;
    };

    std::vector<HWND> menus = openFavourites();
    ASSERT_EQ(menus.size(), 2U) << "F&avourites opens its submenu";
    HWND submenu = menus[0];
    EXPECT_TRUE(waitUntil([&] { return ticked(submenu, 0, 2); })) << "Red, in use, is ticked";
    EXPECT_FALSE(ticked(submenu, 1, 2)) << "Blue is not";
    PostMessageA(submenu, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageA(submenu, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(waitUntil([] { return settings::stored("blue") == "255"; })) << "choosing Blue applies it";
    EXPECT_EQ(settings::stored("red"), "0");
    EXPECT_EQ(settings::stored("green"), "0");
    EXPECT_EQ(settings::stored("alpha"), " 255");
    COLORREF key = 0;
    BYTE alpha = 0;
    EXPECT_TRUE(waitUntil([&] {
        return GetLayeredWindowAttributes(overlay, &key, &alpha, nullptr) && key == RGB(0, 0, 255) && alpha == 255;
    })) << std::hex
        << key << " " << int{alpha};
    menus = openFavourites();
    ASSERT_EQ(menus.size(), 2U);
    EXPECT_TRUE(waitUntil([&] { return ticked(menus[0], 1, 2); })) << "now Blue is ticked";
    EXPECT_FALSE(ticked(menus[0], 0, 2));
    // Escape, one menu at a time, to whichever is in front, until none is shown.
    EXPECT_TRUE(waitUntil([&] {
        const auto shown = program.shownWindowsOfClass("#32768");
        if (shown.empty()) return true;
        PostMessageA(shown.front(), WM_KEYDOWN, VK_ESCAPE, 1);
        Sleep(200);
        return false;
    })) << "Escape closes the submenu and then the menu";

    HWND dialog = openFromMenu(overlay, kSettings, "Settings ");
    ASSERT_NE(dialog, nullptr);
    press(findChild(dialog, "Favour&ites..."));
    HWND window = program.waitForWindow("Velmora favourites");
    ASSERT_NE(window, nullptr);
    HWND list = nullptr;
    for (HWND c : children(window)) {
        if (className(c) == "ListBox") list = c;
    }
    ASSERT_NE(list, nullptr);
    // Wine hands a list box's text to another process as UTF-16, whichever call asks.
    const auto entries = [&] {
        std::vector<std::wstring> names;
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t name[256] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
            names.emplace_back(name);
        }
        return names;
    };
    EXPECT_EQ(entries(), (std::vector<std::wstring>{L"Red", L"Blue"}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "the first chosen";
    press(findChild(window, "Remo&ve"));
    EXPECT_EQ(entries(), std::vector<std::wstring>{L"Blue"});
    EXPECT_EQ(settings::stored("favourite1"), "0,0,255,255,Blue");
    EXPECT_EQ(settings::stored("favourite2"), "");
    EXPECT_TRUE(program.running());
}

}  // namespace
}  // namespace velmora::e2e
