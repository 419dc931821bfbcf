// The settings in the current user's registry, and the two registry helpers the
// login entry shares with them.
#pragma once

#include <optional>
#include <string>

#include "platform/store.h"
#include "platform/win32/sdk.h"

namespace velmora::platform::win32 {

// Where the classic settings functions of Windows programs keep their values:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>, one
// REG_SZ value per key, so the settings of earlier versions carry over.
class RegistryStore final : public SettingsStore {
public:
    // A value written empty is the empty text; one never written, or not text, is none.
    std::optional<std::string> tryGet(const std::string& app, const std::string& section,
                                      const std::string& key) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;
};

// A text value of an open key; none when it is absent or no text.
std::optional<std::string> tryReadText(HKEY key, const char* name);
// Writes a REG_SZ value with its terminating zero.
bool writeText(HKEY key, const char* name, const std::string& value);

}  // namespace velmora::platform::win32
