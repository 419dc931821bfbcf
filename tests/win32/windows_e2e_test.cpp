// The windows around the overlay, as a person reaches them: the notification
// icon and its menu, the always-on-top toggle, the sponsor panel, the colour
// picker, the settings dialog, the About box, and a second start.
#include "driver.h"

namespace velmora::e2e {
namespace {

constexpr const char* kPanel = "Velmora is sponsored by :>";
constexpr const char* kPicker = "Set translucency color";
constexpr const char* kSponsorPage = "https://www.gutenberg.org/";

bool topmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The sponsor page's link: a SysLink, which screen readers announce as a link.
HWND sponsorLink(HWND panel) {
    for (HWND c : children(panel)) {
        if (className(c) == "SysLink" && windowText(c) == "<a>" + std::string(kSponsorPage) + "</a>") return c;
    }
    return nullptr;
}

class WindowsE2E : public ProgramTest {
protected:
    // Escape closes the window, and the program goes on.
    void expectEscapeCloses(HWND window, const char* how) {
        pressKey(window, VK_ESCAPE);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(window); })) << "Escape closes it: " << how;
        EXPECT_TRUE(program.running());
    }
    void SetUp() override {
        ProgramTest::SetUp();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Velmora");
    }
    void TearDown() override {
        ProgramTest::TearDown();
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Velmora");
    }
};

TEST_F(WindowsE2E, NotificationIconBringsTheOverlayBackAndItsMenuCommandsIt) {
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); })) << "starts hidden: tint absent";

    HWND menu = openIconMenu(program, overlay);
    ASSERT_NE(menu, nullptr) << "a right-click opens the menu";
    chooseMenuEntry(menu, kShow);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; })) << "Show";

    menu = openIconMenu(program, overlay);
    ASSERT_NE(menu, nullptr);
    chooseMenuEntry(menu, kHide);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); })) << "Hide";
    EXPECT_TRUE(program.running());

    notifyIcon(overlay, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; })) << "a double-click restores it";

    menu = openIconMenu(program, overlay);
    ASSERT_NE(menu, nullptr);
    PostMessageA(menu, WM_CHAR, 'x', 1);
    EXPECT_EQ(program.waitForExit(), 0U) << "E&xit ends the program";
}

TEST_F(WindowsE2E, BringToFrontKeepsTheOverlayAndThePanelAboveOtherWindows) {
    seedShown(9000, 3000);
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    HWND toggle = findChild(overlay, "Bring to front");
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(topmost(overlay));

    press(toggle);
    EXPECT_TRUE(topmost(overlay));
    EXPECT_EQ(windowText(toggle), "Set to normal");
    EXPECT_EQ(SendMessageA(toggle, BM_GETCHECK, 0, 0), BST_CHECKED) << "shown pressed, as a screen reader tells";
    EXPECT_EQ(settings::stored("frontmost"), "1");
    EXPECT_TRUE(topmost(program.findWindow(kPanel)));

    press(toggle);
    EXPECT_FALSE(topmost(overlay));
    EXPECT_EQ(windowText(toggle), "Bring to front");
    EXPECT_EQ(SendMessageA(toggle, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(settings::stored("frontmost"), "0");
    EXPECT_TRUE(topmost(program.findWindow(kPanel))) << "the panel stays above";

    // Stored on, the next start is topmost from the beginning.
    settings::seed("frontmost", "1");
    program.stop();
    overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(waitUntil([&] { return topmost(overlay); }));
    EXPECT_EQ(SendMessageA(findChild(overlay, "Set to normal"), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(WindowsE2E, SponsorPanelStandsInTheLowerRightCornerAboveEverything) {
    startOverlay();
    HWND panel = program.waitForWindow(kPanel);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(panel) != FALSE; }));
    EXPECT_TRUE(topmost(panel));
    EXPECT_NE(GetWindow(panel, GW_OWNER), nullptr) << "no taskbar button of its own";
    RECT r{};
    GetWindowRect(panel, &r);
    // 300 and 1000 twips from the right and bottom edges, at 15 twips a pixel.
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN) - 20);
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN) - 67);
    HWND link = sponsorLink(panel);
    ASSERT_NE(link, nullptr);
    EXPECT_NE(GetWindowLongA(link, GWL_STYLE) & WS_TABSTOP, 0) << "the link is reached with Tab";
}

