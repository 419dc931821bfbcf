#include <random>

#include "fixture.h"
#include "tools/favourites/Favourites.h"
#include "tools/finder/FinderProcedure.h"
#include "tools/strength/Strength.h"

namespace velmora::testing {
namespace {

using namespace velmora::tools;
using Answer = FinderProcedure::Answer;

std::vector<int> strengths() {
    std::vector<int> all;
    for (int p = 10; p <= 100; ++p) {
        if (all.empty() || all.back() != alphaOfPercent(p)) all.push_back(alphaOfPercent(p));
    }
    return all;
}

// A reader with a colour in mind, who picks the side nearer to it and says Same
// when both are within 0.005 of each other; one time in `slips` at random.
struct Reader {
    colour::Chromaticity mind;
    int slips = 0;
    std::mt19937 noise{5};
    Answer answer(platform::Color left, platform::Color right) {
        if (slips > 0 && noise() % slips == 0) return static_cast<Answer>(noise() % 3);
        const double l = colour::distance(colour::chromaticityOf(left), mind);
        const double r = colour::distance(colour::chromaticityOf(right), mind);
        if (std::abs(l - r) <= 0.005) return Answer::Same;
        return l < r ? Answer::Left : Answer::Right;
    }
};

TEST(FinderProcedureTest, ScriptedReadersEndNearTheColourInMind) {
    const colour::Chromaticity w = colour::white();
    int tried = 0;
    for (int i = 0; i < 10; ++i) {
        // Colours in mind around white, out to 0.07, every hue.
        const double angle = i * 2.4, radius = 0.007 * (i + 1);
        const auto page = colour::brightestOf({w.u + radius * std::cos(angle), w.v + radius * std::sin(angle)});
        if (!page) continue;
        ++tried;
        for (const int slips : {0, 10}) {
            Reader reader{colour::chromaticityOf(*page), slips};
            FinderProcedure finder(strengths(), 1000 + i);
            int asked = 0;
            while (!finder.done()) {
                const auto [left, right] = finder.pages();
                ASSERT_NE(left, right) << "the two sides never show the same page";
                finder.answer(reader.answer(left, right));
                ++asked;
            }
            const colour::Tint found = finder.result();
            const double off =
                colour::distance(colour::chromaticityOf(colour::pageOf(found.color, found.alpha)), reader.mind);
            EXPECT_LE(asked, 30);
            EXPECT_LE(off, slips == 0 ? 0.02 : 0.04) << "colour " << i << ", a slip one time in " << slips;
        }
    }
    EXPECT_GE(tried, 8);
}

class FinderTest : public AppTest {
protected:
    void menu(const std::string& choice) {
        platform.queueMenuChoiceNamed(choice);
        platform.notifyIconCallback(overlay().handle, 0x205);
    }
};

TEST_F(FinderTest, TheFinderAsksUntilTheColourIsFoundAndUsesItAsAFavourite) {
    platform.store.set("red", "10");
    start();
    menu("Colour &finder");
    sim::SimWindow& finder = window("frmFinder");
    EXPECT_EQ(finder.caption, "Velmora colour finder");
    EXPECT_EQ(control("frmFinder", "lblProgress").text, "Choice 1 of about 26");
    EXPECT_FALSE(control("frmFinder", "cmdUse").visible);
    platform.pressEscape(finder.handle);
    EXPECT_EQ(stored("red"), "10") << "Escape changes nothing";

    // A reader who wants a pale rose, at the keyboard.
    menu("Colour &finder");
    Reader reader{colour::chromaticityOf(0x00E6E6FF)};
    const platform::Handle samples = control("frmFinder", "picSamples").handle;
    for (int i = 0; i < 40 && control("frmFinder", "cmdLeft").visible; ++i) {
        const Answer a =
            reader.answer(control("frmFinder", "lblLeft").backColor, control("frmFinder", "lblRight").backColor);
        platform.keyDown(samples, a == Answer::Left ? 0x25 : a == Answer::Right ? 0x27 : 0x28);
    }
    EXPECT_TRUE(control("frmFinder", "cmdUse").visible);
    EXPECT_EQ(control("frmFinder", "lblLeft").backColor, control("frmFinder", "lblRight").backColor);
    const colour::Tint shown = colour::tintForPage(control("frmFinder", "lblLeft").backColor, strengths().data(),
                                                   static_cast<int>(strengths().size()));
    EXPECT_EQ(control("frmFinder", "lblLeft").foreColor, colour::textThroughWindow(shown.color, shown.alpha))
        << "black text as the window shows it";
    platform.typeText(control("frmFinder", "txtName").handle, "Rose");
    platform.click("frmFinder", "cmdUse");
    EXPECT_EQ(platform.windowNamed("frmFinder"), nullptr);
    const auto red = platform.store.value("red"), green = platform.store.value("green");
    ASSERT_TRUE(red && green);
    EXPECT_EQ(*red, std::to_string(std::stoi(*red))) << "whole numbers, as the picker's boxes hold them";
    const platform::Color tint = frmMain().bXColor;
    const int alpha = app->model().get(kAlpha);
    EXPECT_EQ(stored("alpha"), kAlpha.text(alpha));
    EXPECT_LE(colour::distance(colour::chromaticityOf(colour::pageOf(tint, alpha)), reader.mind), 0.02);
    EXPECT_EQ(overlay().backColor, tint) << "applied at once, as a colour from the picker is";
    EXPECT_EQ(stored("favourite1"), *red + "," + *green + "," + stored("blue") + "," + std::to_string(alpha) + ",Rose");
}

TEST_F(FinderTest, FavouritesAreOneStepAwayAndNonsenseSkipsOnlyItself) {
    EXPECT_EQ(tryParseFavourite("1,2,3,150,Sea, calm"), (Favourite{1, 2, 3, 150, "Sea, calm"}));
    for (const char* bad : {"", "1,2,3", "256,0,0,150,x", "1,2,3,4,x", "a,2,3,150,x", "1,2,3,150,", "1.5,2,3,150,x"}) {
        EXPECT_FALSE(tryParseFavourite(bad).has_value()) << bad;
    }
    platform.store.set("favourite1", "255,0,0,150,Red & bold");
    platform.store.set("favourite2", "nonsense");
    platform.store.set("favourite3", "0,0,255,255,Blue");
    start();
    platform.queueMenuChoiceNamed("Blue");
    platform.notifyIconCallback(overlay().handle, 0x205);
    const platform::MenuItem& sub = platform.menus().back().items[7];
    ASSERT_EQ(sub.caption, "F&avourites");
    ASSERT_EQ(sub.items.size(), 2U) << "the nonsense one skipped";
    EXPECT_EQ(sub.items[0].caption, "Red && bold");
    EXPECT_EQ(frmMain().bXColor, 0x00FF0000U) << "chosen: applied at once";
    EXPECT_EQ(overlay().alpha, 255);
    EXPECT_EQ(stored("blue"), "255");
    platform.pressHotkey("Ctrl+Alt+F");
    EXPECT_EQ(frmMain().bXColor, 0x000000FFU) << "the key steps to the next";
    platform.queueMenuChoice(std::nullopt);
    platform.notifyIconCallback(overlay().handle, 0x205);
    EXPECT_TRUE(platform.menus().back().items[7].items[0].checked) << "a tick on the one in use";

    // Kept in Settings' own window: add, rename, move, remove.
    platform.queueMenuChoiceNamed("Settings");
    platform.notifyIconCallback(overlay().handle, 0x205);
    platform.click("frmSettings", "cmdFavourites");
    EXPECT_EQ(control("frmFavourites", "lstFavourites").text, "Red & bold\nBlue");
    platform.typeText(control("frmFavourites", "txtName").handle, "Mine");
    platform.click("frmFavourites", "cmdAdd");
    EXPECT_EQ(stored("favourite3"), "255,0,0,150,Mine");
    platform.chooseInList(control("frmFavourites", "lstFavourites").handle, 0);
    platform.click("frmFavourites", "cmdLater");
    EXPECT_EQ(stored("favourite2"), "255,0,0,150,Red & bold");
    platform.typeText(control("frmFavourites", "txtName").handle, "Scarlet");
    platform.click("frmFavourites", "cmdRename");
    EXPECT_EQ(stored("favourite2"), "255,0,0,150,Scarlet");
    platform.click("frmFavourites", "cmdRemove");
    EXPECT_EQ(control("frmFavourites", "lstFavourites").text, "Blue\nMine");
    EXPECT_EQ(stored("favourite3"), "");
}

}  // namespace
}  // namespace velmora::testing
