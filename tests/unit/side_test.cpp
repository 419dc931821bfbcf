#include "fixture.h"

namespace velmora::testing {
namespace {

using SponsorTest = AppTest;

TEST_F(SponsorTest, StandsInTheLowerRightCornerAboveOtherWindows) {
    start();
    sim::SimWindow& panel = window("Form2");
    EXPECT_TRUE(panel.visible);
    EXPECT_TRUE(panel.topmost);
    EXPECT_EQ(panel.caption, "Velmora is sponsored by :>");
    EXPECT_EQ(panel.backColor, 0x00FFFFFFU);
    EXPECT_FALSE(panel.spec.showInTaskbar);
    EXPECT_FALSE(panel.spec.minButton);
    EXPECT_FALSE(panel.spec.maxButton);
    // 4740 x 1680 client plus the frame: 332 x 151 pixels outside.
    EXPECT_EQ(panel.rect, (platform::Rect{1024 - 332 - 20, 768 - 151 - 67, 332, 151}));

    EXPECT_EQ(control("Form2", "Label1").text,
              "Now you just need something to read!" + std::string(78, ' ') + "GOTO   :>");
    EXPECT_EQ(control("Form2", "Label3").text, "to grab a great e-book bargain :0)");
    const sim::SimControl& link = control("Form2", "Label2");
    EXPECT_EQ(link.text, "https://www.gutenberg.org/");
    EXPECT_EQ(link.spec.foreColor, 0x00FF0000U);
    EXPECT_EQ(link.spec.font, (platform::Font{"MS Sans Serif", 15.0F, false, true}));
    EXPECT_GE(link.spec.tabIndex, 0) << "reachable with the keyboard";
}

TEST_F(SponsorTest, PlacedFromItsOuterSize) {
    start();
    Form2& panel = app->form<Form2>();
    panel.setWidth(4000);
    panel.setHeight(2000);
    frmMain().Form_Load();
    EXPECT_EQ(panel.Left(), 11060);
    EXPECT_EQ(panel.Top(), 8520);
}

TEST_F(SponsorTest, TheLinkClosesThePanelHidesTheOverlayAndOpensThePage) {
    platform.store.set("tint", " 1");
    start();
    const auto panel = window("Form2").handle;
    platform.click("Form2", "Label2");
    EXPECT_EQ(platform.windowNamed("Form2"), nullptr);
    EXPECT_FALSE(overlay().visible);
    EXPECT_FALSE(app->ended()) << "the program keeps running with only its icon";
    EXPECT_EQ(platform.trayIcons().size(), 1U);
    const auto calls = platform.callsOf(sim::Call::ShellExecuteA);
    ASSERT_EQ(calls.size(), 1U);
    EXPECT_EQ(calls[0].args, (std::vector<long long>{panel, 1}));
    EXPECT_EQ(calls[0].texts, (std::vector<std::string>{"open", "https://www.gutenberg.org/", "", ""}));

    // Show brings it back, placed and on top again.
    platform.queueMenuChoice(2);
    platform.notifyIconCallback(overlay().handle, 0x205);
    EXPECT_TRUE(window("Form2").visible);
    EXPECT_TRUE(window("Form2").topmost);
}

TEST_F(SponsorTest, ShowKeepsAPanelThatIsStillOpenWhereItIs) {
    start();
    platform.userMove(window("Form2").handle, 100, 100);
    platform.queueMenuChoice(2);
    platform.notifyIconCallback(overlay().handle, 0x205);
    EXPECT_EQ(window("Form2").rect.left, 100);
}

class AboutTest : public AppTest {
protected:
    void openAbout() {
        start();
        platform.queueMenuChoice(0);
        platform.notifyIconCallback(overlay().handle, 0x205);
    }
    static constexpr const char* kMsinfo = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static constexpr const char* kLocation = "SOFTWARE\\Microsoft\\Shared Tools Location";
};

TEST_F(AboutTest, ShowsTitleVersionAndItsButtons) {
    openAbout();
    sim::SimWindow& w = window("frmAbout");
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.caption, "About Velmora");
    EXPECT_EQ(w.spec.border, platform::BorderStyle::FixedDialog);
    EXPECT_EQ(w.client(), (platform::Size{382, 237}));
    EXPECT_EQ(control("frmAbout", "lblTitle").text, "Velmora");
    EXPECT_EQ(control("frmAbout", "lblVersion").text, "Version 1.0.0");
    EXPECT_EQ(control("frmAbout", "cmdOK").text, "OK");
    EXPECT_TRUE(control("frmAbout", "cmdOK").spec.isDefault);
    EXPECT_TRUE(control("frmAbout", "cmdOK").spec.isCancel);
    EXPECT_EQ(control("frmAbout", "cmdOK").spec.tabIndex, 0);
    EXPECT_EQ(control("frmAbout", "cmdSysInfo").text, "&System Info...");
    EXPECT_EQ(control("frmAbout", "picIcon").spec.picture.width, 32);
    EXPECT_EQ(control("frmAbout", "Line1(0)").rect, (platform::Rect{6, 163, 377, 163}));
    EXPECT_EQ(control("frmAbout", "Line1(1)").spec.lineWidth, 2);

