#include "fixture.h"

namespace velmora::testing {
namespace {

using FrontmostTest = AppTest;

TEST_F(FrontmostTest, FirstClickRaisesOverlayAndPanelSecondClickLowersTheOverlay) {
    platform.store.set("tint", " 1");
    start();
    platform.clearCalls();

    platform.click("FrmMain", "Command2");
    EXPECT_TRUE(overlay().topmost);
    EXPECT_TRUE(window("Form2").topmost);
    EXPECT_EQ(control("FrmMain", "Command2").text, "Set to normal");
    EXPECT_EQ(stored("frontmost"), "1");
    EXPECT_EQ(argsOf(sim::Call::SetWindowPos), (std::vector<std::vector<long long>>{
                                                   {overlay().handle, -1, 0, 0, 0, 0, 3},
                                                   {window("Form2").handle, -1, 0, 0, 0, 0, 3},
                                               }));

    platform.click("FrmMain", "Command2");
    EXPECT_FALSE(overlay().topmost);
    EXPECT_TRUE(window("Form2").topmost) << "the sponsor panel keeps its place";
    EXPECT_EQ(control("FrmMain", "Command2").text, "Bring to front");
    EXPECT_EQ(stored("frontmost"), "0");
    EXPECT_EQ(argsOf(sim::Call::SetWindowPos).back(), (std::vector<long long>{overlay().handle, -2, 0, 0, 0, 0, 3}));
    // The picker is raised, loaded without being shown when it was not open.
    ASSERT_NE(platform.windowNamed("Form1"), nullptr);
    EXPECT_FALSE(window("Form1").visible);
    EXPECT_TRUE(platform.isAbove(window("Form1").handle, overlay().handle));
}

TEST_F(FrontmostTest, StartRestoresTheStoredChoice) {
    const struct {
        const char* stored;
        bool topmost;
    } cases[] = {{"1", true}, {"1.0", true}, {" 1", true}, {"2", false}, {"0", false}, {"", false}, {"yes", false}};
    for (const auto& c : cases) {
        const auto run = startWith({{"frontmost", c.stored}});
        SCOPED_TRACE(std::string("frontmost=\"") + c.stored + "\"");
        EXPECT_EQ(run->overlay().topmost, c.topmost);
        EXPECT_EQ(run->platform.control("FrmMain", "Command2")->text, c.topmost ? "Set to normal" : "Bring to front");
        EXPECT_EQ(run->platform.control("FrmMain", "Command2")->value, c.topmost ? 1 : 0) << "shown pressed when on";
    }
}

TEST_F(FrontmostTest, ShowReappliesTheStoredChoiceWithoutWriting) {
    start();
    platform.store.set("frontmost", "1");  // stored while the overlay is normal
    const int writes = platform.store.writes;
    platform.queueMenuChoice(2);
    platform.notifyIconCallback(overlay().handle, 0x205);
    EXPECT_TRUE(overlay().topmost);
    EXPECT_EQ(control("FrmMain", "Command2").text, "Set to normal");
    EXPECT_EQ(platform.store.writes, writes);

    platform.store.set("frontmost", "0");
    platform.queueMenuChoice(2);
    platform.notifyIconCallback(overlay().handle, 0x205);
    EXPECT_FALSE(overlay().topmost);
    EXPECT_EQ(control("FrmMain", "Command2").text, "Bring to front");
    EXPECT_EQ(platform.store.writes, writes);
}

TEST_F(FrontmostTest, RunningTheLoadHandlerAgainKeepsTheOverlayTopmost) {
    platform.store.set("frontmost", "1");
    start();
    ASSERT_TRUE(overlay().topmost);
    frmMain().Form_Load();  // as after "Set color"
    EXPECT_TRUE(overlay().topmost) << "the person's choice survives a colour change";
    EXPECT_EQ(control("FrmMain", "Command2").text, "Set to normal");
    EXPECT_EQ(stored("frontmost"), "1");
    EXPECT_EQ(platform.windowNamed("Form1"), nullptr) << "the picker is not loaded again";
}

}  // namespace
}  // namespace velmora::testing