TEST_F(WindowsE2E, SponsorLinkOpensThePageAndPutsThePanelAndTheTintAway) {
    seedShown(9000, 3000);
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
    HWND panel = program.waitForWindow(kPanel);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(panel) != FALSE; }));
    HWND link = sponsorLink(panel);
    ASSERT_NE(link, nullptr);
    const LinkRecorder shell;
    const std::vector<std::string> justThePage{kSponsorPage};

    RECT r{};
    GetClientRect(link, &r);
    clickWithPointer(link, r.right / 2, r.bottom / 2);
    ASSERT_TRUE(waitUntil([&] { return !shell.opened().empty(); })) << "a click opens the page";
    EXPECT_EQ(shell.opened()[0].arguments, justThePage) << "the page, with no parameters";
    EXPECT_EQ(shell.opened()[0].show, SW_SHOWNORMAL);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(panel); })) << "the panel is unloaded";
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); })) << "the tint is put away";
    EXPECT_TRUE(program.running());

    // Show brings both back, and the link follows from the keyboard too.
    panel = openFromMenu(overlay, kShow, kPanel);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
    link = sponsorLink(panel);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(GetForegroundWindow(), overlay) << "shown beside the tint, the panel leaves it the keyboard";
    clickWithPointer(panel, 4, 4);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == panel && focusOf(panel) == link; }))
        << "a click gives the panel the keyboard, its link first";
    pressKey(panel, VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return shell.opened().size() >= 2; })) << "Enter opens the page";
    EXPECT_EQ(shell.opened().size(), 2U) << "each follow opens the page once";
    EXPECT_EQ(shell.opened()[1].arguments, justThePage);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(panel); }));
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); }));
    EXPECT_TRUE(program.running());
}

// The reader types in a window of their own: the tint shown at start or by its key, and the
// panel beside it, leave the keyboard there, so the next Return is the reader's.
TEST_F(WindowsE2E, TheTintAndThePanelLeaveTheKeyboardWithTheReader) {
    seedShown(9000, 3000);
    settings::seed("frontmost", "1");
    const OwnWindow own({900, 40, 1200, 200});
    SetForegroundWindow(own.hwnd());
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == own.hwnd(); }));
    const LinkRecorder shell;
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    HWND panel = program.waitForWindow(kPanel);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) && IsWindowVisible(panel); }));
    EXPECT_EQ(GetForegroundWindow(), own.hwnd()) << "at start";

    pressKeys({VK_CONTROL, VK_MENU, 'O'});
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); }));
    pressKeys({VK_CONTROL, VK_MENU, 'O'});
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
    EXPECT_EQ(GetForegroundWindow(), own.hwnd()) << "after Ctrl+Alt+O";
    EXPECT_TRUE(topmost(overlay) && topmost(panel));

    pressKeys({VK_RETURN});
    EXPECT_TRUE(waitUntil([&] { return own.returns() == 1; })) << "Return is the reader's";
    EXPECT_TRUE(shell.opened().empty()) << "not the panel's link";
    EXPECT_TRUE(IsWindowVisible(overlay) && IsWindowVisible(panel));
    EXPECT_TRUE(program.running());
}

