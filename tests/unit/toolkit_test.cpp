#include <gtest/gtest.h>

#include "../contract/platform_contract.h"
#include "platform/sim/platform.h"
#include "toolkit/controls.h"

namespace velmora::toolkit {
namespace {

namespace sim = platform::sim;

FormDesign probeDesign(ScaleMode mode) {
    return {.name = "Probe", .caption = "Probe window", .client = {3000, 1500}, .scaleMode = mode};
}

ControlDesign at(const char* name, float left, float top, float width, float height, const char* text = "") {
    return {.name = name, .at = {left, top, width, height}, .look = {.text = text}};
}

// A window with one of most controls, counting what its handlers saw.
class Probe : public Form {
public:
    Probe(Runtime& runtime, ScaleMode mode = ScaleMode::Twips)
        : Form(runtime, probeDesign(mode)),
          Button(*this, at("Button", 150, 150, 1500, 450, "&Go")),
          Box(*this, at("Box", 150, 750, 1500, 300)),
          Check(*this, at("Check", 1800, 150, 1000, 300, "Tick")),
          Picture(*this, at("Picture", 0, 1050, 600, 300), ScaleMode::Pixels),
          Marker(*this, at("Marker", 30, 30, 135, 135), &Picture),
          Ticker(*this, "Ticker", 100),
          Popup(*this, "Popup", "Menu", {{"mnuOne", "One", [this] { log += "one;"; }}, {"mnuSep", "-", {}}}) {
        Button.Click = [this] { log += "click;"; };
        Check.Click = [this] { log += "check" + std::to_string(Check.Value()) + ";"; };
        Ticker.Tick = [this] { ++ticks; };
        Picture.MouseDown = [this](int b, int s, float x, float y) {
            log += "down" + std::to_string(b) + "," + std::to_string(s) + "," + std::to_string(static_cast<int>(x)) +
                   "," + std::to_string(static_cast<int>(y)) + ";";
        };
    }

    int loads = 0;
    int unloads = 0;
    int resizes = 0;
    int ticks = 0;
    int cancelUnload = 0;
    std::string log;

    CommandButton Button;
    TextBox Box;
    CheckBox Check;
    PictureBox Picture;
    Shape Marker;
    Timer Ticker;
    Menu Popup;

protected:
    void Form_Load() override { ++loads; }
    void Form_Unload(int& cancel) override {
        ++unloads;
        cancel = cancelUnload;
    }
    void Form_Resize() override { ++resizes; }
};

class ToolkitTest : public ::testing::Test {
protected:
    sim::SimPlatform platform;
    Runtime runtime{platform, AppInfo{}};
    Probe probe{runtime};

