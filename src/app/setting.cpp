#include "app/setting.h"

#include <algorithm>

#include "app/numbers.h"

namespace velmora {

int NumberSetting::read(const std::optional<std::string>& text) const {
    const auto number = text ? tryLenientNumber(*text) : std::nullopt;
    if (!number) return byDefault;
    return static_cast<int>(std::clamp(roundHalfEven(*number), double(lowest), double(highest)));
}

std::string NumberSetting::text(int value) const {
    return numberText(static_cast<float>(std::clamp(value, lowest, highest)));
}

bool SwitchSetting::read(const std::optional<std::string>& text) const {
    const auto number = text ? tryLenientNumber(*text) : std::nullopt;
    return number ? *number != 0 : byDefault;
}

std::string SwitchSetting::text(bool on) const { return numberText(on ? 1.0F : 0.0F); }

std::optional<platform::Hotkey> HotkeySetting::read(const std::optional<std::string>& text) const {
    const auto fallback = platform::tryParseHotkey(byDefault);
    if (!text) return fallback;
    if (text->find_first_not_of(' ') == std::string::npos) return std::nullopt;
    const auto key = platform::tryParseHotkey(*text);
    return key ? key : fallback;
}

std::string HotkeySetting::text(const std::optional<platform::Hotkey>& hotkey) const {
    return hotkey ? platform::hotkeyText(*hotkey) : std::string{};
}

}  // namespace velmora
