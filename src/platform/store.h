// The per-user settings store, addressed by application, section and key.
#pragma once

#include <optional>
#include <string>

namespace velmora::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // None when the key was never written, or cannot be read.
    virtual std::optional<std::string> tryGet(const std::string& app, const std::string& section,
                                              const std::string& key) = 0;
    // The empty text when the key was never written, or cannot be read.
    std::string get(const std::string& app, const std::string& section, const std::string& key) {
        return tryGet(app, section, key).value_or(std::string{});
    }
    // False when the value could not be written; the caller decides whether that matters.
    virtual bool save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
};

}  // namespace velmora::platform
