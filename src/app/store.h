// The program's settings: application "velmora", section "config".
// Key names are a contract with people's existing settings: never rename one.
#pragma once

#include <string>

#include "platform/store.h"

namespace velmora {

namespace keys {
inline constexpr const char *app = "velmora", *section = "config";

// The tint's colour, each component as the picker's box held it.
inline constexpr const char *red = "red", *green = "green", *blue = "blue";
// The overlay's outer geometry, in twips.
inline constexpr const char *width = "width", *height = "height", *top = "top", *left = "left";
// Always on top, and the two start-up choices.
inline constexpr const char *frontmost = "frontmost", *tint = "tint", *loadwin = "loadwin";
// The reading tools' keys are defined with each tool (src/tools/).
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

    // Velmora's own application and section; none when never written.
    std::string get(const std::string& key) { return GetSetting(keys::app, keys::section, key); }
    std::optional<std::string> tryGet(const std::string& key) { return backend_.tryGet(keys::app, keys::section, key); }
    bool save(const std::string& key, const std::string& value) {
        return SaveSetting(keys::app, keys::section, key, value);
    }

private:
    platform::SettingsStore& backend_;
};

}  // namespace velmora
