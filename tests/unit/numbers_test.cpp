#include "app/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "platform/errors.h"

namespace velmora {
namespace {

TEST(LenientNumber, ReadsWhatTheTextHolds) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},
        {" 7200", 7200},
        {"2 55", 255},
        {"1 2", 12},
        {"\t1\n2", 12},
        {"127.5", 127.5},
        {"-7", -7},
        {"+5", 5},
        {"12abc", 12},
        {"abc", 0},
        {"1e2", 100},
        {"1E+2", 100},
        {"25e-1", 2.5},
        {"1d3", 1000},
        {"1D-1", 0.1},
        {"1e", 1},  // an exponent without digits is not read
        {"1e+x", 1},
        {"&HFF", 255},
        {"&hff", 255},
        {"&H80", 128},
        {"&O17", 15},
        {"&o8", 0},  // 8 is no octal digit
        {"&HFFzz", 255},
        {"&", 0},
        {"&X1", 0},
        {"1,5", 1},  // the full stop is the only decimal point,
                     // whatever the locale
        {"1.2.3", 1.2},
        {".5", 0.5},
        {"-.5", -0.5},
        {".", 0},
        {"-", 0},
        {"\r5", 0},  // a carriage return is not among the characters dropped
        {"1.0", 1},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(lenientNumber(c.text), c.value) << "text: \"" << c.text << '"';
}

TEST(LenientNumber, HugeExponentsNeverFail) {
    EXPECT_TRUE(std::isinf(lenientNumber("1e400")));
    EXPECT_LT(lenientNumber("-1e400"), 0);
    EXPECT_EQ(lenientNumber("1e-400"), 0);
    EXPECT_EQ(lenientNumber("0e99999999999999999999"), 0);
    EXPECT_DOUBLE_EQ(lenientNumber("1e308"), 1e308);
}

TEST(LenientNumber, RoundsToTheNearestDouble) {
    const double one = 1, aboveOne = std::nextafter(1.0, 2.0), max = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const std::string halfAboveOne = "1.00000000000000011102230246251565404236316680908203125";  // 1 + 2^-53
    const std::pair<std::string, double> cases[] = {
        {halfAboveOne, one},  // a halfway point goes to the even neighbour
        {halfAboveOne + "0000000001", aboveOne},
        {halfAboveOne + std::string(900, '0') + "1", aboveOne},  // however far down the digit is
        {"0." + std::string(700, '0') + "5e700", 0.5},
        {"1.7976931348623157e308", max},
        {"1.797693134862315807e308", max},  // just below and above halfway to 2^1024
        {"1.797693134862315808e308", INFINITY},
        {"4.9406564584124654e-324", tiny},  // denormals are kept
        {"2.4703282292062328e-324", tiny},
        {"2.4703282292062327e-324", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(lenientNumber(text), value) << text.substr(0, 60);
}

TEST(NumberText, BlankBeforeZeroAndPositiveMinusBeforeNegative) {
    EXPECT_EQ(numberText(7200), " 7200");
    EXPECT_EQ(numberText(0), " 0");
    EXPECT_EQ(numberText(-0.0F), " 0");
    EXPECT_EQ(numberText(-300), "-300");
    EXPECT_EQ(numberText(112.5F), " 112.5");
    EXPECT_EQ(numberText(0.1F), " 0.1");  // shortest form of the single, not 0.100000001
    EXPECT_EQ(numberText(1), " 1");
    // Whichever of fixed and scientific is shorter, a whole number written exactly.
    EXPECT_EQ(numberText(100000), " 1e+05");
    EXPECT_EQ(numberText(240823472), " 240823472");
    EXPECT_EQ(numberText(1e-7F), " 1e-07");
    EXPECT_EQ(numberText(-0.00125F), "-0.00125");
    // The ends of the single's range, and a gap narrower below than above.
    EXPECT_EQ(numberText(std::numeric_limits<float>::max()), " 3.4028235e+38");
    EXPECT_EQ(numberText(std::numeric_limits<float>::denorm_min()), " 1e-45");
    EXPECT_EQ(numberText(std::numeric_limits<float>::min()), " 1.1754944e-38");
    EXPECT_EQ(numberText(1e11F), " 1e+11");
    EXPECT_EQ(numberText(16777216), " 16777216");
    EXPECT_EQ(numberText(0x1p-96F), " 1.2621775e-29");
}

TEST(NumberText, ReadsBackToTheSameSingle) {
    for (const float v : {0.0F, 15.0F, 7200.0F, -32768.5F, 491505.0F, 0.1F, 1e-7F, 3.4e38F}) {
        EXPECT_EQ(toSingle(lenientNumber(numberText(v))), v) << numberText(v);
    }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(127.5), 128);
    EXPECT_EQ(roundHalfEven(128.5), 128);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(1.4999), 1);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(roundToInt16(-32768.5), -32768);
}

TEST(Rounding, OutsideSixteenBitsIsOverflow) {
    for (const double v : {32767.5, 32768.0, -32769.0, 1e308, static_cast<double>(INFINITY)}) {
        try {
            roundToInt16(v);
            ADD_FAILURE() << v << " did not overflow";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 6);
            EXPECT_EQ(e.description(), "Overflow");
        }
    }
}

TEST(ColourComponent, RoundsThenKeepsWithinAByte) {
    const std::pair<const char*, int> cases[] = {
        {"127.5", 128}, {"128.5", 128}, {"12abc", 12},  {"abc", 0},    {"&H80", 128},  {"1 2", 12},    {"99999", 255},
        {"-7", 0},      {"1e308", 255}, {"1e999", 255}, {"-1e999", 0}, {"255.5", 255}, {"70000", 255},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(colourComponent(text), expected) << '"' << text << '"';
}

TEST(ToSingle, BeyondTheRangeIsInfinite) {
    EXPECT_TRUE(std::isinf(toSingle(1e39)));
    EXPECT_TRUE(std::isinf(toSingle(-1e39)));
    EXPECT_EQ(toSingle(-1e30), -1e30F);
}

}  // namespace
}  // namespace velmora
