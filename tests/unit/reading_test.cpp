#include "fixture.h"

namespace velmora::testing {
namespace {

class ReadingToolsTest : public AppTest {
protected:
    void openSettings() {
        platform.queueMenuChoice(5);
        platform.notifyIconCallback(overlay().handle, 0x205);
    }
    sim::SimControl& tool(const char* name) { return control("frmSettings", name); }
    static constexpr long kClickThrough = 0x20;
};

TEST_F(ReadingToolsTest, StrengthIsStoredAndTakenAtOnce) {
    platform.store.set("alpha", " 200");
    start();
    EXPECT_EQ(overlay().alpha, 200);
    EXPECT_EQ(argsOf(sim::Call::SetLayeredWindowAttributes).back()[2], 200);
    openSettings();
    EXPECT_EQ(tool("sldStrength").value, 78);
    EXPECT_EQ(tool("lblPercent").text, "78%");
    platform.slide(tool("sldStrength").handle, 80);
    EXPECT_EQ(stored("alpha"), " 204");
    EXPECT_EQ(overlay().alpha, 204);
    EXPECT_EQ(tool("lblPercent").text, "80%");
    platform.slide(tool("sldStrength").handle, 3);
    EXPECT_EQ(stored("alpha"), " 26") << "never fainter than 10 %";
}

TEST_F(ReadingToolsTest, ClicksGoThroughUntilShowOrTheIconsDoubleClickOrItsKey) {
    platform.store.set("tint", " 1");
    platform.store.set("clickthrough", " 1");
    start();
    EXPECT_EQ(overlay().exStyle & kClickThrough, kClickThrough);
    platform.pressHotkey("Ctrl+Alt+P");
    EXPECT_EQ(overlay().exStyle & kClickThrough, 0);
    EXPECT_EQ(stored("clickthrough"), " 0");
    platform.pressHotkey("Ctrl+Alt+P");
    EXPECT_EQ(stored("clickthrough"), " 1");
    platform.queueMenuChoice(2);  // Show
    platform.notifyIconCallback(overlay().handle, 0x205);
    EXPECT_EQ(overlay().exStyle & kClickThrough, 0);
    EXPECT_EQ(stored("clickthrough"), " 0");
    platform.pressHotkey("Ctrl+Alt+P");
    platform.notifyIconCallback(overlay().handle, 0x203);
    EXPECT_EQ(overlay().exStyle & kClickThrough, 0) << "the double-click is a way back too";
    EXPECT_EQ(overlay().exStyle & 0x80000, 0x80000) << "still translucent";
}

TEST_F(ReadingToolsTest, HotkeysWorkFromAnywhereAndAKeyHeldElsewhereIsToldOnce) {
    platform.store.set("tint", " 1");
    platform.holdHotkeyElsewhere("Ctrl+Alt+O");
    start();
    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text,
              "Velmora could not take these keys, because another program already uses them: Ctrl+Alt+O. "
              "You can choose other keys in Settings.");
    EXPECT_EQ(platform.hotkeys().size(), 4U) << "the others still work; the ruler's steps wait for the ruler";
    openSettings();
    EXPECT_EQ(tool("hkTint").text, "Ctrl+Alt+O");
    platform.typeText(tool("hkTint").handle, "Ctrl+Shift+F9");
    EXPECT_EQ(stored("hotkeytint"), "Ctrl+Shift+F9");
    EXPECT_TRUE(platform.hotkeys().empty()) << "while the settings are open, keys go to the boxes";
    platform.pressEscape(window("frmSettings").handle);
    platform.pressHotkey("Ctrl+Shift+F9");
    EXPECT_FALSE(overlay().visible) << "as Hide does";
    platform.pressHotkey("Ctrl+Shift+F9");
    EXPECT_TRUE(overlay().visible) << "as Show does";
    openSettings();
    platform.typeText(tool("hkTint").handle, "no key");
    EXPECT_EQ(tool("hkTint").text, "Ctrl+Shift+F9") << "nonsense keeps the key it had";
    platform.typeText(tool("hkTint").handle, "");
    EXPECT_EQ(stored("hotkeytint"), "");
    platform.pressEscape(window("frmSettings").handle);
    platform.pressHotkey("Ctrl+Shift+F9");
    EXPECT_TRUE(overlay().visible) << "empty is none";
    EXPECT_EQ(platform.messageBoxes().size(), 1U);

