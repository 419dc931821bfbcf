// How the reading tools' settings are read: nonsense never stops the program,
// it is kept within range or falls back to the default.
#pragma once

#include <optional>
#include <string>

#include "platform/keys.h"

namespace velmora::tools {

inline constexpr int kDefaultAlpha = 150;  // the tint as it always was: 150/255 opaque
inline constexpr int kMinimumAlpha = 26;   // 10 %
inline constexpr int kMaximumAlpha = 255;
inline constexpr int kDefaultRulerHeight = 48;
inline constexpr int kMinimumRulerHeight = 8;
inline constexpr int kMaximumRulerHeight = 400;

// Absent, empty or unreadable gives the default; out of range is clamped.
int storedAlpha(const std::string& text);
int storedRulerHeight(const std::string& text);
// A readable number is on unless it is 0; anything else is the default.
bool storedSwitch(const std::string& text, bool byDefault);

// The strength as the settings show it, 10 to 100 per cent, and back.
int percentOfAlpha(int alpha);
int alphaOfPercent(int percent);

// Never stored gives the default; empty is none; text that names no key is the default.
std::optional<platform::Hotkey> storedHotkey(const std::optional<std::string>& text, const platform::Hotkey& byDefault);

}  // namespace velmora::tools
