#include "fixture.h"
#include "picker/spectrum.h"

namespace velmora::testing {
namespace {

class PickerTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        platform.store.set("tint", " 1");
        start();
        platform.click("FrmMain", "Command1");  // "Set screen color"
    }
    sim::SimControl& picture() { return control("Form1", "Picture1"); }
    void drag(int button, int x, int y) { platform.mouseMove(picture().handle, button, 0, x, y); }
    void press(int button, int x, int y) { platform.mouseDown(picture().handle, button, 0, x, y); }
    std::string box(const char* name) { return control("Form1", name).text; }
    platform::Rect marker() { return control("Form1", "Shape1").rect; }
    platform::Color swatch() { return control("Form1", "Label1").backColor; }
    static platform::Color pixel(int x, int y) {
        static const platform::Image image = spectrumPicture();
        return image.at(x, y);
    }
    void setColor() { platform.click("Form1", "Command1"); }
};

TEST_F(PickerTest, OpensWithItsDesignerLayoutAtTheLeftEdge) {
    sim::SimWindow& w = window("Form1");
    EXPECT_EQ(w.caption, "Set translucency color");
    EXPECT_EQ(w.spec.border, platform::BorderStyle::FixedSingle);
    EXPECT_FALSE(w.spec.minButton);
    EXPECT_FALSE(w.spec.maxButton);
    EXPECT_EQ(w.spec.icons.size(), 2U) << "its own icon, 16 and 32 pixels";
    EXPECT_EQ(w.rect.left, 0);
    EXPECT_EQ(w.rect.top, 768 - w.rect.height - 40) << "600 twips above the screen's bottom";

    EXPECT_EQ(picture().rect, (platform::Rect{8, 8, 258, 258}));
    EXPECT_EQ(control("Form1", "Frame1").rect, (platform::Rect{8, 272, 257, 49}));
    EXPECT_EQ(control("Form1", "Frame1").backColor, 0x00FEEDEEU);
    EXPECT_EQ(control("Form1", "Text2").rect, (platform::Rect{8, 8, 33, 19}));
    EXPECT_EQ(control("Form1", "Text3").rect.left, 48);
    EXPECT_EQ(control("Form1", "Text4").rect.left, 88);
    EXPECT_EQ(control("Form1", "Label1").rect, (platform::Rect{136, 8, 17, 17}));
    EXPECT_EQ(control("Form1", "Command1").text, "Set color");
    EXPECT_EQ(control("Form1", "Label4").text, "Click on the textbox to set the color value ");
    EXPECT_EQ(control("Form1", "Label4").spec.alignment, platform::Alignment::Center);
    EXPECT_EQ(marker(), (platform::Rect{0, 0, 9, 9}));
    EXPECT_EQ(control("Form1", "Shape1").parent, picture().handle);
    EXPECT_EQ(control("Form1", "Text2").parent, control("Form1", "Frame1").handle);

    // Labels take no focus: Tab runs through the rest in this order.
    const char* tabOrder[] = {"Picture1", "Frame1", "Command1", "Text3", "Text2", "Text4"};
    int last = -1;
    for (const char* name : tabOrder) {
        EXPECT_GT(control("Form1", name).spec.tabIndex, last) << name;
        last = control("Form1", name).spec.tabIndex;
    }
    EXPECT_EQ(control("Form1", "Label1").spec.tabIndex, -1);
    EXPECT_EQ(control("Form1", "Label4").spec.tabIndex, -1);
}

TEST_F(PickerTest, LeftDragSamplesIntoSwatchAndBoxes) {
    press(1, 0, 216);
    EXPECT_EQ(swatch(), 0x000000FFU);
    EXPECT_EQ(box("Text2"), "255");
    EXPECT_EQ(box("Text3"), "0");
    EXPECT_EQ(box("Text4"), "0");
    EXPECT_EQ(marker().left, -4) << "the marker is centred on the point";
    EXPECT_EQ(marker().top, 212);

    drag(1, 120, 100);
    const platform::Color c = pixel(120, 100);
    EXPECT_EQ(swatch(), c);
    EXPECT_EQ(box("Text2"), std::to_string(c & 0xFF));
    EXPECT_EQ(box("Text3"), std::to_string((c >> 8) & 0xFF));
    EXPECT_EQ(box("Text4"), std::to_string((c >> 16) & 0xFF));
    EXPECT_EQ(marker(), (platform::Rect{116, 96, 9, 9}));
    EXPECT_EQ(argsOf(sim::Call::GetPixel).back(), (std::vector<long long>{picture().dc, 120, 100}));
}

