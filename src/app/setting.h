// One definition per setting: its key, its default and range, how stored text
// reads (nonsense never stops the program: it is kept within range or falls
// back to the default) and how the value is written back.
#pragma once

#include <optional>
#include <string>

#include "platform/keys.h"

namespace velmora {

// A whole number within a range: unreadable gives the default, out of range is clamped.
struct NumberSetting {
    const char* key;
    int byDefault;
    int lowest;
    int highest;
    int read(const std::optional<std::string>& text) const;
    std::string text(int value) const;  // as numbers are stored: " 150"
};

// On or off: a readable number is on unless it is 0; anything else is the default.
struct SwitchSetting {
    const char* key;
    bool byDefault;
    bool read(const std::optional<std::string>& text) const;
    std::string text(bool on) const;  // " 1" or " 0"
};

// A global key as portable text: never stored gives the default, blank is none,
// text that names no key is the default.
struct HotkeySetting {
    const char* key;
    const char* byDefault;  // chosen to clash with no common desktop's own shortcuts
    std::optional<platform::Hotkey> read(const std::optional<std::string>& text) const;
    std::string text(const std::optional<platform::Hotkey>& hotkey) const;  // "" for none
};

// Text kept as written; none when never written.
struct TextSetting {
    const char* key;
};

}  // namespace velmora