TEST_F(WindowsE2E, PickerSamplesTheSpectrumCopiesAndSetsTheTint) {
    seedShown(9000, 3000);
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(waitUntil([] { return wineTrayIcons().size() == 1; })) << "one icon after start-up";
    press(findChild(overlay, "Set screen color"));
    HWND picker = program.waitForWindow(kPicker);
    ASSERT_NE(picker, nullptr);

    // The spectrum, the frame, and in the frame the three boxes left to right.
    const std::vector<HWND> top = children(picker);
    ASSERT_EQ(top.size(), 2U);
    HWND spectrum = top[0];
    HWND frame = top[1];
    std::vector<HWND> boxes;
    for (HWND c : children(frame)) {
        if (className(c) == "Edit") boxes.push_back(c);
    }
    ASSERT_EQ(boxes.size(), 3U);
    std::sort(boxes.begin(), boxes.end(), [](HWND a, HWND b) { return rectInParent(a).left < rectInParent(b).left; });

    // Column 0 of row 216 is the pure red of the spectrum.
    clickAt(spectrum, 0, 216);
    ASSERT_TRUE(waitUntil([&] { return !windowText(boxes[0]).empty(); }));
    const int red = std::stoi(windowText(boxes[0]));
    const int green = std::stoi(windowText(boxes[1]));
    const int blue = std::stoi(windowText(boxes[2]));
    EXPECT_GE(red, 245);
    EXPECT_LE(green, 10);
    EXPECT_LE(blue, 10);

    // Clicking a box copies its number.
    clickAt(boxes[0], 2, 2);
    EXPECT_TRUE(waitUntil([&] { return clipboardText() == windowText(boxes[0]); })) << clipboardText().value_or("-");

    pressLater(findChild(frame, "Set color"));
    HWND box = waitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "Settings saved");
    EXPECT_EQ(windowText(box), "Velmora");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(picker); })) << "the picker closes";
    EXPECT_EQ(settings::stored("red"), std::to_string(red));
    EXPECT_EQ(settings::stored("green"), std::to_string(green));
    EXPECT_EQ(settings::stored("blue"), std::to_string(blue));
    const COLORREF tint = RGB(red, green, blue);
    COLORREF key = 0;
    EXPECT_TRUE(waitUntil([&] { return GetLayeredWindowAttributes(overlay, &key, nullptr, nullptr) && key == tint; }));
    EXPECT_TRUE(IsWindowVisible(overlay));
    ASSERT_TRUE(waitUntil([&] { return screenPixel(overlay, 20, 150) == tint; }))
        << std::hex << screenPixel(overlay, 20, 150);

    // Painted in the new tint, the overlay is past its load handler, which ran again:
    // still one icon, and a right-click on it in the tray opens the menu.
    const std::vector<HWND> icons = wineTrayIcons();
    ASSERT_EQ(icons.size(), 1U);
    PostMessageA(icons[0], WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(8, 8));
    PostMessageA(icons[0], WM_RBUTTONUP, 0, MAKELPARAM(8, 8));
    HWND menu = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (menu = program.findWindowOfClass("#32768")) != nullptr && IsWindowVisible(menu); }));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(menu); })) << "Escape closes the menu";
    EXPECT_TRUE(program.running());
}

TEST_F(WindowsE2E, SetColorWithNothingChosenKeepsTheStoredColour) {
    seedShown(9000, 3000);
    settings::seed("red", "10");
    settings::seed("green", "20");
    settings::seed("blue", "30");
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    press(findChild(overlay, "Set screen color"));
    HWND picker = program.waitForWindow(kPicker);
    ASSERT_NE(picker, nullptr);
    pressLater(findChild(picker, "Set color"));
    HWND box = waitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "Settings saved");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(picker); })) << "the picker closes as ever";
    EXPECT_EQ(settings::stored("red"), "10");
    EXPECT_EQ(settings::stored("green"), "20");
    EXPECT_EQ(settings::stored("blue"), "30");
    COLORREF key = 0;
    EXPECT_TRUE(waitUntil([&] { return GetLayeredWindowAttributes(overlay, &key, nullptr, nullptr) != FALSE; }));
    EXPECT_EQ(key, RGB(10, 20, 30));
}

TEST_F(WindowsE2E, PickerWorksWithoutAMouseAndEscapeClosesIt) {
    seedShown(9000, 3000);
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    press(findChild(overlay, "Set screen color"));
    HWND picker = program.waitForWindow(kPicker);
    ASSERT_NE(picker, nullptr);
    HWND spectrum = children(picker)[0];
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == picker && focusOf(picker) == spectrum; }))
        << "it comes to the front with the spectrum taking the keyboard";
    std::vector<HWND> boxes;
    for (HWND c : children(children(picker)[1])) {
        if (className(c) == "Edit") boxes.push_back(c);
    }
    ASSERT_EQ(boxes.size(), 3U);
    std::sort(boxes.begin(), boxes.end(), [](HWND a, HWND b) { return rectInParent(a).left < rectInParent(b).left; });

    // From the pure red of column 0, row 216, sixteen presses walk a sixteenth of the way round the hues.
    clickAt(spectrum, 0, 216);
    ASSERT_TRUE(waitUntil([&] { return windowText(boxes[1]) == "0"; }));
    for (int i = 0; i < 16; ++i) pressKey(picker, VK_RIGHT);
    ASSERT_TRUE(waitUntil([&] { return windowText(boxes[1]) != "0"; })) << "the arrows sample as the mouse does";
    EXPECT_TRUE(waitUntil([&] {
        const int green = std::stoi(windowText(boxes[1]));
        return green >= 85 && green <= 105;
    })) << windowText(boxes[0])
        << " " << windowText(boxes[1]) << " " << windowText(boxes[2]);

    expectEscapeCloses(picker, "as its close box does");
}

