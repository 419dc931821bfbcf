// The simulated settings store: in memory, counting its writes, and made to
// fail them when a test asks.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "platform/store.h"

namespace velmora::platform::sim {

class MemoryStore : public SettingsStore {
public:
    std::optional<std::string> tryGet(const std::string& app, const std::string& section,
                                      const std::string& key) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;

    // Velmora's own application and section, for tests.
    void set(const std::string& key, const std::string& value);
    std::optional<std::string> value(const std::string& key) const;

    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    int writes = 0;
    bool failWrites = false;
};

}  // namespace velmora::platform::sim
