#include "app/tools.h"

#include <gtest/gtest.h>

namespace velmora::tools {
namespace {

TEST(ReadingToolSettings, NonsenseIsClampedOrFallsBackToTheDefault) {
    const std::pair<const char*, int> alphas[] = {{"", 150},    {"abc", 150}, {" 200", 200},  {"10", 26},
                                                  {"999", 255}, {"-5", 26},   {"1e999", 255}, {"127.5", 128}};
    for (const auto& [text, alpha] : alphas) EXPECT_EQ(storedAlpha(text), alpha) << '"' << text << '"';
    const std::pair<const char*, int> heights[] = {{"", 48}, {"x", 48}, {" 100", 100}, {"2", 8}, {"1e9", 400}};
    for (const auto& [text, height] : heights) EXPECT_EQ(storedRulerHeight(text), height) << '"' << text << '"';
    EXPECT_TRUE(storedSwitch(" 1", false));
    EXPECT_FALSE(storedSwitch(" 0", true));
    EXPECT_TRUE(storedSwitch("", true)) << "absent: the default";
    EXPECT_FALSE(storedSwitch("yes", false));

    // 10 to 100 per cent and back; 150 shows as 59 %.
    EXPECT_EQ(percentOfAlpha(150), 59);
    EXPECT_EQ(alphaOfPercent(10), 26);
    EXPECT_EQ(alphaOfPercent(100), 255);
    EXPECT_EQ(alphaOfPercent(0), 26);
    for (int p = 10; p <= 100; ++p) EXPECT_EQ(percentOfAlpha(alphaOfPercent(p)), p);
}

TEST(ReadingToolSettings, HotkeysAsPortableText) {
    const platform::Hotkey ctrlAltO{platform::win::MOD_CONTROL | platform::win::MOD_ALT, 'O'};
    EXPECT_EQ(platform::tryParseHotkey("Ctrl+Alt+O"), ctrlAltO);
    EXPECT_EQ(platform::tryParseHotkey(" alt + CONTROL + o "), ctrlAltO) << "any order and case";
    EXPECT_EQ(platform::hotkeyText(*platform::tryParseHotkey("Shift+Meta+Alt+Ctrl+PgDn")),
              "Ctrl+Alt+Shift+Meta+PgDown");
    EXPECT_EQ(platform::hotkeyText(*platform::tryParseHotkey("Ctrl+F12")), "Ctrl+F12");
    for (const char* bad : {"", "O", "Shift+O", "Ctrl+", "Ctrl+Alt+OO", "Ctrl+F25", "Hyper+O", "Ctrl+Alt+é"}) {
        EXPECT_FALSE(platform::tryParseHotkey(bad).has_value()) << '"' << bad << '"';
    }
    EXPECT_EQ(storedHotkey(std::nullopt, ctrlAltO), ctrlAltO) << "never stored: the default";
    EXPECT_EQ(storedHotkey(std::string(""), ctrlAltO), std::nullopt) << "empty: none";
    EXPECT_EQ(storedHotkey(std::string("nonsense"), ctrlAltO), ctrlAltO);
    EXPECT_EQ(storedHotkey(std::string("Ctrl+Alt+T"), ctrlAltO)->key, static_cast<unsigned>('T'));
}

}  // namespace
}  // namespace velmora::tools