TEST_F(WindowsE2E, SettingsDialogStoresItsChoicesAndTheLoginEntry) {
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    HWND dialog = openFromMenu(overlay, kSettings, "Settings ");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(waitUntil([&] { return topmost(dialog); }));
    HWND login = findChild(dialog, "Automatically load with windows startup.");
    HWND tint = findChild(dialog, "Automatically display tint on app load");
    ASSERT_TRUE(login != nullptr && tint != nullptr);
    EXPECT_EQ(SendMessageA(login, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    press(tint);
    EXPECT_EQ(SendMessageA(tint, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(settings::stored("tint"), " 1");
    press(login);
    EXPECT_EQ(settings::stored("loadwin"), " 1");
    // The reading tools from the keyboard, each stored at once: Alt+S and an arrow, Alt+T and Backspace.
    typeMnemonic(dialog, 's');
    ASSERT_TRUE(waitUntil([&] { return className(focusOf(dialog)) == "msctls_trackbar32"; }));
    pressKey(dialog, VK_RIGHT);
    EXPECT_TRUE(waitUntil([&] { return settings::stored("alpha") == " 153"; })) << "60 % of 255";
    EXPECT_NE(findChild(dialog, "60%"), nullptr);
    typeMnemonic(dialog, 't');
    ASSERT_TRUE(waitUntil([&] { return className(focusOf(dialog)) == "msctls_hotkey32"; }));
    pressKey(dialog, VK_BACK);
    EXPECT_TRUE(waitUntil([&] { return settings::stored("hotkeytint") == ""; })) << "the tint has no key now";
    typeMnemonic(dialog, 'o');  // &OK
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
    const auto entry = loginEntry();
    ASSERT_TRUE(entry.has_value()) << "OK with the first box ticked writes the login entry";
    EXPECT_EQ(entry->front(), '"');
    EXPECT_NE(entry->find("\\velmora.exe\""), std::string::npos) << *entry;

    dialog = openFromMenu(overlay, kSettings, "Settings ");
    ASSERT_NE(dialog, nullptr);
    login = findChild(dialog, "Automatically load with windows startup.");
    EXPECT_EQ(SendMessageA(login, BM_GETCHECK, 0, 0), BST_CHECKED) << "the stored choice shows";
    press(login);
    EXPECT_EQ(settings::stored("loadwin"), " 0");
    press(findChild(dialog, "&OK"));
    EXPECT_TRUE(waitUntil([&] { return !loginEntry().has_value(); })) << "unticked, the entry goes";
}

TEST_F(WindowsE2E, AboutBoxShowsTheVersionAndSaysWhenSystemInfoIsMissing) {
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    HWND about = openFromMenu(overlay, kAbout, "About Velmora");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == about && focusOf(about) == findChild(about, "OK"); }))
        << "from the menu it comes to the front, its first button taking the keyboard";
    EXPECT_NE(findChild(about, "Velmora"), nullptr);
    EXPECT_NE(findChild(about, "Version 1.0.0"), nullptr);

    pressLater(findChild(about, "&System Info..."));
    HWND box = waitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "System Information Is Unavailable At This Time");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));

    expectEscapeCloses(about, "it is OK, the cancel button");
}

