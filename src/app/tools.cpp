#include "app/tools.h"

#include <algorithm>
#include <cmath>

#include "app/numbers.h"

namespace velmora::tools {

namespace {
int storedWithin(const std::string& text, int byDefault, int lowest, int highest) {
    const auto number = tryLenientNumber(text);
    if (!number) return byDefault;
    return static_cast<int>(std::clamp(roundHalfEven(*number), static_cast<double>(lowest), double(highest)));
}
}  // namespace

int storedAlpha(const std::string& text) { return storedWithin(text, kDefaultAlpha, kMinimumAlpha, kMaximumAlpha); }

int storedRulerHeight(const std::string& text) {
    return storedWithin(text, kDefaultRulerHeight, kMinimumRulerHeight, kMaximumRulerHeight);
}

bool storedSwitch(const std::string& text, bool byDefault) {
    const auto number = tryLenientNumber(text);
    return number ? *number != 0 : byDefault;
}

int percentOfAlpha(int alpha) { return static_cast<int>(std::lround(alpha * 100.0 / kMaximumAlpha)); }

int alphaOfPercent(int percent) {
    const double alpha = roundHalfEven(std::clamp(percent, 10, 100) * kMaximumAlpha / 100.0);
    return std::clamp(static_cast<int>(alpha), kMinimumAlpha, kMaximumAlpha);
}

std::optional<platform::Hotkey> storedHotkey(const std::optional<std::string>& text,
                                             const platform::Hotkey& byDefault) {
    if (!text) return byDefault;
    if (text->find_first_not_of(' ') == std::string::npos) return std::nullopt;
    return platform::tryParseHotkey(*text).value_or(byDefault);
}

}  // namespace velmora::tools
