#include "picker/spectrum.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

int red(platform::Color c) { return static_cast<int>(c & 0xFF); }
int green(platform::Color c) { return static_cast<int>((c >> 8) & 0xFF); }
int blue(platform::Color c) { return static_cast<int>((c >> 16) & 0xFF); }
int brightness(platform::Color c) { return red(c) + green(c) + blue(c); }

TEST(Spectrum, HuesRunLeftToRightFromWhiteToThePureHue) {
    const platform::Image image = spectrumPicture();
    ASSERT_EQ(image.width, 256);
    ASSERT_EQ(image.height, 256);
    EXPECT_EQ(image.at(0, 216), 0x000000FFU) << "column 0 of row 216 is pure red";
    EXPECT_EQ(image.at(0, 0), 0x00FFFFFFU) << "row 0 is white";
    // Yellow, green, cyan, blue, magenta at their columns on the pure-hue row.
    const struct {
        int column;
        int r, g, b;
    } hues[] = {{43, 255, 255, 0}, {85, 0, 255, 0}, {128, 0, 255, 255}, {171, 0, 0, 255}, {213, 255, 0, 255}};
    for (const auto& h : hues) {
        const platform::Color c = image.at(h.column, 216);
        EXPECT_NEAR(red(c), h.r, 12) << "column " << h.column;
        EXPECT_NEAR(green(c), h.g, 12) << "column " << h.column;
        EXPECT_NEAR(blue(c), h.b, 12) << "column " << h.column;
    }
    // Lightness falls down the sweep.
    for (int column : {0, 60, 128, 200}) {
        EXPECT_GT(brightness(image.at(column, 20)), brightness(image.at(column, 120)));
        EXPECT_GT(brightness(image.at(column, 120)), brightness(image.at(column, 216)));
    }
}

TEST(Spectrum, DarkRowBlackRowsAndTheInkBand) {
    const platform::Image image = spectrumPicture();
    for (int column = 0; column < 256; ++column) {
        EXPECT_EQ(image.at(column, 219), 0U) << "row 219 is black, column " << column;
        EXPECT_EQ(image.at(column, 255), 0U) << "row 255 is black, column " << column;
        EXPECT_LT(brightness(image.at(column, 218)), 3 * 130) << "row 218 is dark";
        EXPECT_GT(brightness(image.at(column, 218)), 0);
    }
    // The ink band: near white at its top, strongest around 235, near black at 254.
    EXPECT_GT(brightness(image.at(100, 221)), 3 * 200);
    EXPECT_LT(brightness(image.at(100, 254)), 3 * 40);
    EXPECT_GT(brightness(image.at(100, 221)), brightness(image.at(100, 235)));
    EXPECT_GT(brightness(image.at(100, 235)), brightness(image.at(100, 254)));
    const platform::Color ink = image.at(0, 235);
    EXPECT_GT(red(ink), green(ink) + 40) << "the band keeps the hue order: red at the left";
}

TEST(Spectrum, GrainIsSmallAndTheSameEveryTime) {
    const platform::Image a = spectrumPicture();
    const platform::Image b = spectrumPicture();
    EXPECT_EQ(a.pixels, b.pixels);
    // Neighbours on a smooth part of the sweep differ by the grain, not more.
    int differing = 0;
    for (int column = 100; column < 110; ++column) {
        const platform::Color l = a.at(column, 100);
        const platform::Color r = a.at(column + 1, 100);
        EXPECT_LE(std::abs(red(l) - red(r)), 20);
        differing += l != r;
    }
    EXPECT_GT(differing, 0);
}

TEST(PickerIcon, BlackAndAmberStripesInBothSizes) {
    for (int size : {16, 32}) {
        const platform::Image icon = pickerIcon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        int amber = 0;
        for (const platform::Color c : icon.pixels) {
            EXPECT_TRUE(c == 0U || c == 0x0000BFFFU);
            amber += c != 0U;
        }
        EXPECT_GT(amber, size * size / 4);
        EXPECT_LT(amber, size * size * 3 / 4);
        EXPECT_EQ(icon.at(1, 0), icon.at(0, 1)) << "stripes run diagonally";
    }
}

}  // namespace
}  // namespace velmora