    platform.click("frmAbout", "cmdOK");
    EXPECT_EQ(platform.windowNamed("frmAbout"), nullptr);
}

TEST_F(AboutTest, SystemInfoIsUnavailableWithoutEitherValue) {
    openAbout();
    platform.click("frmAbout", "cmdSysInfo");
    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(platform.messageBoxes()[0].title, "Velmora");
    EXPECT_TRUE(platform.startedPrograms().empty());
    // Opened with the access mask the lookup has always used; a key never opened is not closed.
    const auto open = platform.callsOf(sim::Call::RegOpenKeyExA);
    ASSERT_EQ(open.size(), 2U);
    EXPECT_EQ(open[0].args, (std::vector<long long>{static_cast<long long>(0x80000002), 0, 0x2003F}));
    EXPECT_TRUE(platform.callsOf(sim::Call::RegCloseKey).empty());
}

TEST_F(AboutTest, SystemInfoStartsTheToolNamedInTheRegistry) {
    platform.setRegistryValue(kMsinfo, "PATH", 1, std::string("C:\\Tools\\msinfo32.exe") + '\0');
    openAbout();
    platform.click("frmAbout", "cmdSysInfo");
    ASSERT_EQ(platform.startedPrograms().size(), 1U);
    EXPECT_EQ(platform.startedPrograms()[0], (std::pair<std::string, int>{"C:\\Tools\\msinfo32.exe", 1}))
        << "the terminating zero is cut";
    EXPECT_TRUE(platform.messageBoxes().empty());
}

TEST_F(AboutTest, TheSecondValueCountsOnlyWhenTheToolIsThere) {
    platform.setRegistryValue(kLocation, "MSINFO", 1, "C:\\Shared\\MSINFO");
    openAbout();
    platform.click("frmAbout", "cmdSysInfo");
    EXPECT_EQ(platform.messageBoxes().back().text, "System Information Is Unavailable At This Time");

    platform.addFile("C:\\Shared\\MSINFO\\MSINFO32.EXE");
    platform.click("frmAbout", "cmdSysInfo");
    ASSERT_EQ(platform.startedPrograms().size(), 1U);
    EXPECT_EQ(platform.startedPrograms()[0].first, "C:\\Shared\\MSINFO\\MSINFO32.EXE");
}

TEST_F(AboutTest, AToolThatFailsToStartIsUnavailable) {
    platform.setRegistryValue(kMsinfo, "PATH", 1, "C:\\Gone\\msinfo32.exe");
    platform.setStartProgramSucceeds(false);
    openAbout();
    platform.click("frmAbout", "cmdSysInfo");
    EXPECT_EQ(platform.messageBoxes().back().text, "System Information Is Unavailable At This Time");
    EXPECT_FALSE(app->ended());
}

TEST_F(AboutTest, GetKeyValueReadsTextAndNumbers) {
    start();
    frmAbout& about = app->form<frmAbout>();
    platform.setRegistryValue("SOFTWARE\\Velmora test", "text", 1, std::string("abc") + '\0');
    platform.setRegistryValue("SOFTWARE\\Velmora test", "bare", 1, "abc");
    platform.setRegistryValue("SOFTWARE\\Velmora test", "number", 4, std::string("\x2A\x01\x00\x00", 4));
    platform.setRegistryValue("SOFTWARE\\Velmora test", "binary", 3, "xy");
    std::string value = "kept";
    EXPECT_TRUE(about.GetKeyValue(0x80000002, "SOFTWARE\\Velmora test", "text", value));
    EXPECT_EQ(value, "abc");
    EXPECT_TRUE(about.GetKeyValue(0x80000002, "SOFTWARE\\Velmora test", "bare", value));
    EXPECT_EQ(value, "abc");
    EXPECT_TRUE(about.GetKeyValue(0x80000002, "SOFTWARE\\Velmora test", "number", value));
    EXPECT_EQ(value, "298") << "0x0000012A";
    value = "kept";
    EXPECT_TRUE(about.GetKeyValue(0x80000002, "SOFTWARE\\Velmora test", "binary", value));
    EXPECT_EQ(value, "kept") << "other types leave the text as it was";
    EXPECT_FALSE(about.GetKeyValue(0x80000002, "SOFTWARE\\Velmora test", "missing", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(platform.callsOf(sim::Call::RegOpenKeyExA).size(), platform.callsOf(sim::Call::RegCloseKey).size());
}

TEST_F(AboutTest, EscapeClosesEveryWindowButTheTintAsItsCloseBoxDoes) {
    platform.store.set("tint", " 1");
    start();
    platform.click("FrmMain", "Command1");
    platform.queueMenuChoice(5);  // Settings
    platform.notifyIconCallback(overlay().handle, 0x205);
    platform.queueMenuChoice(0);  // About
    platform.notifyIconCallback(overlay().handle, 0x205);
    for (const char* name : {"Form1", "frmSettings", "Form2", "frmAbout"}) {
        platform.pressEscape(window(name).handle);
        EXPECT_EQ(platform.windowNamed(name), nullptr) << name;
    }
    platform.pressEscape(overlay().handle);
    EXPECT_TRUE(overlay().visible) << "the tint stays where the reader put it";
}

}  // namespace
}  // namespace velmora::testing