    // The next start takes the keys as stored: none for the tint.
    app.reset();
    EXPECT_EQ(startAgain()->platform.hotkeys().size(), 4U);
}

TEST_F(ReadingToolsTest, TheKeyboardStaysWithTheReaderAndTheMenuHasAKeyOfItsOwn) {
    platform.store.set("tint", " 1");
    start();
    EXPECT_TRUE(overlay().visible);
    EXPECT_TRUE(window("Form2").visible);
    EXPECT_EQ(platform.activeWindow(), 0) << "neither the tint at start nor the panel takes the keyboard";
    platform.pressHotkey("Ctrl+Alt+O");
    platform.pressHotkey("Ctrl+Alt+O");
    EXPECT_TRUE(overlay().visible);
    EXPECT_EQ(platform.activeWindow(), 0) << "nor the tint a hotkey shows";
    EXPECT_EQ(argsOf(sim::Call::SetWindowPos).back()[6], 0x13) << "its z-order set without activating it";

    // The notification menu at the pointer, from its key or the notification area's keyboard use.
    for (unsigned code : {0U, 0x7BU, 0x401U}) {
        platform.queueMenuChoice(2);  // Show
        if (code == 0) {
            platform.pressHotkey("Ctrl+Alt+M");
        } else {
            platform.notifyIconCallback(overlay().handle, code);
        }
        EXPECT_EQ(platform.menus().back().items.back().caption, "E&xit") << code;
        EXPECT_EQ(platform.activeWindow(), overlay().handle) << "Show from the menu may take the keyboard";
    }
    openSettings();
    EXPECT_EQ(tool("hkMenu").text, "Ctrl+Alt+M");
    EXPECT_EQ(tool("lblKeyMenu").text, "Notification &menu:");
    platform.typeText(tool("hkMenu").handle, "Ctrl+Alt+F8");
    EXPECT_EQ(stored("hotkeymenu"), "Ctrl+Alt+F8");
}

TEST_F(ReadingToolsTest, AKeySetTwiceOrOneNoProgramMayHaveIsToldForWhatItIs) {
    const auto run = startWith({{"hotkeyruler", "Ctrl+Alt+O"}, {"hotkeyclick", "Ctrl+Shift+1"}},
                               [](sim::SimPlatform& p) { p.makeHotkeyImpossible("Ctrl+Shift+1"); });
    const auto& told = run->platform.messageBoxes();
    ASSERT_EQ(told.size(), 1U);
    EXPECT_EQ(told.front().text,
              "Velmora gives a key to one tool only. Ctrl+Alt+O is set for both \"Tint on or off\" and \"Ruler on or "
              "off\": only \"Tint on or off\" has it. You can choose other keys in Settings.\n"
              "This desktop does not let any program take these keys: Ctrl+Shift+1. You can choose other keys in "
              "Settings.");
    run->platform.pressHotkey("Ctrl+Alt+O");
    EXPECT_TRUE(run->overlay().visible) << "the tint's, which had it first";
    EXPECT_FALSE(run->platform.store.value("ruler").has_value());
}

TEST_F(ReadingToolsTest, TheRulerFollowsThePointerAcrossItsScreenAndCostsNothingWhenOff) {
    start();
    const int timers = platform.liveTimers();
    platform.pressHotkey("Ctrl+Alt+R");
    EXPECT_EQ(stored("ruler"), " 1");
    sim::SimWindow& strip = window("frmRuler");
    EXPECT_TRUE(strip.visible);
    EXPECT_EQ(strip.caption, "Velmora reading ruler");
    EXPECT_FALSE(strip.spec.showInTaskbar);
    EXPECT_TRUE(strip.topmost);
    EXPECT_EQ(strip.alpha, 150);
    EXPECT_EQ(strip.backColor, 0x00D4C390U) << "in the tint's colour and strength";
    EXPECT_EQ(strip.exStyle & kClickThrough, kClickThrough) << "every click goes through";
    EXPECT_EQ(strip.rect, (platform::Rect{0, 384 - 24, 1024, 48}));
    platform.movePointer(platform::Point{100, 600});
    EXPECT_EQ(strip.rect, (platform::Rect{0, 600 - 24, 1024, 48})) << "at the move the desktop reports";
    platform.movePointer(platform::Point{100, 760});
    EXPECT_EQ(strip.rect, (platform::Rect{0, 768 - 48, 1024, 48})) << "kept whole on its screen";
    platform.movePointer(platform::Point{100, 100});
    platform.movePointer(platform::Point{1024, 768});
    EXPECT_EQ(strip.rect, (platform::Rect{0, 768 - 48, 1024, 48})) << "a scaled last row rounds one past the screen";
    EXPECT_EQ(platform.liveTimers(), timers) << "following by events: nothing ticks";
    platform.pressHotkey("Ctrl+Alt+R");
    EXPECT_FALSE(strip.visible);
    EXPECT_FALSE(platform.watchingPointer()) << "off: no watch";
    EXPECT_EQ(platform.liveTimers(), timers) << "and no timer";
}

TEST_F(ReadingToolsTest, WhereTheDesktopReportsNoPointerMovesTheRulerLooksForThePointer) {
    platform.setPointerWatchUnavailable();
    start();
    const int timers = platform.liveTimers();
    platform.pressHotkey("Ctrl+Alt+R");
    sim::SimWindow& strip = window("frmRuler");
    platform.movePointer(platform::Point{100, 600});
    platform.advance(40);
    EXPECT_EQ(strip.rect, (platform::Rect{0, 600 - 24, 1024, 48}));
    EXPECT_EQ(platform.liveTimers(), timers + 1);
    platform.pressHotkey("Ctrl+Alt+R");
    EXPECT_EQ(platform.liveTimers(), timers) << "off: no timer";
}

TEST_F(ReadingToolsTest, ALightBoxThatStaysPutStepsByItsOwnHeight) {
    platform.store.set("ruler", " 1");
    platform.store.set("rulerstyle", " 1");
    platform.store.set("rulerfollow", " 0");
    platform.store.set("rulerheight", " 100");
    start();
    EXPECT_EQ(window("frmRuler").rect, (platform::Rect{0, 0, 1024, 334}));
    EXPECT_EQ(window("frmRuler2").rect, (platform::Rect{0, 434, 1024, 334}));
    EXPECT_EQ(platform.hotkeys().size(), 7U) << "the steps take their keys while the ruler stays put";
    platform.pressHotkey("Ctrl+Alt+PgDown");
    EXPECT_EQ(window("frmRuler").rect.height, 434);
    platform.movePointer(platform::Point{10, 10});
    platform.advance(100);
    EXPECT_EQ(window("frmRuler").rect.height, 434) << "it stays where it is";

    openSettings();
    platform.typeText(tool("txtHeight").handle, "4");
    EXPECT_EQ(stored("rulerheight"), " 100") << "not a height yet";
    platform.typeText(tool("txtHeight").handle, "40");
    EXPECT_EQ(stored("rulerheight"), " 40");
    platform.click("frmSettings", "chkFollow");
    EXPECT_EQ(stored("rulerfollow"), " 1");
    platform.pressEscape(window("frmSettings").handle);
    EXPECT_EQ(platform.hotkeys().size(), 5U);
    // Following again: a clear strip at the top, so only the tint below it shows.
    EXPECT_FALSE(window("frmRuler").visible);
    EXPECT_EQ(window("frmRuler2").rect, (platform::Rect{0, 40, 1024, 728}));
}

TEST_F(ReadingToolsTest, InAWaylandSessionTheRulerStaysPutAndSettingsSaysHowToBindTheKeys) {
    platform.setWaylandSessionThroughXWayland(true);
    platform.store.set("rulerheight", " 100");
    start();
    const int timers = platform.liveTimers();
    platform.anotherInstanceStarted("ruler");  // asked to follow, by default
    EXPECT_EQ(window("frmRuler").rect, (platform::Rect{0, 384 - 50, 1024, 100}));
    EXPECT_EQ(platform.liveTimers(), timers) << "no timer reads a pointer the desktop keeps to itself";
    EXPECT_EQ(platform.hotkeys().size(), 7U) << "the steps take their keys";
    platform.pressHotkey("Ctrl+Alt+PgDown");
    platform.movePointer(platform::Point{10, 10});
    platform.advance(100);
    EXPECT_EQ(window("frmRuler").rect.top, 434) << "a step, and there it stays";
    // The commands a desktop's own shortcuts can run.
    platform.anotherInstanceStarted("rulerup");
    EXPECT_EQ(window("frmRuler").rect.top, 334);
    platform.anotherInstanceStarted("rulerdown");
    platform.anotherInstanceStarted("rulerdown");
    EXPECT_EQ(window("frmRuler").rect.top, 534);

    platform.anotherInstanceStarted("settings");
    EXPECT_EQ(platform.control("frmSettings", "chkFollow"), nullptr) << "not offered";
    EXPECT_NE(platform.control("frmSettings", "lblFollowWhy"), nullptr) << "and why (texts: contract_test)";
    EXPECT_NE(platform.control("frmSettings", "lblKeysWhy"), nullptr) << "with how to bind the commands";
    EXPECT_EQ(stored("rulerfollow"), "<absent>") << "the choice is kept for a session that can have it";
}

}  // namespace
}  // namespace velmora::testing