TEST_F(PickerTest, TheKeyboardPicksAColourAsTheMouseDoes) {
    press(1, 120, 100);
    platform.keyDown(picture().handle, 0x27);     // Right
    platform.keyDown(picture().handle, 0x28, 1);  // Shift+Down
    EXPECT_EQ(argsOf(sim::Call::GetPixel).back(), (std::vector<long long>{picture().dc, 121, 116}));
    EXPECT_EQ(swatch(), pixel(121, 116));
    EXPECT_EQ(marker(), (platform::Rect{117, 112, 9, 9}));
    for (int i = 0; i < 20; ++i) platform.keyDown(picture().handle, 0x26, 1);  // Shift+Up, past the edge
    EXPECT_EQ(argsOf(sim::Call::GetPixel).back(), (std::vector<long long>{picture().dc, 121, 0}));
    platform.keyDown(picture().handle, 0x41);  // A: nothing
    EXPECT_EQ(argsOf(sim::Call::GetPixel).back()[2], 0);

    // What a screen reader is told: the names, the range and the chosen colour.
    EXPECT_EQ(picture().spec.accessibleName, "Colour spectrum");
    EXPECT_EQ(control("Form1", "Text2").spec.accessibleName, "Red");
    EXPECT_EQ(control("Form1", "Text3").spec.accessibleName, "Green");
    EXPECT_EQ(control("Form1", "Text4").spec.accessibleName, "Blue");
    EXPECT_EQ(control("Form1", "Text4").spec.wholeNumberMax, 255);
    EXPECT_EQ(control("Form1", "Label1").spec.accessibleName, "Chosen colour");
    const platform::Color c = pixel(121, 0);
    EXPECT_EQ(control("Form1", "Label1").description, "Red " + std::to_string(c & 0xFF) + ", green " +
                                                          std::to_string((c >> 8) & 0xFF) + ", blue " +
                                                          std::to_string((c >> 16) & 0xFF));
}

