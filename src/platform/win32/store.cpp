#include "platform/win32/store.h"

#include <algorithm>

#include "platform/win32/handles.h"

namespace velmora::platform::win32 {

namespace {

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::string keyPath(const std::string& app, const std::string& section) {
    return "Software\\VB and VBA Program Settings\\" + app + "\\" + section;
}

}  // namespace

std::optional<std::string> tryReadText(HKEY key, const char* name) {
    // The value may grow between asking its size and reading it: ask again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || !isText(type)) {
            return std::nullopt;
        }
        std::string data(size, '\0');
        const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS || !isText(type)) return std::nullopt;
        data.resize(std::min<std::size_t>(size, data.size()));
        // Stored with or without its terminating zero.
        while (!data.empty() && data.back() == '\0') data.pop_back();
        return data;
    }
    return std::nullopt;
}

bool writeText(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::optional<std::string> RegistryStore::tryGet(const std::string& app, const std::string& section,
                                                 const std::string& key) {
    RegKey k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return tryReadText(k.get(), key.c_str());
}

bool RegistryStore::save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
    RegKey k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath(app, section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, k.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return writeText(k.get(), key.c_str(), value);
}

}  // namespace velmora::platform::win32
