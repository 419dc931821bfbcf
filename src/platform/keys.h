// A key with its modifiers, and its portable text ("Ctrl+Alt+O"): how a hotkey
// is stored and shown, the same on every platform.
#pragma once

#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "platform/winapi.h"

namespace velmora::platform {

struct Hotkey {
    unsigned modifiers = 0;  // MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN
    unsigned key = 0;        // a Win32 virtual-key code
    bool operator==(const Hotkey&) const = default;
};

namespace detail {
struct NamedKey {
    const char* name;
    unsigned key;
};
// The keys that have names beyond letters, digits and F1 to F24.
inline constexpr std::array<NamedKey, 13> kNamedKeys{{{"Space", win::VK_SPACE},
                                                      {"PgUp", win::VK_PRIOR},
                                                      {"PgDown", win::VK_NEXT},
                                                      {"End", win::VK_END},
                                                      {"Home", win::VK_HOME},
                                                      {"Left", win::VK_LEFT},
                                                      {"Up", win::VK_UP},
                                                      {"Right", win::VK_RIGHT},
                                                      {"Down", win::VK_DOWN},
                                                      {"Ins", win::VK_INSERT},
                                                      {"Del", win::VK_DELETE},
                                                      {"Pause", win::VK_PAUSE},
                                                      {"Print", win::VK_SNAPSHOT}}};
// Modifier names as Qt writes them in portable text, in that order; Win and Super read as Meta.
inline constexpr std::array<NamedKey, 4> kModifiers{
    {{"Ctrl", win::MOD_CONTROL}, {"Alt", win::MOD_ALT}, {"Shift", win::MOD_SHIFT}, {"Meta", win::MOD_WIN}}};

inline bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

inline std::optional<unsigned> keyOf(std::string_view name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<unsigned>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        int n = 0;
        for (const char c : name.substr(1)) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
            n = n * 10 + (c - '0');
            if (n > 24) return std::nullopt;
        }
        if (n >= 1) return win::VK_F1 + static_cast<unsigned>(n - 1);
        return std::nullopt;
    }
    for (const NamedKey& k : kNamedKeys) {
        if (sameName(name, k.name)) return k.key;
    }
    if (sameName(name, "PgDn") || sameName(name, "PageDown")) return win::VK_NEXT;
    if (sameName(name, "PageUp")) return win::VK_PRIOR;
    return std::nullopt;
}
}  // namespace detail

// The portable name of a virtual key ("O", "F5", "PgDown"), empty for one without.
inline std::string keyName(unsigned key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= win::VK_F1 && key <= win::VK_F24) return "F" + std::to_string(key - win::VK_F1 + 1);
    for (const detail::NamedKey& k : detail::kNamedKeys) {
        if (k.key == key) return k.name;
    }
    return {};
}

// Ctrl, Alt, Shift, Meta, then the key: "Ctrl+Alt+PgUp".
inline std::string hotkeyText(const Hotkey& hotkey) {
    std::string text;
    for (const detail::NamedKey& m : detail::kModifiers) {
        if ((hotkey.modifiers & m.key) != 0) text += std::string(m.name) + "+";
    }
    return text + keyName(hotkey.key);
}

// None for text that names no key this program can use; modifiers in any order
// and any case, blanks around the parts ignored. A key needs a modifier besides
// Shift, or it would be taken from every program's typing.
inline std::optional<Hotkey> tryParseHotkey(std::string_view text) {
    Hotkey hotkey;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = text.find('+', start);
        std::string_view part =
            text.substr(start, plus == std::string_view::npos ? std::string_view::npos : plus - start);
        while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        if (plus == std::string_view::npos) {
            const auto key = detail::keyOf(part);
            if (!key || (hotkey.modifiers & ~win::MOD_SHIFT) == 0) return std::nullopt;
            hotkey.key = *key;
            return hotkey;
        }
        unsigned modifier = 0;
        for (const detail::NamedKey& m : detail::kModifiers) {
            if (detail::sameName(part, m.name)) modifier = m.key;
        }
        if (detail::sameName(part, "Control")) modifier = win::MOD_CONTROL;
        if (detail::sameName(part, "Win") || detail::sameName(part, "Super")) modifier = win::MOD_WIN;
        if (modifier == 0) return std::nullopt;
        hotkey.modifiers |= modifier;
        start = plus + 1;
    }
}

}  // namespace velmora::platform