    sim::SimWindow* native() { return platform.windowNamed("Probe"); }
    sim::SimControl& control(const char* name) { return *platform.control("Probe", name); }
};

TEST_F(ToolkitTest, TouchingAPropertyOrControlLoadsWithoutShowing) {
    EXPECT_FALSE(probe.isLoaded());
    EXPECT_EQ(native(), nullptr);

    EXPECT_EQ(probe.Caption(), "Probe window");
    EXPECT_TRUE(probe.isLoaded());
    EXPECT_EQ(probe.loads, 1);
    EXPECT_FALSE(native()->visible);

    probe.Width();
    probe.Button.Caption();
    EXPECT_EQ(probe.loads, 1) << "a loaded window is not loaded again";

    probe.Unload();
    EXPECT_FALSE(probe.isLoaded());
    probe.Box.setText("x");  // a control of an unloaded window loads it
    EXPECT_EQ(probe.loads, 2);
}

TEST_F(ToolkitTest, ShowLoadsAndMakesVisible) {
    probe.Show();
    EXPECT_EQ(probe.loads, 1);
    EXPECT_TRUE(native()->visible);
    probe.Hide();
    EXPECT_FALSE(native()->visible);
    EXPECT_TRUE(probe.isLoaded());
}

TEST_F(ToolkitTest, UnloadRunsTheHandlerAndHonoursCancel) {
    probe.Unload();
    EXPECT_EQ(probe.unloads, 0) << "unloading a window that is not loaded does nothing";

    probe.Show();
    probe.cancelUnload = -1;
    probe.Unload();
    EXPECT_EQ(probe.unloads, 1);
    EXPECT_TRUE(probe.isLoaded()) << "a cancelled unload keeps the window";

    probe.cancelUnload = 0;
    probe.Unload();
    EXPECT_EQ(probe.unloads, 2);
    EXPECT_FALSE(probe.isLoaded());
    EXPECT_EQ(native(), nullptr);
    EXPECT_EQ(platform.liveTimers(), 0) << "timers die with their window";
}

TEST_F(ToolkitTest, AFreshLoadStartsFromTheDesignerState) {
    probe.setCaption("changed");
    probe.Button.setCaption("Other");
    probe.Box.setText("typed");
    probe.Check.setValue(1);
    probe.Marker.setLeft(20);
    probe.setWidth(6000);
    probe.Unload();

    EXPECT_EQ(probe.Caption(), "Probe window");
    EXPECT_EQ(probe.Button.Caption(), "&Go");
    EXPECT_EQ(probe.Box.Text(), "");
    EXPECT_EQ(probe.Check.Value(), 0);
    EXPECT_EQ(probe.Marker.Left(), 2) << "30 twips in the picture's pixels";
    EXPECT_EQ(native()->client().width, 200);
    EXPECT_EQ(control("Button").rect, (platform::Rect{10, 10, 100, 30}));
}

TEST_F(ToolkitTest, GeometryIsTwipsKeptAsSetUntilThePixelsChange) {
    probe.setWidth(4000);  // 266.67 px: the window gets 267, the program still reads what it set
    EXPECT_EQ(native()->rect.width, 267);
    EXPECT_EQ(probe.Width(), 4000);

    platform.userResize(native()->handle, 300, 200);
    EXPECT_EQ(probe.Width(), 4500) << "moved by the person: the pixels win";
    EXPECT_EQ(probe.Height(), 3000);
    EXPECT_GE(probe.resizes, 2);

    probe.setWidth(0);  // below the platform's minimum
    EXPECT_EQ(probe.Width(), 136 * 15);

    probe.setLeft(-300);
    EXPECT_EQ(native()->rect.left, -20);
    EXPECT_EQ(probe.Left(), -300);

    EXPECT_THROW(probe.setWidth(-1), RuntimeError);
    EXPECT_THROW(probe.setLeft(1e30F), RuntimeError);
}

TEST_F(ToolkitTest, ControlGeometryFollowsTheContainersScaleMode) {
    probe.Button.setLeft(-300);
    EXPECT_EQ(control("Button").rect.left, -20);
    EXPECT_EQ(probe.Button.Left(), -300);

    probe.Marker.setLeft(7);  // inside a pixel-scaled picture
    EXPECT_EQ(control("Marker").rect.left, 7);
    EXPECT_EQ(probe.Marker.Width(), 9);

    sim::SimPlatform other;
    Runtime otherRuntime{other, AppInfo{}};
    Probe pixels{otherRuntime, ScaleMode::Pixels};
    pixels.Button.setLeft(12);
    EXPECT_EQ(other.control("Probe", "Button")->rect.left, 12);
    EXPECT_EQ(pixels.Button.Width(), 100);
}

TEST_F(ToolkitTest, CheckBoxRaisesClickWhenItsValueChanges) {
    probe.Check.setValue(0);
    EXPECT_EQ(probe.log, "") << "the same value raises nothing";
    probe.Check.setValue(1);
    EXPECT_EQ(probe.log, "check1;");
    probe.Check.setValue(2);
    EXPECT_EQ(probe.log, "check1;check2;");
    EXPECT_THROW(probe.Check.setValue(3), RuntimeError);

    probe.Check.setValue(1);
    probe.log.clear();
    platform.click(control("Check").handle);  // a person's click toggles first
    EXPECT_EQ(probe.log, "check0;");
}

TEST_F(ToolkitTest, EventsReachTheirHandlersInScaleUnits) {
    probe.Show();
    platform.click(control("Button").handle);
    platform.mouseDown(control("Picture").handle, 1, 2, 40, 50);
    EXPECT_EQ(probe.log, "click;down1,2,40,50;");

    platform.advance(350);
    EXPECT_EQ(probe.ticks, 3);
    probe.Hide();
    platform.advance(100);
    EXPECT_EQ(probe.ticks, 4) << "a hidden window's timer keeps ticking";
}

TEST_F(ToolkitTest, PopupMenuRunsTheChosenEntry) {
    platform.queueMenuChoice(0);
    probe.PopupMenu(probe.Popup);
    platform.queueMenuChoice(std::nullopt);
    probe.PopupMenu(probe.Popup);
    EXPECT_EQ(probe.log, "one;");
    ASSERT_EQ(platform.menus().size(), 2U);
    EXPECT_EQ(platform.menus()[0].items[0].caption, "One");
    EXPECT_EQ(platform.menus()[0].items[1].caption, "-");
}

TEST_F(ToolkitTest, CloseBoxUnloads) {
    probe.Show();
    platform.requestClose(native()->handle);
    EXPECT_EQ(probe.unloads, 1);
    EXPECT_FALSE(probe.isLoaded());
}

TEST_F(ToolkitTest, AnUntrappedErrorShowsTheStandardMessageAndEnds) {
    probe.Show();
    probe.Button.Click = [this] { probe.setWidth(-5); };
    platform.click(control("Button").handle);

    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text, "Run-time error '380':\n\nInvalid property value");
    EXPECT_EQ(platform.messageBoxes()[0].title, "Velmora");
    EXPECT_TRUE(runtime.ended());
    EXPECT_TRUE(platform.quitRequested());
    EXPECT_NE(platform.quitCode(), 0);

