#include "app/Module1.h"
#include "fixture.h"

namespace velmora::testing {
namespace {

using OverlayTest = AppTest;

TEST_F(OverlayTest, StoredColourIsReadLeniently) {
    const struct {
        const char* red;
        const char* green;  // nullptr: absent
        const char* blue;
        platform::Color expected;
    } cases[] = {
        {"255", "10", nullptr, 0x00000AFF},  // absent blue reads 0
        {"10", nullptr, "20", 0x0014000A},   // absent green reads 0, not the default
        {"127.5", "128.5", "12abc", 0x000C8080},
        {"abc", "&H80", "1 2", 0x000C8000},
        {"", "50", "50", 0x00D4C390},          // only red is tested for emptiness
        {"-7", "99999", "1e308", 0x00FFFF00},  // absurd values are clamped, not fatal
        {"70000", "1e999", "-1e999", 0x0000FFFF},
    };
    for (const auto& c : cases) {
        Settings settings{{"red", c.red}};
        if (c.green != nullptr) settings.emplace_back("green", c.green);
        if (c.blue != nullptr) settings.emplace_back("blue", c.blue);
        const auto run = startWith(settings);
        SCOPED_TRACE(std::string("red=") + c.red);
        EXPECT_FALSE(run->app.ended());
        EXPECT_EQ(run->overlay().backColor, c.expected);
        EXPECT_EQ(run->overlay().layeredKey, c.expected) << "the colour goes to the layered call as its key";
        EXPECT_EQ(run->app.form<FrmMain>().bXColor, c.expected);
    }
}

TEST_F(OverlayTest, TranslucencyIsTheLayeredStyleAtAlpha150) {
    start();
    const auto handle = overlay().handle;
    EXPECT_EQ(argsOf(sim::Call::GetWindowLongA), (std::vector<std::vector<long long>>{{handle, -20}}));
    EXPECT_EQ(argsOf(sim::Call::SetWindowLongA), (std::vector<std::vector<long long>>{{handle, -20, 0x80000}}));
    EXPECT_EQ(argsOf(sim::Call::SetLayeredWindowAttributes),
              (std::vector<std::vector<long long>>{{handle, 0x00D4C390, 150, 2}}));
    EXPECT_EQ(frmMain().g_nTransparency, 150);
    EXPECT_EQ(frmMain().flag, 2);
}

TEST_F(OverlayTest, TranslucencyErrorsAreShownAndTheProgramCarriesOn) {
    platform.failNextCall(sim::Call::SetLayeredWindowAttributes);
    start();
    EXPECT_TRUE(platform.messageBoxes().empty()) << "what the call returns is ignored";
    EXPECT_FALSE(app->ended());

    // An alpha outside a byte is an overflow: trapped, shown with its source.
    Module1::MakeTranslucent(*app, overlay().handle, 0, 300, 2);
    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text, "Overflow Source : Velmora");
    EXPECT_EQ(platform.messageBoxes()[0].title, "Velmora");
    EXPECT_EQ(overlay().exStyle & 0x80000, 0x80000) << "what was set before the error stays";
    EXPECT_FALSE(app->ended());
}

TEST_F(OverlayTest, ButtonsStandRightAlignedInOneRow) {
    platform.store.set("width", " 4500");
    start();
    EXPECT_EQ(frmMain().cmdExit.Left(), 2200);
    EXPECT_EQ(frmMain().Command1.Left(), 200);
    EXPECT_EQ(frmMain().Command2.Left(), -1800);
    for (auto* b : {&frmMain().cmdExit, &frmMain().Command1, &frmMain().Command2}) EXPECT_EQ(b->Top(), 200);
    EXPECT_EQ(control("FrmMain", "Command2").rect.left, -120);

    platform.userResize(overlay().handle, 600, 300);  // 9000 twips
    EXPECT_EQ(frmMain().cmdExit.Left(), 6700);
    EXPECT_EQ(control("FrmMain", "cmdExit").rect, (platform::Rect{447, 13, 121, 57}));
    EXPECT_EQ(control("FrmMain", "Command2").rect.left, 180);
}

TEST_F(OverlayTest, ButtonsCarryTheirCaptionsAndTabOrder) {
    start();
    EXPECT_EQ(control("FrmMain", "cmdExit").text, "E&xit");
    EXPECT_EQ(control("FrmMain", "Command1").text, "Set screen color");
    EXPECT_EQ(control("FrmMain", "Command2").text, "Bring to front");
    EXPECT_EQ(control("FrmMain", "cmdExit").spec.tabIndex, 0);
    EXPECT_EQ(control("FrmMain", "Command1").spec.tabIndex, 1);
    EXPECT_EQ(control("FrmMain", "Command2").spec.tabIndex, 2);
}

TEST_F(OverlayTest, GeometryIsRestoredAndWrittenBackUnchanged) {
    platform.store.set("width", " 7200");
    platform.store.set("height", "3000.4");
    platform.store.set("top", " 1500");
    platform.store.set("left", "-300");  // partly off the left edge: kept exactly
    start();
    EXPECT_EQ(overlay().rect, (platform::Rect{-20, 100, 480, 200}));
    EXPECT_EQ(frmMain().Height(), 3000.4F);

    platform.advance(100);
    EXPECT_EQ(stored("width"), " 7200");
    EXPECT_EQ(stored("height"), " 3000.4");
    EXPECT_EQ(stored("top"), " 1500");
    EXPECT_EQ(stored("left"), "-300");

    // The next start reads back exactly what was written.
    app.reset();
    const auto next = startAgain();
    EXPECT_EQ(next->overlay().rect, (platform::Rect{-20, 100, 480, 200}));
    next->platform.advance(100);
    EXPECT_EQ(next->platform.store.values, platform.store.values);
    EXPECT_EQ(next->platform.store.writes, 0) << "what was read back is not written again";
}

TEST_F(OverlayTest, TimerSavesTheGeometryAfterAMoveWritingOnlyWhatChanged) {
    start();
    platform.advance(100);
    EXPECT_EQ(platform.store.writes, 4) << "the first tick writes all four";
    EXPECT_EQ(stored("width"), " 8625");
    EXPECT_EQ(stored("height"), " 3600");
    EXPECT_EQ(stored("top"), " 3660");
    EXPECT_EQ(stored("left"), " 3360");

    platform.advance(1000);
    EXPECT_EQ(platform.store.writes, 4) << "nothing moved, nothing written";
    EXPECT_EQ(platform.liveTimers(), 0) << "and nothing ticks while nothing moves";

    platform.userMove(overlay().handle, 40, 30);
    EXPECT_EQ(platform.liveTimers(), 1) << "a move starts it";
    platform.advance(100);
    EXPECT_EQ(platform.store.writes, 6);
    EXPECT_EQ(platform.liveTimers(), 0) << "and it stops once all is written";
    EXPECT_EQ(stored("left"), " 600");
    EXPECT_EQ(stored("top"), " 450");

    platform.userResize(overlay().handle, 500, 250);
    platform.advance(100);
    EXPECT_EQ(stored("width"), " 7500");
    EXPECT_EQ(stored("height"), " 3750");
}

TEST_F(OverlayTest, AFailedWriteIsTriedAgainOnTheNextTick) {
    start();
    platform.store.failWrites = true;
    platform.advance(300);
    EXPECT_FALSE(app->ended()) << "a store it cannot write never ends the program";
    EXPECT_EQ(stored("width"), "<absent>");
    platform.store.failWrites = false;
    platform.advance(100);
    EXPECT_EQ(stored("width"), " 8625");
}

TEST_F(OverlayTest, CloseBoxOnlyHidesAndTheTimerKeepsSaving) {
    platform.store.set("tint", " 1");
    start();
    ASSERT_TRUE(overlay().visible);
    platform.requestClose(overlay().handle);
    EXPECT_TRUE(frmMain().isLoaded());
    EXPECT_FALSE(overlay().visible);
    EXPECT_FALSE(app->ended());

    platform.userMove(overlay().handle, 10, 20);
    platform.advance(100);
    EXPECT_EQ(stored("left"), " 150");
    EXPECT_EQ(stored("top"), " 300");
}

TEST_F(OverlayTest, UnusableStoredGeometryStillGivesAUsableWindow) {
    const struct {
        const char* width;
        const char* height;
        const char* top;
        const char* left;
    } cases[] = {
        {"1e39", "-1e30", "1e39", "-1e39"},
        {"-5", "abc", "&HFFFFFFFFFF", "1e308"},
        {"1e30", "1e30", "-1e30", "1e30"},
    };
    for (const auto& c : cases) {
        const auto run = startWith({{"width", c.width}, {"height", c.height}, {"top", c.top}, {"left", c.left}});
        SCOPED_TRACE(std::string(c.width) + " " + c.height + " " + c.top + " " + c.left);
        ASSERT_FALSE(run->app.ended());
        EXPECT_TRUE(run->platform.messageBoxes().empty());
        const platform::Rect r = run->overlay().rect;
        EXPECT_GE(r.width, 136);
        EXPECT_GE(r.height, 39);
        EXPECT_LE(r.width, 1024) << "never larger than the desktop";
        EXPECT_LE(r.height, 768);
        const platform::Rect area = run->platform.desktop.workAreas().front();
        EXPECT_TRUE(r.left < area.left + area.width && r.left + r.width > area.left && r.top < area.top + area.height &&
                    r.top + r.height > area.top)
            << "on screen: " << r.left << "," << r.top << " " << r.width << "x" << r.height;
    }
}

TEST_F(OverlayTest, ASizeBeyondTheDesktopShrinksToItKeepingWhatFits) {
    // Two screens side by side, 2304 x 1024 pixels together.
    const auto setUp = [](sim::SimPlatform& p) {
        p.setScreen({1024, 768}, 15, {{0, 0, 1024, 728}, {1024, 0, 1280, 1024}});
    };
    auto run = startWith({{"width", "1e38"}, {"height", " 6000"}, {"top", " 1500"}, {"left", " 3000"}}, setUp);
    EXPECT_EQ(run->overlay().rect, (platform::Rect{0, 100, 2304, 400})) << "the place kept where it fits";
    run = startWith({{"width", " 30000"}, {"height", " 15000"}, {"top", " 1500"}, {"left", " 3000"}}, setUp);
    EXPECT_EQ(run->overlay().rect, (platform::Rect{200, 100, 2000, 1000})) << "within the desktop: as stored";
}

TEST_F(OverlayTest, AWindowLeftWhereNoScreenIsComesBackKeepingItsSize) {
    // Two screens side by side; the overlay was last on a third one that is gone.
    platform.setScreen({1024, 768}, 15, {{0, 0, 1024, 728}, {1024, 0, 1280, 1024}});
    platform.store.set("left", " 40000");  // pixel 2666, beyond both
    platform.store.set("top", " 1500");
    platform.store.set("width", " 6000");
    platform.store.set("height", " 3000");
    start();
    // Onto the nearest screen, the least move that leaves a grip of its title bar
    // beside the caption buttons (100 and 140 pixels at 96 dots per inch).
    EXPECT_EQ(overlay().rect, (platform::Rect{2304 - 100, 100, 400, 200}));

    const auto startAt = [this](const char* left, const char* top) {
        return startWith({{"left", left}, {"top", top}, {"width", " 9000"}, {"height", " 3000"}},
                         [](sim::SimPlatform& p) {
                             p.setScreen({1024, 768}, 15, {{0, 0, 1024, 728}, {1024, 0, 1280, 1024}});
                         });
    };
    // A grip of the title bar on the second screen is enough to stay where it was.
    EXPECT_EQ(startAt(" 33000", " 1500")->overlay().rect, (platform::Rect{2200, 100, 600, 200}));
    // Mostly off the left edge: only the caption buttons were in reach.
    EXPECT_EQ(startAt(" -7995", " 1500")->overlay().rect, (platform::Rect{-360, 100, 600, 200}));
    // The title bar above every screen comes down to the top of one.
    EXPECT_EQ(startAt(" 1500", " -2000")->overlay().rect, (platform::Rect{100, 0, 600, 200}));
}

TEST_F(OverlayTest, RunningTheLoadHandlerAgainReappliesStoredGeometry) {
    platform.store.set("width", " 6000");
    platform.store.set("height", " 3000");
    platform.store.set("top", " 1500");
    platform.store.set("left", " 1500");
    platform.store.set("tint", " 1");
    start();
    platform.userMove(overlay().handle, 300, 300);  // not yet saved by a tick
    frmMain().Form_Load();
    EXPECT_EQ(overlay().rect, (platform::Rect{100, 100, 400, 200}));
    EXPECT_TRUE(overlay().visible);
    EXPECT_EQ(argsOf(sim::Call::SetLayeredWindowAttributes).size(), 2U) << "the tint is applied again";
}

TEST_F(OverlayTest, SetScreenColorOpensThePickerNotTopmost) {
    platform.store.set("tint", " 1");
    start();
    platform.click("FrmMain", "Command1");
    sim::SimWindow& picker = window("Form1");
    EXPECT_TRUE(picker.visible);
    EXPECT_EQ(picker.caption, "Set translucency color");
    EXPECT_EQ(picker.client(), (platform::Size{272, 327}));
    EXPECT_FALSE(picker.topmost);
    EXPECT_EQ(argsOf(sim::Call::SetWindowPos).back(), (std::vector<long long>{picker.handle, -2, 0, 0, 0, 0, 3}));
}

}  // namespace
}  // namespace velmora::testing
