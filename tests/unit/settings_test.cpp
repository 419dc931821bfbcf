#include "app/Module1.h"
#include "fixture.h"

namespace velmora::testing {
namespace {

class SettingsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        platform.setExePath("C:\\Program Files\\Velmora\\velmora.exe");
    }
    void openSettings() {
        platform.queueMenuChoice(5);
        platform.notifyIconCallback(overlay().handle, 0x205);
    }
    int value(const char* box) { return control("frmSettings", box).value; }
};

// At 192 DPI the dialog is taller than a 1280 x 800 screen: laid out at the density that
// fits, its text smaller with it, and opened inside the work area with OK in reach.
TEST_F(SettingsTest, TallerThanTheWorkAreaItIsLaidOutToFitInsideIt) {
    platform.setScreen({1280, 800}, 7.5, {{0, 40, 1280, 760}});
    start();
    openSettings();
    const platform::Rect area{0, 40, 1280, 760};
    const sim::SimWindow& w = window("frmSettings");
    EXPECT_GE(w.rect.top, area.top);
    EXPECT_LE(w.rect.top + w.rect.height, area.top + area.height);
    EXPECT_LE(w.rect.width, area.width);
    const sim::SimControl& ok = control("frmSettings", "Command1");
    EXPECT_LE(ok.rect.top + ok.rect.height, w.rect.height) << "OK inside the window";
    EXPECT_LT(ok.rect.height, 66) << "smaller than 495 twips at 192 DPI";
    EXPECT_LT(ok.spec.font.points, 8.0F);
    EXPECT_GE(ok.spec.font.points * 2, 8.0F) << "never below 96 DPI";

    // Where it fits, nothing changes.
    platform.click("frmSettings", "Command1");
    platform.setScreen({2560, 1600}, 7.5, {{0, 0, 2560, 1560}});
    openSettings();
    EXPECT_EQ(control("frmSettings", "Command1").rect.height, 66);
    EXPECT_EQ(control("frmSettings", "Command1").spec.font.points, 8.0F);
}

TEST_F(SettingsTest, OpensWithItsCaptionAndBothBoxesClearOnAnEmptyStore) {
    start();
    openSettings();
    sim::SimWindow& w = window("frmSettings");
    EXPECT_EQ(w.caption, "Settings ");
    EXPECT_TRUE(w.visible);
    EXPECT_TRUE(w.topmost);
    EXPECT_EQ(control("frmSettings", "Check1").text, "Automatically load with windows startup.");
    EXPECT_EQ(control("frmSettings", "Check2").text, "Automatically display tint on app load");
    EXPECT_EQ(control("frmSettings", "Command1").text, "&OK");
    EXPECT_EQ(value("Check1"), 0);
    EXPECT_EQ(value("Check2"), 0);
    EXPECT_EQ(stored("loadwin"), "<absent>") << "a clear box writes nothing on opening";
    EXPECT_EQ(stored("tint"), "<absent>");
}

TEST_F(SettingsTest, StoredValuesTickTheBoxesAndAreWrittenBackInNumberText) {
    platform.store.set("loadwin", "1");
    platform.store.set("tint", "1.0");
    start();
    openSettings();
    EXPECT_EQ(value("Check1"), 1);
    EXPECT_EQ(value("Check2"), 1);
    EXPECT_EQ(stored("loadwin"), " 1");
    EXPECT_EQ(stored("tint"), " 1");
}

TEST_F(SettingsTest, ValuesNoBoxCanShowNeverCrashTheDialog) {
    const struct {
        const char* stored;
        int shown;
    } cases[] = {{"3", 1},   {"-1", 1},  {"99999", 1}, {"1e300", 1}, {"-1e999", 1}, {"2", 2},
                 {"0.4", 0}, {"abc", 0}, {"", 0},      {" 0", 0},    {"1.5", 2},    {"0.5", 0}};
    for (const auto& c : cases) EXPECT_EQ(checkBoxValue(c.stored), c.shown) << '"' << c.stored << '"';

    platform.store.set("loadwin", "99999");
    platform.store.set("tint", "-7");
    start();
    openSettings();
    EXPECT_FALSE(app->ended());
    EXPECT_EQ(value("Check1"), 1);
    EXPECT_EQ(value("Check2"), 1);
}

TEST_F(SettingsTest, EachBoxStoresItsValueAtOnce) {
    start();
    openSettings();
    platform.click("frmSettings", "Check2");
    EXPECT_EQ(stored("tint"), " 1");
    platform.click("frmSettings", "Check1");
    EXPECT_EQ(stored("loadwin"), " 1");
    platform.click("frmSettings", "Check2");
    EXPECT_EQ(stored("tint"), " 0");
    EXPECT_EQ(platform.startupEntry(), std::nullopt) << "nothing at login until OK";
}

TEST_F(SettingsTest, CloseBoxKeepsWhatWasStoredAndTheNextStartFollowsIt) {
    platform.store.set("tint", " 1");
    start();
    openSettings();
    platform.click("frmSettings", "Check2");  // clear
    platform.requestClose(window("frmSettings").handle);
    EXPECT_EQ(platform.windowNamed("frmSettings"), nullptr);
    EXPECT_EQ(stored("tint"), " 0");
    EXPECT_EQ(platform.startupEntry(), std::nullopt);

    EXPECT_FALSE(startAgain()->overlay().visible);
}

TEST_F(SettingsTest, OkWritesTheLoginEntryWhenTickedAndRemovesItWhenClear) {
    start();
    openSettings();
    platform.click("frmSettings", "Check1");
    platform.click("frmSettings", "Command1");
    EXPECT_EQ(platform.windowNamed("frmSettings"), nullptr);
    EXPECT_EQ(platform.startupEntry(), "C:\\Program Files\\Velmora\\velmora.exe");

    // Moved since: OK writes the entry again with the current path.
    platform.setExePath("D:\\Tools\\Velmora 2\\velmora.exe");
    openSettings();
    EXPECT_EQ(value("Check1"), 1);
    platform.click("frmSettings", "Command1");
    EXPECT_EQ(platform.startupEntry(), "D:\\Tools\\Velmora 2\\velmora.exe");

    openSettings();
    platform.click("frmSettings", "Check1");  // clear
    platform.click("frmSettings", "Command1");
    EXPECT_EQ(platform.startupEntry(), std::nullopt) << "unticked really stops the start at login";
    EXPECT_EQ(stored("loadwin"), " 0");
}

TEST_F(SettingsTest, AGreyedBoxLeavesTheEntryAlone) {
    platform.store.set("loadwin", "2");
    platform.setStartupEntry("C:\\Velmora\\velmora.exe");
    start();
    openSettings();
    platform.click("frmSettings", "Command1");
    EXPECT_EQ(platform.startupEntry(), "C:\\Velmora\\velmora.exe");
}

TEST_F(SettingsTest, ALoginEntryThatCannotBeWrittenIsTold) {
    platform.setStartupEntryWritable(false);
    start();
    Module1::RegisterStartupEntry(*app);
    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text, Module1::kStartupEntryFailed);
    EXPECT_FALSE(app->ended());
}

}  // namespace
}  // namespace velmora::testing
