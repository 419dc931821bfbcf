#include "platform/sim/store.h"

namespace velmora::platform::sim {

namespace {
const std::string kApp = "velmora";
const std::string kSection = "config";
}  // namespace

std::optional<std::string> MemoryStore::tryGet(const std::string& app, const std::string& section,
                                               const std::string& key) {
    const auto it = values.find({app, section, key});
    if (it == values.end()) return std::nullopt;
    return it->second;
}

bool MemoryStore::save(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) {
    if (failWrites) return false;
    ++writes;
    values[{app, section, key}] = value;
    return true;
}

void MemoryStore::set(const std::string& key, const std::string& value) { values[{kApp, kSection, key}] = value; }

std::optional<std::string> MemoryStore::value(const std::string& key) const {
    const auto it = values.find({kApp, kSection, key});
    if (it == values.end()) return std::nullopt;
    return it->second;
}

}  // namespace velmora::platform::sim
