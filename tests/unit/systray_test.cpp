#include "fixture.h"

namespace velmora::testing {
namespace {

class SystrayTest : public AppTest {
protected:
    void rightClickIcon() { platform.notifyIconCallback(overlay().handle, 0x205); }
    void doubleClickIcon() { platform.notifyIconCallback(overlay().handle, 0x203); }
    // Chooses the menu entry at that position the next time the icon's menu opens.
    void choose(int entry) {
        platform.queueMenuChoice(entry);
        rightClickIcon();
    }
    void choose(const std::string& caption) {
        platform.queueMenuChoiceNamed(caption);
        rightClickIcon();
    }
};

TEST_F(SystrayTest, StartRegistersOneIconWithItsRecord) {
    start();
    ASSERT_EQ(platform.trayIcons().size(), 1U);
    const platform::NotifyIconData& icon = platform.trayIcons().begin()->second;
    EXPECT_EQ(icon.window, overlay().handle);
    EXPECT_EQ(icon.id, 1U);
    EXPECT_EQ(icon.flags, 7U);
    EXPECT_EQ(icon.callbackMessage, 0x8001U) << "a message of its own, not the overlay's mouse moves";
    EXPECT_EQ(icon.icon, overlay().icon) << "the overlay's own window icon";
    EXPECT_EQ(icon.tip, "Velmora" + std::string(57, ' '));

    const auto calls = platform.callsOf(sim::Call::Shell_NotifyIconA);
    ASSERT_EQ(calls.size(), 2U);
    EXPECT_EQ(calls[0].args[0], 2) << "delete first";
    EXPECT_EQ(calls[1].args[0], 0) << "then add";
}

TEST_F(SystrayTest, RunningTheLoadHandlerAgainLeavesOneIcon) {
    start();
    frmMain().Form_Load();
    frmMain().Form_Load();
    EXPECT_EQ(platform.trayIcons().size(), 1U);
    EXPECT_EQ(platform.callsOf(sim::Call::Shell_NotifyIconA).size(), 6U);
}

TEST_F(SystrayTest, DoubleClickRestoresTheOverlayInNormalStateAndInFront) {
    platform.store.set("tint", " 1");
    start();
    platform.minimise(overlay().handle);
    doubleClickIcon();
    EXPECT_EQ(overlay().state, 0);
    EXPECT_TRUE(overlay().visible);
    EXPECT_EQ(argsOf(sim::Call::SetForegroundWindow).back(), (std::vector<long long>{overlay().handle}));

    frmMain().Hide();
    platform.click("FrmMain", "Command1");  // the picker now stands in front
    doubleClickIcon();
    EXPECT_TRUE(overlay().visible);
    EXPECT_TRUE(platform.isAbove(overlay().handle, window("Form1").handle));
}

TEST_F(SystrayTest, RightClickOpensTheMenuWithItsEntriesTheToolsBeforeExit) {
    start();
    rightClickIcon();
    ASSERT_EQ(platform.menus().size(), 1U);
    std::vector<std::string> captions;
    for (const auto& item : platform.menus()[0].items) captions.push_back(item.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"About", "-", "Show", "Hide", "-", "Settings", "Colour &finder",
                                                  "F&avourites", "-", "E&xit"}));
    EXPECT_EQ(platform.menus()[0].owner, overlay().handle);
    EXPECT_EQ(argsOf(sim::Call::SetForegroundWindow).size(), 1U)
        << "raised first, so the menu closes when focus leaves";
}

TEST_F(SystrayTest, OtherMessagesAndRealMouseMovesNeverAct) {
    start();
    for (unsigned code : {0x200U, 0x201U, 0x202U, 0x204U, 0x206U, 0x207U, 0x0U}) {
        platform.notifyIconCallback(overlay().handle, code);
    }
    // A real mouse move over the overlay at pixel column 515 or 517.
    for (int x : {515, 517}) platform.mouseMove(overlay().handle, 0, 0, x, 10);
    EXPECT_TRUE(platform.menus().empty());
    EXPECT_FALSE(overlay().visible);
    EXPECT_TRUE(argsOf(sim::Call::SetForegroundWindow).empty());
}

