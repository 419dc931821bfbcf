#include "fixture.h"

namespace velmora::testing {
namespace {

using StartupTest = AppTest;

TEST_F(StartupTest, EmptyStoreGivesDefaultTintAtDesignerSizeInTheMiddleHidden) {
    start();
    sim::SimWindow& w = overlay();
    EXPECT_EQ(w.caption, "Velmora v1.0");
    EXPECT_EQ(w.backColor, 0x00D4C390U) << "red 144, green 195, blue 212";
    EXPECT_TRUE(w.layered);
    EXPECT_EQ(w.alpha, 150);
    EXPECT_EQ(w.layeredFlags, 2U);
    // 8385 x 3015 twips inside the frame, every button in sight, centred in the work area.
    EXPECT_EQ(w.rect, (platform::Rect{(1024 - 575) / 2, (728 - 240) / 2, 575, 240}));
    EXPECT_GE(frmMain().Command2.Left(), 0);
    EXPECT_FALSE(w.visible) << "tint absent reads 0: hidden after start-up";
    EXPECT_FALSE(app->ended());

    // A size that would hide the buttons, or that cannot be read, gives the designer
    // size at the stored place, and is stored back so.
    for (const std::string& size :
         std::vector<std::string>{" 0", "-600", "", "NaN", "1e308", " 1400", std::string(10240, '7')}) {
        const std::string shown = size.substr(0, 8);
        auto run = startWith({{"width", size}, {"height", " 3600"}, {"top", " 300"}, {"left", " 300"}});
        EXPECT_EQ(run->overlay().rect, (platform::Rect{20, 20, 575, 240})) << shown;
        run = startWith({{"width", " 9000"}, {"height", size}, {"top", " 300"}, {"left", " 300"}});
        EXPECT_EQ(run->overlay().rect, (platform::Rect{20, 20, 600, 240})) << shown;
        run->platform.advance(100);
        EXPECT_EQ(run->platform.store.value("height"), " 3600") << shown;
    }
}

TEST_F(StartupTest, TintOnShowsTheOverlay) {
    platform.store.set("tint", " 1");
    start();
    EXPECT_TRUE(overlay().visible);
}

TEST_F(StartupTest, TintReadLenientlyComparedWithZero) {
    for (const char* text : {" 0", "0.0", "abc", ""}) {
        EXPECT_FALSE(startWith({{"tint", text}})->overlay().visible) << '"' << text << '"';
    }
    for (const char* text : {"2", "-1", "1abc", "0.5"}) {
        EXPECT_TRUE(startWith({{"tint", text}})->overlay().visible) << '"' << text << '"';
    }
}

TEST_F(StartupTest, ExitButtonUnloadsTheSideWindowsHidesTheOverlayAndEnds) {
    platform.store.set("tint", " 1");
    start();
    platform.click("FrmMain", "Command1");  // opens the picker
    ASSERT_NE(platform.windowNamed("Form1"), nullptr);

    platform.click("FrmMain", "cmdExit");
    EXPECT_EQ(platform.windowNamed("Form1"), nullptr);
    EXPECT_EQ(platform.windowNamed("Form2"), nullptr);
    EXPECT_EQ(platform.windowNamed("frmAbout"), nullptr);
    EXPECT_TRUE(frmMain().isLoaded()) << "the overlay's unload is cancelled";
    EXPECT_FALSE(overlay().visible);
    EXPECT_TRUE(app->ended());
    EXPECT_TRUE(platform.quitRequested());
    EXPECT_EQ(platform.quitCode(), 0);

    const int writes = platform.store.writes;
    platform.userMove(overlay().handle, 300, 300);
    platform.advance(1000);
    EXPECT_EQ(platform.store.writes, writes) << "no handler runs after the end";
}

TEST_F(StartupTest, AnOverflowNobodyTrapsShowsTheStandardMessageAndEnds) {
    start();
    app->runHandler([] { throw errors::overflow(); });
    ASSERT_FALSE(platform.messageBoxes().empty());
    EXPECT_EQ(platform.messageBoxes().back().text, "Run-time error '6':\n\nOverflow");
    EXPECT_EQ(platform.messageBoxes().back().title, "Velmora");
    EXPECT_TRUE(app->ended());
}

}  // namespace
}  // namespace velmora::testing
