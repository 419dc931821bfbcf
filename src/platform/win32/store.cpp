// The settings store and the login entry, both in the current user's registry.
#include <algorithm>
#include <cctype>

#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Whether a login command starts this program: its executable is a velmora.exe.
bool namesVelmora(const std::string& command) {
    std::string path = command;
    path.erase(0, path.find_first_not_of(' '));
    if (!path.empty() && path.front() == '"') {
        const auto close = path.find('"', 1);
        path = path.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    const auto cut = path.find_last_of("\\/");
    return lower(cut == std::string::npos ? path : path.substr(cut + 1)) == "velmora.exe";
}

bool setText(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::string> readText(HKEY key, const char* name) {
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

std::string RegistryStore::keyPath(const std::string& app, const std::string& section) {
    return "Software\\VB and VBA Program Settings\\" + app + "\\" + section;
}

std::string RegistryStore::get(const std::string& app, const std::string& section, const std::string& key) {
    RegKey k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, k.put()) != ERROR_SUCCESS) {
        return {};
    }
    return readText(k.get(), key.c_str()).value_or(std::string{});
}

bool RegistryStore::save(const std::string& app, const std::string& section, const std::string& key,
                         const std::string& value) {
    RegKey k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath(app, section).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, k.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return setText(k.get(), key.c_str(), value);
}

bool Win32Platform::writeStartupEntry(const std::string& exePath) {
    RegKey k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        k.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return setText(k.get(), kRunValue, "\"" + exePath + "\"");
}

bool Win32Platform::removeStartupEntry() {
    RegKey k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, k.put()) != ERROR_SUCCESS) {
        return false;
    }
    // An entry of the same name that starts something else is not ours to remove.
    const auto command = readText(k.get(), kRunValue);
    if (!command || !namesVelmora(*command)) return false;
    return RegDeleteValueA(k.get(), kRunValue) == ERROR_SUCCESS;
}

}  // namespace velmora::platform::win32
