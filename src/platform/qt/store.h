// The settings store on Linux: one INI file per application under the user's
// configuration folder, $XDG_CONFIG_HOME/<app>/<app>.ini, a section per group.
#pragma once

#include <string>

#include "platform/store.h"

namespace velmora::platform::qt {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string userConfigHome();

class IniStore : public SettingsStore {
public:
    explicit IniStore(std::string configHome);

    // None for a key never written, and for a file that cannot be a store.
    std::optional<std::string> tryGet(const std::string& app, const std::string& section,
                                      const std::string& key) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;

    // The file that holds an application's values; empty for a name that cannot be a file.
    std::string fileOf(const std::string& app) const;
    const std::string& home() const { return home_; }

private:
    std::string home_;
};

}  // namespace velmora::platform::qt