// For those who cannot use a mouse: Ctrl+Alt+M from any program, and the notification
// area's own keyboard use, open the menu with the keyboard in it.
TEST_F(WindowsE2E, TheNotificationMenuOpensFromTheKeyboard) {
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); }));
    const OwnWindow own({900, 40, 1200, 200});
    SetForegroundWindow(own.hwnd());
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == own.hwnd(); }));
    const auto shownMenu = [&] {
        HWND menu = nullptr;
        waitUntil([&] { return (menu = program.findWindowOfClass("#32768")) != nullptr && IsWindowVisible(menu); });
        return menu;
    };

    pressKeys({VK_CONTROL, VK_MENU, 'M'});
    HWND menu = shownMenu();
    ASSERT_NE(menu, nullptr) << "Ctrl+Alt+M";
    pressKeys({VK_ESCAPE});
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(menu); })) << "Escape closes it";

    // The menu key or Shift+F10, and Enter or Space, on the icon: About chosen by the keyboard.
    for (const UINT code : {WM_CONTEXTMENU, WM_USER + 1 /* NIN_KEYSELECT */}) {
        SCOPED_TRACE(code);
        notifyIcon(overlay, code);
        menu = shownMenu();
        ASSERT_NE(menu, nullptr);
        pressKeys({VK_DOWN});
        pressKeys({VK_RETURN});
        HWND about = program.waitForWindow("About Velmora");
        ASSERT_NE(about, nullptr);
        ASSERT_TRUE(
            waitUntil([&] { return GetForegroundWindow() == about && focusOf(about) == findChild(about, "OK"); }));
        expectEscapeCloses(about, "the About box");
    }
    EXPECT_FALSE(IsWindowVisible(overlay)) << "nothing else chosen";
}

// Wine's own default, which the tests' prefix turns off: the desktop manages the program's
// windows. With no window manager there to answer, each window that goes waits a while
// for it, so an ending copy of the program takes seconds.
class ManagedWindows : Owner {
public:
    ManagedWindows() { RegSetKeyValueA(HKEY_CURRENT_USER, kAppDefaults, "Managed", REG_SZ, "Y", 2); }
    ~ManagedWindows() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\velmora.exe"); }

private:
    static constexpr const char* kAppDefaults = "Software\\Wine\\AppDefaults\\velmora.exe\\X11 Driver";
};

// Started again while the copy the person ended is still going away, from its button or
// its menu, the program runs rather than asking that copy to show itself.
TEST_F(WindowsE2E, AStartRightAfterExitRuns) {
    settings::seed("tint", " 1");
    const ManagedWindows managed;
    for (const bool fromMenu : {false, true}) {
        SCOPED_TRACE(fromMenu ? "Exit in the menu" : "the Exit button");
        HWND overlay = startOverlay();
        ASSERT_NE(overlay, nullptr);
        HWND panel = program.waitForWindow(kPanel);
        ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) && IsWindowVisible(panel); }));
        if (fromMenu) {
            HWND menu = openIconMenu(program, overlay);
            ASSERT_NE(menu, nullptr);
            PostMessageA(menu, WM_CHAR, 'x', 1);
        } else {
            pressLater(overlayButtons(overlay).exit);
        }
        ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay) || !IsWindowVisible(panel); }))
            << "the end has begun";
        Program again;
        again.start();
        HWND next = again.waitForWindow("Velmora v1.0");
        EXPECT_NE(next, nullptr) << "no tint window: the new start left";
        EXPECT_TRUE(waitUntil([&] { return next != nullptr && IsWindowVisible(next); }));
        EXPECT_TRUE(again.running());
        pressKeys({VK_CONTROL, VK_MENU, 'O'});
        EXPECT_TRUE(waitUntil([&] { return next != nullptr && !IsWindowVisible(next); })) << "the keys are its own";
        EXPECT_EQ(program.waitForExit(), 0U);
    }
}

TEST_F(WindowsE2E, ASecondStartShowsTheFirstAndLeaves) {
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); }));
    Program second;
    second.start();
    EXPECT_EQ(second.waitForExit(), 0U);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; })) << "the first copy shows itself";
    EXPECT_TRUE(program.running());
}

TEST_F(WindowsE2E, CommandsReachTheRunningCopyAndActThere) {
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    const auto tell = [](const char* arguments) {
        Program told;
        told.setArguments(arguments);
        told.start(false);
        return told.waitForExit();
    };
    EXPECT_EQ(tell("--settings"), 0U);
    EXPECT_NE(program.waitForWindow("Settings "), nullptr) << "Settings opens in the running copy";
    EXPECT_EQ(tell("--show"), 0U);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
    EXPECT_EQ(tell("--hide"), 0U);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(overlay); }));
    EXPECT_EQ(tell("--bogus"), 2U) << "a usage line and 2";
    EXPECT_TRUE(program.running());
    EXPECT_EQ(tell("--quit"), 0U);
    EXPECT_EQ(program.waitForExit(), 0U) << "the running copy ends as its Exit does";
    EXPECT_EQ(tell("--quit"), 0U) << "with none running, nothing starts";
}

}  // namespace
}  // namespace velmora::e2e
