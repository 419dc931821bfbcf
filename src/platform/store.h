// The per-user settings store, addressed by application, section and key.
#pragma once

#include <string>

namespace velmora::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The empty text when the key was never written, or cannot be read.
    virtual std::string get(const std::string& app, const std::string& section, const std::string& key) = 0;
    // False when the value could not be written; the caller decides whether that matters.
    virtual bool save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
};

}  // namespace velmora::platform
