#include <string_view>

#include "fixture.h"
#include "tools/clickthrough/ClickThrough.h"
#include "tools/ruler/ReadingRuler.h"
#include "tools/strength/Strength.h"

namespace velmora::testing {
namespace {

using namespace velmora::tools;

TEST(ReadingToolSettings, NonsenseIsClampedOrFallsBackToTheDefault) {
    const std::pair<std::optional<std::string>, int> alphas[] = {{std::nullopt, 150}, {"", 150},      {"abc", 150},
                                                                 {" 200", 200},       {"10", 26},     {"999", 255},
                                                                 {"-5", 26},          {"1e999", 255}, {"127.5", 128}};
    for (const auto& [text, alpha] : alphas) EXPECT_EQ(kAlpha.read(text), alpha) << '"' << text.value_or("-") << '"';
    const std::pair<const char*, int> heights[] = {{"", 48}, {"x", 48}, {" 100", 100}, {"2", 8}, {"1e9", 400}};
    for (const auto& [text, height] : heights) EXPECT_EQ(kRulerHeight.read(text), height) << '"' << text << '"';
    EXPECT_EQ(kAlpha.text(204), " 204");
    EXPECT_TRUE(kRulerFollows.read(std::nullopt)) << "absent: the default";
    EXPECT_TRUE(kClickThrough.read(" 1"));
    EXPECT_FALSE(kRulerFollows.read(" 0"));
    EXPECT_FALSE(kClickThrough.read("yes"));
    EXPECT_EQ(kRuler.text(true), " 1");

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
    constexpr HotkeySetting tint{"hotkeytint", "Ctrl+Alt+O"};
    EXPECT_EQ(tint.read(std::nullopt), ctrlAltO) << "never stored: the default";
    EXPECT_EQ(tint.read(""), std::nullopt) << "empty: none";
    EXPECT_EQ(tint.read("nonsense"), ctrlAltO);
    EXPECT_EQ(tint.read("Ctrl+Alt+T")->key, static_cast<unsigned>('T'));
    EXPECT_EQ(tint.text(std::nullopt), "");
}

TEST_F(AppTest, TheModelStoresAsTheSettingWritesAndTellsWhoeverShowsIt) {
    std::vector<std::string> heard;
    static std::vector<std::string>* sink = nullptr;
    sink = &heard;
    app->model().listen([](std::string_view key) { sink->emplace_back(key); });
    app->model().set(kRulerHeight, 1000);
    EXPECT_EQ(platform.store.value("rulerheight"), " 400") << "kept within range as it is written";
    EXPECT_EQ(app->model().get(kRulerHeight), 400);
    app->model().set(kRulerKey, std::nullopt);
    EXPECT_EQ(platform.store.value("hotkeyruler"), "");
    EXPECT_EQ(app->model().get(kRulerKey), std::nullopt);
    platform.store.failWrites = true;
    app->model().set(kRuler, true);
    EXPECT_FALSE(app->model().get(kRuler)) << "a value the store could not keep is not taken";
    EXPECT_EQ(heard, (std::vector<std::string>{"rulerheight", "hotkeyruler", "ruler"}));
    app->model().tintShown({0x123456, 99});
    app->model().tintShown({0x123456, 99});
    EXPECT_EQ(heard.back(), SettingsModel::kTintShown);
    EXPECT_EQ(heard.size(), 4U) << "the same tint again is no news";
    sink = nullptr;
}

}  // namespace
}  // namespace velmora::testing