    platform.advance(500);
    EXPECT_EQ(probe.ticks, 0) << "nothing runs after the end";
}

TEST_F(ToolkitTest, EndStopsAtOnce) {
    probe.Show();
    bool after = false;
    probe.Button.Click = [&] {
        runtime.end();
        after = true;  // never reached
    };
    platform.click(control("Button").handle);
    EXPECT_FALSE(after);
    EXPECT_TRUE(platform.quitRequested());
    EXPECT_EQ(platform.quitCode(), 0);
    platform.advance(500);
    EXPECT_EQ(probe.ticks, 0);
    platform.requestClose(native()->handle);
    EXPECT_EQ(probe.unloads, 0) << "no window gets a further unload event";
}

TEST_F(ToolkitTest, EndWhileAModalBoxIsOpenStopsTheHandlerThatOpenedIt) {
    probe.Show();
    bool after = false;
    probe.Check.Click = [&] { runtime.end(); };
    probe.Button.Click = [&] {
        runtime.msgBox("hello");
        after = true;
    };
    platform.queueMessageBoxAction([&](const sim::SimMessageBox&) {
        platform.click(control("Check").handle);  // the person ends the program meanwhile
        return 1;
    });
    platform.click(control("Button").handle);
    EXPECT_TRUE(runtime.ended());
    EXPECT_FALSE(after);
}

TEST_F(ToolkitTest, ScreenAndApplicationObject) {
    EXPECT_EQ(runtime.screenWidth(), 15360);
    EXPECT_EQ(runtime.screenHeight(), 11520);
    EXPECT_EQ(runtime.twipsPerPixelX(), 15);
    EXPECT_EQ(runtime.app().title, "Velmora");
    EXPECT_EQ(runtime.app().major, 1);
    EXPECT_EQ(runtime.path(), "C:\\Program Files\\Velmora");
    EXPECT_EQ(runtime.exeName(), "velmora");
    platform.setExePath("/opt/velmora.d/bin/velmora");
    EXPECT_EQ(runtime.path(), "/opt/velmora.d/bin");
    EXPECT_EQ(runtime.exeName(), "velmora");

    runtime.msgBox("text");
    EXPECT_EQ(platform.messageBoxes().back().title, "Velmora") << "the title defaults to the application title";
    runtime.clipboardClear();
    EXPECT_FALSE(platform.clipboard().has_value());
    runtime.clipboardSetText("128");
    EXPECT_EQ(platform.clipboard(), "128");
}

// A platform reports a failure as a result; the toolkit raises the runtime error.
TEST_F(ToolkitTest, BadCallsFailAsResultsAndTheToolkitRaises) {
    contract::expectBadCallsFailAlike(platform);
    platform.setStartProgramSucceeds(false);
    try {
        runtime.Shell("C:\\Gone\\tool.exe", 1);
        ADD_FAILURE() << "a program that cannot start raises";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), errors::FileNotFound);
    }
}

}  // namespace
}  // namespace velmora::toolkit
