#include "fixture.h"
#include "tools/filter/ColourFilter.h"

namespace velmora::testing {
namespace {

using tools::filterGains;

class FilterTest : public AppTest {
protected:
    void menu(const std::string& choice) {
        platform.queueMenuChoiceNamed(choice);
        platform.notifyIconCallback(overlay().handle, 0x205);
    }
    const std::vector<platform::MenuItem>& lastMenu() { return platform.menus().back().items; }
};

TEST(FilterGains, WhiteTakesTheWindowsColourAndBlackStaysBlack) {
    // Over white the window shows 255 - a (255 - C) in each channel: the filter's white.
    for (const platform::Color c : {0x00D4C390U, 0x0000FFFFU, 0x00FFFFFFU, 0U}) {
        for (const int alpha : {26, 150, 255}) {
            const platform::Gains g = filterGains(c, alpha);
            const double window = 255 - alpha * (255 - double(c & 0xFF)) / 255;
            EXPECT_NEAR(g.red * 255, window, 1e-9) << std::hex << c << " " << alpha;
            EXPECT_GE(g.blue, 0.0);
            EXPECT_LE(g.green, 1.0);
        }
    }
    EXPECT_EQ(filterGains(0x00FFFFFF, 150), (platform::Gains{1, 1, 1})) << "a white tint changes nothing";
    EXPECT_EQ(filterGains(0x000000FF, 255), (platform::Gains{1, 0, 0}));
}

TEST_F(FilterTest, TheFilterStandsInForTheWindowAndFollowsTheTint) {
    platform.store.set("tintmode", " 1");
    platform.store.set("tint", " 1");
    start();
    ASSERT_TRUE(platform.screenGains().has_value()) << "the tint at start is the filter";
    EXPECT_EQ(*platform.screenGains(), filterGains(0x00D4C390, 150));
    EXPECT_FALSE(overlay().visible) << "no veil over the text";
    EXPECT_TRUE(platform.messageBoxes().empty());

    platform.pressHotkey("Ctrl+Alt+O");
    EXPECT_FALSE(platform.screenGains().has_value()) << "hiding the tint takes the filter away";
    platform.pressHotkey("Ctrl+Alt+O");
    EXPECT_TRUE(platform.screenGains().has_value());
    menu("Hide");
    EXPECT_FALSE(platform.screenGains().has_value());
    menu("Show");
    EXPECT_TRUE(platform.screenGains().has_value());
    EXPECT_FALSE(overlay().visible);

    // The picker from the menu, its colour and the strength applied at once.
    menu("Colour &picker");
    EXPECT_EQ(lastMenu()[6].caption, "Colour &picker") << "after Settings";
    ASSERT_TRUE(window("Form1").visible);
    platform.typeText(control("Form1", "Text2").handle, "255");
    platform.typeText(control("Form1", "Text3").handle, "0");
    platform.typeText(control("Form1", "Text4").handle, "0");
    platform.click("Form1", "Command1");
    EXPECT_EQ(*platform.screenGains(), filterGains(0x000000FF, 150));
    EXPECT_FALSE(overlay().visible);
    menu("Settings");
    platform.slide(control("frmSettings", "sldStrength").handle, 100);
    EXPECT_EQ(*platform.screenGains(), (platform::Gains{1, 0, 0}));

    // Back to the window: the filter goes, the window shows the tint.
    platform.click("frmSettings", "chkFilter");
    EXPECT_EQ(stored("tintmode"), " 0");
    EXPECT_FALSE(platform.screenGains().has_value());
    EXPECT_TRUE(overlay().visible);
    EXPECT_EQ(platform.activeWindow(), window("frmSettings").handle) << "the keyboard stays in Settings";
    platform.click("frmSettings", "chkFilter");
    EXPECT_TRUE(platform.screenGains().has_value());
    EXPECT_FALSE(overlay().visible);

    platform.click("frmSettings", "Command1");
    menu("E&xit");
    EXPECT_TRUE(app->ended());
    EXPECT_FALSE(platform.screenGains().has_value()) << "the screen as it was once the program ends";
}

TEST_F(FilterTest, WhereTheDesktopCannotFilterTheWindowStaysWithOneMessage) {
    platform.setFilterUnavailable("this is a Wayland session");
    platform.store.set("tintmode", " 1");
    platform.store.set("tint", " 1");
    start();
    const std::string told =
        "Velmora cannot lay its tint as a colour filter here (this is a Wayland session), so it shows the tint "
        "window instead.";
    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text, told);
    EXPECT_TRUE(overlay().visible);
    EXPECT_FALSE(platform.screenGains().has_value());
    frmMain().Form_Load();
    EXPECT_EQ(platform.messageBoxes().size(), 1U) << "once a run";

    menu("Settings");
    EXPECT_EQ(lastMenu()[6].caption, "Colour &finder") << "the picker is on the tint window";
    EXPECT_EQ(control("frmSettings", "lblFilterWhy").text, "Not on this desktop: this is a Wayland session.");
    platform.click("frmSettings", "chkFilter");  // ticked by the store: cleared first
    platform.click("frmSettings", "chkFilter");
    EXPECT_EQ(platform.messageBoxes().back().text, told);
    EXPECT_EQ(control("frmSettings", "chkFilter").value, 0);
}

}  // namespace
}  // namespace velmora::testing
