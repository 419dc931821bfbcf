// The program as its installer leaves it. tools/test-package installs the MSI
// silently and runs the Installed* tests, uninstalls it silently and runs the
// Uninstalled one; nothing here installs or removes anything itself.
#include <memory>

// clang-format off
#include "driver.h"
#include <msi.h>
#include <shlobj.h>
// clang-format on

namespace velmora::e2e {
namespace {

std::string knownFolder(REFKNOWNFOLDERID id) {
    PWSTR found = nullptr;
    const HRESULT result = SHGetKnownFolderPath(id, 0, nullptr, &found);
    const std::unique_ptr<wchar_t, void (*)(void*)> wide(found, CoTaskMemFree);
    if (FAILED(result)) return {};
    char path[2 * MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.get(), -1, path, sizeof path, nullptr, nullptr);
    return path;
}

// The person's own programs folder, %LOCALAPPDATA%\Programs (Windows calls it
// FOLDERID_UserProgramFiles, which Wine 8 does not know).
std::string installFolder() { return knownFolder(FOLDERID_LocalAppData) + "\\Programs\\Velmora"; }
std::string installedExe() { return installFolder() + "\\velmora.exe"; }
std::string startMenuShortcut() { return knownFolder(FOLDERID_Programs) + "\\Velmora.lnk"; }

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every installed product that carries Velmora's upgrade code.
std::vector<std::string> installedProducts() {
    std::vector<std::string> codes;
    char code[39] = {};
    for (DWORD i = 0; MsiEnumRelatedProductsA(VELMORA_UPGRADE_CODE, 0, i, code) == ERROR_SUCCESS; ++i) {
        codes.emplace_back(code);
    }
    return codes;
}

std::string productInfo(const std::string& product, const char* property) {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (MsiGetProductInfoA(product.c_str(), property, value, &size) != ERROR_SUCCESS) return {};
    return value;
}

// The product's entry under Uninstall, which Apps & features lists. Windows keeps a
// per-user product's under HKCU; Wine puts every product's under HKLM.
std::optional<std::string> uninstallValue(const std::string& product, const char* name) {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        char data[512] = {};
        DWORD size = sizeof data - 1;
        if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) == ERROR_SUCCESS) return data;
    }
    return std::nullopt;
}

TEST(Installed, ProgramStartMenuShortcutAndAppsAndFeaturesEntry) {
    EXPECT_TRUE(exists(installedExe())) << installedExe();
    EXPECT_TRUE(exists(installFolder() + "\\LICENSE.txt") && exists(installFolder() + "\\THIRD-PARTY-NOTICES.txt"));
    EXPECT_TRUE(exists(startMenuShortcut())) << startMenuShortcut();

    const auto products = installedProducts();
    ASSERT_EQ(products.size(), 1U) << "a newer version replaces the one installed before";
    const std::string& product = products.front();
    EXPECT_EQ(productInfo(product, INSTALLPROPERTY_ASSIGNMENTTYPE), "0") << "installed for this person only";
    EXPECT_EQ(uninstallValue(product, "DisplayName"), "Velmora");
    EXPECT_EQ(uninstallValue(product, "DisplayVersion"), VELMORA_VERSION);
    EXPECT_EQ(uninstallValue(product, "Publisher"), "Velmora");
    const std::string icon = productInfo(product, INSTALLPROPERTY_PRODUCTICON);
    EXPECT_TRUE(!icon.empty() && exists(icon)) << "the entry's icon: " << icon;
}

class InstalledProgram : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        program.setExecutable(installedExe());
    }
};

TEST_F(InstalledProgram, StartsAndItsLoginEntryNamesTheInstalledExe) {
    HWND overlay = startOverlay();
    ASSERT_NE(overlay, nullptr);
    HWND dialog = openFromMenu(overlay, kSettings, "Settings ");
    ASSERT_NE(dialog, nullptr);
    HWND login = findChild(dialog, "Automatically load with windows startup.");
    HWND ok = findChild(dialog, "&OK");
    ASSERT_TRUE(login != nullptr && ok != nullptr);
    press(login);
    press(ok);
    ASSERT_TRUE(waitUntil([] { return loginEntry().has_value(); })) << "OK with the box ticked writes the entry";
    EXPECT_EQ(_stricmp(loginEntry()->c_str(), ("\"" + installedExe() + "\"").c_str()), 0) << *loginEntry();
}

TEST(Uninstalled, ProgramShortcutAndLoginEntryGoAndTheSettingsStay) {
    EXPECT_FALSE(exists(installFolder())) << installFolder();
    EXPECT_FALSE(exists(startMenuShortcut())) << startMenuShortcut();
    EXPECT_TRUE(installedProducts().empty());
    EXPECT_EQ(loginEntry(), std::nullopt) << "no login entry is left starting the removed program";
    EXPECT_EQ(settings::stored("loadwin"), " 1") << "the person's settings stay";
}

}  // namespace
}  // namespace velmora::e2e
