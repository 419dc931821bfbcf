// Every text a person reads and every key people's settings live under, spelled
// out as shipped: a changed caption, message or key fails here, whatever the
// code's own constants say.
#include "app/Module1.h"
#include "fixture.h"

namespace velmora::testing {
namespace {

class ContractTest : public AppTest {};

TEST_F(ContractTest, EveryCaptionMessageAndStoreKeyIsAsShipped) {
    platform.store.set("tint", " 1");
    start();
    platform.click("FrmMain", "Command1");  // the picker
    platform.queueMenuChoice(5);            // Settings
    platform.notifyIconCallback(overlay().handle, 0x205);
    platform.queueMenuChoice(0);  // About
    platform.notifyIconCallback(overlay().handle, 0x205);

    const struct {
        const char* window;
        const char* control;  // empty: the window's caption
        std::string text;
    } captions[] = {
        {"FrmMain", "", "Velmora v1.0"},
        {"FrmMain", "cmdExit", "E&xit"},
        {"FrmMain", "Command1", "Set screen color"},
        {"FrmMain", "Command2", "Bring to front"},
        {"Form1", "", "Set translucency color"},
        {"Form1", "Command1", "Set color"},
        {"Form1", "Label4", "Click on the textbox to set the color value "},
        {"Form2", "", "Velmora is sponsored by :>"},
        {"Form2", "Label1", "Now you just need something to read!" + std::string(78, ' ') + "GOTO   :>"},
        {"Form2", "Label2", "https://www.gutenberg.org/"},
        {"Form2", "Label3", "to grab a great e-book bargain :0)"},
        {"frmSettings", "", "Settings "},
        {"frmSettings", "Check1", "Automatically load with windows startup."},
        {"frmSettings", "Check2", "Automatically display tint on app load"},
        {"frmSettings", "Command1", "&OK"},
        {"frmSettings", "fraReadingTools", "Reading tools"},
        {"frmSettings", "lblStrength", "&Strength:"},
        {"frmSettings", "lblPercent", "59%"},
        {"frmSettings", "chkClickThrough", "Clicks &go through the tint"},
        {"frmSettings", "chkRuler", "Reading &ruler"},
        {"frmSettings", "chkLightBox", "Light &box: a clear strip, the tint around it"},
        {"frmSettings", "chkFollow", "Ruler &follows the pointer"},
        {"frmSettings", "lblHeight", "Ruler &height in pixels:"},
        {"frmSettings", "txtHeight", "48"},
        {"frmSettings", "lblKeyTint", "&Tint on or off:"},
        {"frmSettings", "hkTint", "Ctrl+Alt+O"},
        {"frmSettings", "lblKeyClick", "Clic&ks through on or off:"},
        {"frmSettings", "hkClick", "Ctrl+Alt+P"},
        {"frmSettings", "lblKeyRuler", "R&uler on or off:"},
        {"frmSettings", "hkRuler", "Ctrl+Alt+R"},
        {"frmSettings", "lblKeyUp", "Ruler u&p:"},
        {"frmSettings", "hkRulerUp", "Ctrl+Alt+PgUp"},
        {"frmSettings", "lblKeyDown", "Ruler &down:"},
        {"frmSettings", "hkRulerDown", "Ctrl+Alt+PgDown"},
        {"frmSettings", "lblKeyMenu", "Notification &menu:"},
        {"frmSettings", "hkMenu", "Ctrl+Alt+M"},
        {"frmSettings", "chkFilter", "Tint as a &colour filter: black text stays black"},
        {"frmAbout", "", "About Velmora"},
        {"frmAbout", "lblTitle", "Velmora"},
        {"frmAbout", "lblVersion", "Version 1.0.0"},
        {"frmAbout", "lblDescription", "App Description"},
        {"frmAbout", "lblDisclaimer", "Warning: ..."},
        {"frmAbout", "cmdOK", "OK"},
        {"frmAbout", "cmdSysInfo", "&System Info..."},
    };
    for (const auto& c : captions) {
        const std::string shown = *c.control == '\0' ? window(c.window).caption : control(c.window, c.control).text;
        EXPECT_EQ(shown, c.text) << c.window << ' ' << c.control;
    }
    platform.click("FrmMain", "Command2");
    EXPECT_EQ(control("FrmMain", "Command2").text, "Set to normal");
    ASSERT_FALSE(platform.menus().empty());
    std::vector<std::string> menu;
    for (const auto& item : platform.menus()[0].items) menu.push_back(item.caption);
    EXPECT_EQ(menu, (std::vector<std::string>{"About", "-", "Show", "Hide", "-", "Settings", "Colour &finder",
                                              "F&avourites", "-", "E&xit"}));
    EXPECT_EQ(platform.trayIcons().begin()->second.tip, "Velmora" + std::string(57, ' '));

    // Where people's settings already live: a rename loses them.
    platform.store.values.clear();
    platform.advance(100);
    platform.click("frmSettings", "Check1");
    platform.click("frmSettings", "Check2");
    platform.click("FrmMain", "Command2");
    platform.typeText(control("Form1", "Text2").handle, "1");
    platform.click("Form1", "Command1");  // red, green and blue as the boxes hold them
    EXPECT_STREQ(keys::app, "velmora");
    EXPECT_STREQ(keys::section, "config");
    for (const char* key : {"red", "green", "blue", "width", "height", "top", "left", "frontmost", "tint", "loadwin"}) {
        EXPECT_TRUE(platform.store.values.count({"velmora", "config", key}) != 0) << key << " was never written";
    }
    EXPECT_EQ(platform.store.values.size(), 10U) << "and nothing else";
    platform.slide(control("frmSettings", "sldStrength").handle, 70);
    for (const char* box : {"chkClickThrough", "chkRuler", "chkLightBox", "chkFollow", "chkFilter"}) {
        platform.click("frmSettings", box);
    }
    platform.typeText(control("frmSettings", "txtHeight").handle, "60");
    for (const char* box : {"hkTint", "hkClick", "hkRuler", "hkRulerUp", "hkRulerDown", "hkMenu"}) {
        platform.typeText(control("frmSettings", box).handle, "Ctrl+Shift+F2");
    }
    for (const char* key :
         {"alpha", "clickthrough", "ruler", "rulerheight", "rulerstyle", "rulerfollow", "hotkeytint", "hotkeyclick",
          "hotkeyruler", "hotkeyrulerup", "hotkeyrulerdown", "hotkeymenu", "tintmode"}) {
        EXPECT_TRUE(platform.store.values.count({"velmora", "config", key}) != 0) << key << " was never written";
    }
    EXPECT_EQ(window("frmRuler").caption, "Velmora reading ruler");

    // Messages, each brought about as a person would meet it.
    platform.clearCalls();
    const auto said = [this] { return platform.messageBoxes().back().text; };
    platform.click("frmAbout", "cmdSysInfo");
    EXPECT_EQ(said(), "System Information Is Unavailable At This Time");
    EXPECT_EQ(platform.messageBoxes().back().title, "Velmora");
    platform.setStartupEntryWritable(false);
    Module1::RegisterStartupEntry(*app);
    EXPECT_EQ(said(), "Velmora could not add itself to the programs that start when you log in.");
    Module1::MakeTranslucent(*app, overlay().handle, 0, 300, 2);
    EXPECT_EQ(said(), "Overflow Source : Velmora");
    EXPECT_EQ(platform.messageBoxes().at(0).text, "Settings saved");
    platform.click("FrmMain", "Command1");
    platform.store.failWrites = true;
    platform.typeText(control("Form1", "Text2").handle, "1");
    platform.click("Form1", "Command1");
    EXPECT_EQ(said(), "The colour could not be saved: Velmora cannot write its settings.");
    platform.userMove(overlay().handle, 10, 10);
    platform.advance(100);
    EXPECT_EQ(said(), "Velmora could not save its settings, so changes made now will be lost when it ends.");
    app->runHandler([this] { frmMain().setWidth(-1); });
    EXPECT_EQ(said(), "Run-time error '380':\n\nInvalid property value");

    auto withoutTray = startWith({}, [](sim::SimPlatform& p) { p.setNotificationAreaAvailable(false); });
    EXPECT_EQ(withoutTray->platform.messageBoxes().at(0).text,
              "Velmora found no notification area on this desktop, so it cannot show its icon there. "
              "The tint window stays open instead: its Exit button ends Velmora. "
              "If you close the tint window, start Velmora again to bring it back. "
              "Settings, the colour picker and the rest are in Velmora's entry in the desktop's menu of programs "
              "(right-click it for its actions), and are commands too, such as velmora --settings "
              "(velmora --help lists them).");

    auto wayland = startWith({}, [](sim::SimPlatform& p) { p.setWaylandSessionThroughXWayland(true); });
    wayland->platform.anotherInstanceStarted("settings");
    EXPECT_EQ(wayland->platform.control("frmSettings", "lblFollowWhy")->text,
              "In a Wayland session the ruler cannot follow the pointer: it stays where it is and steps with its "
              "keys.");
    EXPECT_EQ(wayland->platform.control("frmSettings", "lblKeysWhy")->text,
              "In a Wayland session these keys work only while an X11 window, such as Velmora's, has the keyboard. "
              "To use them anywhere, give the desktop a shortcut of its own that runs a command, such as "
              "velmora --toggle or velmora --ruler: in GNOME under Settings > Keyboard > Custom Shortcuts, "
              "in KDE under System Settings > Shortcuts > Custom Shortcuts.");
}

}  // namespace
}  // namespace velmora::testing