TEST_F(SystrayTest, MenuCommands) {
    start();
    choose(0);  // About
    EXPECT_TRUE(window("frmAbout").visible);

    choose(2);  // Show
    EXPECT_TRUE(overlay().visible);
    EXPECT_TRUE(window("Form2").visible);

    choose(3);  // Hide
    EXPECT_FALSE(overlay().visible);
    EXPECT_TRUE(window("Form2").visible) << "hiding the overlay leaves the sponsor panel";
    EXPECT_EQ(platform.trayIcons().size(), 1U);

    choose(5);  // Settings
    EXPECT_TRUE(window("frmSettings").visible);
    EXPECT_TRUE(window("frmSettings").topmost);
    EXPECT_EQ(argsOf(sim::Call::SetWindowPos).back(),
              (std::vector<long long>{window("frmSettings").handle, -1, 0, 0, 0, 0, 3}));

    const int writes = platform.store.writes;
    platform.advance(100);
    EXPECT_GT(platform.store.writes, writes) << "the timer keeps saving while hidden";
}

TEST_F(SystrayTest, ExitFromTheMenuEndsAndTakesTheIconAway) {
    platform.store.set("tint", " 1");
    EXPECT_EQ(app->run(), 0);
    ASSERT_TRUE(platform.primaryInstance());
    platform.click("FrmMain", "Command1");
    choose("E&xit");
    EXPECT_TRUE(app->ended());
    EXPECT_FALSE(platform.primaryInstance()) << "a start from now on runs, rather than asking this copy";
    EXPECT_FALSE(overlay().visible);
    EXPECT_EQ(platform.windowNamed("Form1"), nullptr);
    EXPECT_TRUE(platform.trayIcons().empty()) << "no dead icon stays behind";
}

TEST_F(SystrayTest, ExitButtonAlsoTakesTheIconAway) {
    platform.store.set("tint", " 1");
    start();
    platform.click("FrmMain", "cmdExit");
    EXPECT_TRUE(app->ended());
    EXPECT_TRUE(platform.trayIcons().empty());
}

TEST_F(SystrayTest, ASecondCopyShowsTheRunningOneAndLeaves) {
    ProgramRun second;
    second.platform.setAnotherInstanceRunning(true);
    EXPECT_EQ(second.app.run(), 0);
    EXPECT_EQ(second.platform.windowNamed("FrmMain"), nullptr) << "no second overlay";
    EXPECT_TRUE(second.platform.trayIcons().empty()) << "no second icon";

    // The running copy, told about it, does what the Show command does.
    platform.store.set("frontmost", "1");
    start();
    frmMain().Hide();
    platform.anotherInstanceStarted();
    EXPECT_TRUE(overlay().visible);
    EXPECT_TRUE(overlay().topmost);
    EXPECT_TRUE(window("Form2").visible);
}

TEST_F(SystrayTest, ANotificationAreaThatComesLateIsWaitedFor) {
    platform.setNotificationAreaLate();
    start();  // tint absent
    EXPECT_FALSE(overlay().visible);
    EXPECT_TRUE(platform.messageBoxes().empty()) << "nothing said while the panel may still be starting";
    platform.notificationAreaAppears();
    EXPECT_FALSE(overlay().visible) << "then a start like any other";
    EXPECT_TRUE(platform.messageBoxes().empty());
    EXPECT_EQ(platform.trayIcons().size(), 1U);

    // A panel that never comes: the tint shows, and the box says why.
    auto never = startWith({}, [](sim::SimPlatform& p) { p.setNotificationAreaLate(); });
    never->platform.notificationAreaWaitEnds();
    EXPECT_TRUE(never->overlay().visible);
    EXPECT_EQ(never->platform.messageBoxes().size(), 1U);
}

TEST_F(SystrayTest, WithoutANotificationAreaTheOverlayStaysReachable) {
    platform.setNotificationAreaAvailable(false);
    start();  // tint absent would hide it
    EXPECT_TRUE(overlay().visible);
    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text, Application::kNoNotificationArea);
    EXPECT_EQ(platform.messageBoxes()[0].title, "Velmora");

    frmMain().Form_Load();  // as after a colour change
    EXPECT_TRUE(overlay().visible);
    // Hidden and shown again by the commands, or another start: nothing said again.
    for (const char* word : {"hide", "show", "toggle", "toggle", "settings"}) platform.anotherInstanceStarted(word);
    platform.anotherInstanceStarted();
    EXPECT_TRUE(overlay().visible);
    EXPECT_EQ(platform.messageBoxes().size(), 1U) << "told once";
}

}  // namespace
}  // namespace velmora::testing
