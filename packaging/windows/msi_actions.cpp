// The custom action of Velmora's installer. Windows Installer removes only what
// the package itself wrote; the login entry is written by the program when the
// person asks for it, so uninstalling takes it away here.
#include <windows.h>
// clang-format off
#include <msi.h>
#include <msiquery.h>
// clang-format on

#include <cwchar>

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunValue = L"Velmora";

// The per-user Run key, closed on every way out.
class RunKey {
public:
    RunKey() {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~RunKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

// Deferred, on uninstall only. CustomActionData is the path velmora.exe was
// installed at: the entry goes when it starts that program, and stays when it
// names a copy somewhere else (the portable zip's, say).
extern "C" __declspec(dllexport) UINT __stdcall RemoveLoginEntry(MSIHANDLE install) {
    wchar_t installed[MAX_PATH + 1] = {};
    DWORD length = MAX_PATH + 1;
    if (MsiGetPropertyW(install, L"CustomActionData", installed, &length) != ERROR_SUCCESS || length == 0) {
        return ERROR_SUCCESS;
    }
    RunKey run;
    if (run.get() == nullptr) return ERROR_SUCCESS;
    wchar_t command[2 * MAX_PATH + 1] = {};
    DWORD size = sizeof command - sizeof command[0];
    DWORD type = 0;
    if (RegQueryValueExW(run.get(), kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(command), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return ERROR_SUCCESS;
    }
    // The program writes its path in double quotes.
    const wchar_t* path = command;
    int pathLength = -1;
    if (command[0] == L'"') {
        path = command + 1;
        if (const wchar_t* end = std::wcschr(path, L'"')) pathLength = static_cast<int>(end - path);
    }
    if (CompareStringOrdinal(path, pathLength, installed, -1, TRUE) == CSTR_EQUAL) {
        RegDeleteValueW(run.get(), kRunValue);
    }
    return ERROR_SUCCESS;
}