TEST_F(PickerTest, DraggingPastAnEdgeSamplesTheEdge) {
    const struct {
        int x, y;
        int sampledX, sampledY;
    } cases[] = {
        {300, 100, 255, 100}, {100, 400, 100, 255}, {-40, 100, 0, 100},
        {100, -3, 100, 0},    {500, -500, 255, 0},  {0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        drag(1, c.x, c.y);
        EXPECT_EQ(argsOf(sim::Call::GetPixel).back(), (std::vector<long long>{picture().dc, c.sampledX, c.sampledY}))
            << "at " << c.x << "," << c.y;
        EXPECT_EQ(marker().left, c.sampledX - 4);
    }
    // Any position below 1 samples 0: the marker's cut is at 1, not at 0.
    float x = 0.75F;
    float y = 0.5F;
    app->form<Form1>().CheckColor(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(PickerTest, BlackOrAFailedReadMovesOnlyTheMarker) {
    press(1, 0, 216);
    drag(1, 50, 255);  // the black bottom row
    EXPECT_EQ(marker().left, 46);
    EXPECT_EQ(marker().top, 251);
    EXPECT_EQ(swatch(), 0x000000FFU);
    EXPECT_EQ(box("Text2"), "255");

    drag(1, 50, 219);  // the black row inside
    EXPECT_EQ(swatch(), 0x000000FFU);

    // A read that fails returns all bits set.
    float x = 10;
    float y = 10;
    picture().spec.picture = platform::Image{};
    app->form<Form1>().CheckColor(x, y);
    EXPECT_EQ(marker().left, 6);
    EXPECT_EQ(swatch(), 0x000000FFU);
    EXPECT_EQ(box("Text3"), "0");
}

// At 144 DPI the box is 387 pixels and each cell of the spectrum spans 1.5 of them.
TEST_F(AppTest, AtHigherDensityThePointerSamplesTheCellDrawnUnderIt) {
    platform.setScreen({1920, 1080}, 10, {{0, 0, 1920, 1040}});
    platform.store.set("tint", " 1");
    start();
    platform.click("FrmMain", "Command1");
    sim::SimControl& picture = control("Form1", "Picture1");
    ASSERT_EQ(picture.rect.width, 387);
    const auto sampled = [&] { return argsOf(sim::Call::GetPixel).back(); };
    const struct {
        int x, y, cellX, cellY;
    } cases[] = {{0, 0, 0, 0}, {1, 2, 0, 1}, {300, 150, 200, 100}, {383, 383, 255, 255}, {386, 386, 255, 255}};
    for (const auto& c : cases) {
        platform.mouseDown(picture.handle, 1, 0, c.x, c.y);
        EXPECT_EQ(sampled(), (std::vector<long long>{picture.dc, c.cellX, c.cellY})) << c.x << "," << c.y;
    }
    platform.mouseDown(picture.handle, 1, 0, 300, 150);
    EXPECT_EQ(control("Form1", "Shape1").rect, (platform::Rect{293, 143, 14, 14})) << "centred on the cell's pixels";
    platform.keyDown(picture.handle, 0x27);  // Right: the next cell, not the next pixel
    EXPECT_EQ(sampled(), (std::vector<long long>{picture.dc, 201, 100}));
}

TEST_F(PickerTest, OnlyTheLeftButtonAloneSamples) {
    for (int buttons : {0, 2, 3, 4, 5}) {
        press(buttons, 40, 40);
        drag(buttons, 60, 60);
    }
    EXPECT_TRUE(argsOf(sim::Call::GetPixel).empty());
    EXPECT_EQ(box("Text2"), "");
    EXPECT_EQ(marker(), (platform::Rect{0, 0, 9, 9}));
}

TEST_F(PickerTest, EachBoxCopiesItsNumber) {
    press(1, 0, 216);
    platform.click("Form1", "Text2");
    EXPECT_EQ(platform.clipboard(), "255");
    platform.click("Form1", "Text3");
    EXPECT_EQ(platform.clipboard(), "0");
    platform.typeText(control("Form1", "Text4").handle, "17");
    platform.click("Form1", "Text4");
    EXPECT_EQ(platform.clipboard(), "17") << "the blue box copies like the others";
}

TEST_F(PickerTest, SetColorStoresTheBoxesAndTheOverlayTakesTheColour) {
    press(1, 0, 216);
    drag(1, 171, 216);
    const platform::Color picked = swatch();
    setColor();

    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text, "Settings saved");
    EXPECT_EQ(platform.messageBoxes()[0].title, "Velmora");
    EXPECT_EQ(stored("red"), std::to_string(picked & 0xFF));
    EXPECT_EQ(stored("green"), std::to_string((picked >> 8) & 0xFF));
    EXPECT_EQ(stored("blue"), std::to_string((picked >> 16) & 0xFF));
    EXPECT_EQ(platform.windowNamed("Form1"), nullptr) << "the picker is closed";
    EXPECT_TRUE(overlay().visible);
    EXPECT_EQ(overlay().backColor, picked);
    EXPECT_EQ(overlay().layeredKey, picked);
    EXPECT_EQ(overlay().alpha, 150);
    EXPECT_EQ(platform.trayIcons().size(), 1U);
    EXPECT_TRUE(window("Form2").visible);

    // Opened again, the picker starts from its designer state.
    platform.click("FrmMain", "Command1");
    EXPECT_EQ(box("Text2"), "");
    EXPECT_EQ(marker(), (platform::Rect{0, 0, 9, 9}));
    EXPECT_EQ(swatch(), control("Form1", "Label1").spec.backColor);
}

TEST_F(PickerTest, SetColorWithNothingChosenKeepsTheReadersColour) {
    platform.store.set("red", "10");
    platform.store.set("green", "20");
    platform.store.set("blue", "30");
    setColor();
    EXPECT_EQ(stored("red"), "10");
    EXPECT_EQ(stored("blue"), "30");
    EXPECT_EQ(overlay().backColor, 0x001E140AU);
    EXPECT_EQ(platform.messageBoxes().back().text, "Settings saved");
    EXPECT_EQ(platform.windowNamed("Form1"), nullptr) << "the rest of Set color runs as ever";
    EXPECT_TRUE(overlay().visible);

    // One box filled: stored as the boxes stand, the empty ones reading 0.
    platform.click("FrmMain", "Command1");
    platform.typeText(control("Form1", "Text3").handle, "200");
    setColor();
    EXPECT_EQ(stored("red"), "");
    EXPECT_EQ(stored("green"), "200");
    EXPECT_EQ(overlay().backColor, 0x00D4C390U) << "red empty: the default tint, as ever";
}

TEST_F(PickerTest, TypedTextIsStoredAsItStandsAndNeverCrashes) {
    platform.typeText(control("Form1", "Text2").handle, "abc");
    platform.typeText(control("Form1", "Text3").handle, "70000");
    platform.typeText(control("Form1", "Text4").handle, "-5");
    setColor();
    EXPECT_FALSE(app->ended());
    EXPECT_EQ(stored("red"), "abc");
    EXPECT_EQ(stored("green"), "70000");
    EXPECT_EQ(stored("blue"), "-5");
    EXPECT_EQ(overlay().backColor, 0x0000FF00U) << "abc reads 0, 70000 is kept to 255, -5 to 0";
}

TEST_F(PickerTest, AColourPickedWhileTintIsOffIsAppliedButTheOverlayEndsHidden) {
    platform.store.set("tint", " 0");
    press(1, 0, 216);
    setColor();
    EXPECT_EQ(stored("red"), "255");
    EXPECT_EQ(overlay().backColor, 0x000000FFU);
    EXPECT_FALSE(overlay().visible);
}

TEST_F(PickerTest, AColourThatCannotBeSavedIsNeverReportedSaved) {
    press(1, 0, 216);
    platform.store.failWrites = true;
    setColor();
    ASSERT_EQ(platform.messageBoxes().size(), 1U);
    EXPECT_EQ(platform.messageBoxes()[0].text, Form1::kNotSaved);
    EXPECT_TRUE(window("Form1").visible) << "the picker stays open to try again";
    EXPECT_EQ(box("Text2"), "255");
    EXPECT_FALSE(app->ended());
}

}  // namespace
}  // namespace velmora::testing
