#include "app/commands.h"

#include "fixture.h"

namespace velmora::testing {
namespace {

using Kind = CommandLine::Kind;

TEST(CommandLineTest, OneKnownCommandHelpVersionOrAUsage) {
    EXPECT_EQ(parseCommandLine({}).kind, Kind::Run);
    EXPECT_EQ(parseCommandLine({}).command, "");
    EXPECT_EQ(parseCommandLine({"--ruler"}).command, "ruler");
    EXPECT_EQ(parseCommandLine({"-platform", "xcb", "--platform", "xcb", "--finder"}).command, "finder")
        << "Qt's own options are Qt's";
    EXPECT_EQ(parseCommandLine({"--help"}).kind, Kind::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).kind, Kind::Version);
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--bogus"}, {"--show", "--hide"}, {"--SHOW"}, {"--"}}) {
        EXPECT_EQ(parseCommandLine(wrong).kind, Kind::Wrong) << wrong.front();
    }
    for (const char* word : {"show", "hide", "toggle", "clickthrough", "ruler", "rulerup", "rulerdown", "settings",
                             "picker", "about", "finder", "quit"}) {
        EXPECT_NE(usageLine().find(std::string("--") + word), std::string::npos) << word;
    }
    EXPECT_EQ(versionText(), "Velmora 1.0.0\n");
}

TEST_F(AppTest, CommandsReachTheRunningCopyAndActAsTheirMenuEntries) {
    // With none running, --quit and --hide start nothing.
    EXPECT_EQ(app->run("quit"), 0);
    EXPECT_EQ(platform.windowNamed("FrmMain"), nullptr);
    EXPECT_FALSE(platform.primaryInstance());

    // Another copy is told, and this one leaves.
    {
        ProgramRun later;
        later.platform.setAnotherInstanceRunning(true);
        EXPECT_EQ(later.app.run("ruler"), 0);
        EXPECT_EQ(later.platform.callsOf(sim::Call::BecomePrimaryInstance).back().texts,
                  std::vector<std::string>{"ruler"});
        EXPECT_EQ(later.platform.windowNamed("FrmMain"), nullptr);
    }

    // The others start first, then act.
    EXPECT_EQ(app->run("settings"), 0);
    EXPECT_TRUE(window("frmSettings").visible);
    platform.anotherInstanceStarted("ruler");
    EXPECT_EQ(stored("ruler"), " 1") << "as its hotkey does";
    platform.anotherInstanceStarted("finder");
    EXPECT_TRUE(window("frmFinder").visible);
    platform.anotherInstanceStarted("bogus");
    platform.anotherInstanceStarted("hide");
    EXPECT_FALSE(overlay().visible);
    platform.anotherInstanceStarted("show");
    EXPECT_TRUE(overlay().visible);
    platform.anotherInstanceStarted("quit");
    EXPECT_TRUE(app->ended());
}

}  // namespace
}  // namespace velmora::testing
