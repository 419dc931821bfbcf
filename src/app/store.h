// The program's settings: application "velmora", section "config", ten keys.
// Key names are a contract with people's existing settings: never rename one.
#pragma once

#include <array>
#include <string>

#include "platform/store.h"

namespace velmora {

namespace keys {
inline constexpr const char* app = "velmora";
inline constexpr const char* section = "config";

inline constexpr const char* red = "red";
inline constexpr const char* green = "green";
inline constexpr const char* blue = "blue";
inline constexpr const char* width = "width";
inline constexpr const char* height = "height";
inline constexpr const char* top = "top";
inline constexpr const char* left = "left";
inline constexpr const char* frontmost = "frontmost";
inline constexpr const char* tint = "tint";
inline constexpr const char* loadwin = "loadwin";

inline constexpr std::array<const char*, 10> all = {red, green, blue,      width, height,
                                                    top, left,  frontmost, tint,  loadwin};
}  // namespace keys

class Store {
public:
    explicit Store(platform::SettingsStore& backend) : backend_(backend) {}

    std::string GetSetting(const std::string& app, const std::string& section, const std::string& key) {
        return backend_.get(app, section, key);
    }
    bool SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) {
        return backend_.save(app, section, key, value);
    }

    // Velmora's own application and section.
    std::string get(const std::string& key) { return GetSetting(keys::app, keys::section, key); }
    bool save(const std::string& key, const std::string& value) {
        return SaveSetting(keys::app, keys::section, key, value);
    }

private:
    platform::SettingsStore& backend_;
};

}  // namespace velmora
