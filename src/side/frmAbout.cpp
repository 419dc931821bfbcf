#include "side/frmAbout.h"

#include <algorithm>
#include <array>

#include "app/Application.h"
#include "platform/winapi.h"
#include "side/computer.h"

namespace velmora {

namespace win = platform::win;
using platform::BorderStyle;

namespace {
constexpr unsigned kBufferSize = 1024;
constexpr platform::Color kGrey = 0x00808080;
constexpr platform::Color kWhite = 0x00FFFFFF;

// A key opened through the native calls, closed on every path once it was opened.
class OpenKey {
public:
    explicit OpenKey(platform::NativeCalls& native) : native_(native) {}
    ~OpenKey() {
        if (opened_) native_.regCloseKey(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    bool open(platform::Handle root, const std::string& subKey, unsigned access) {
        opened_ = native_.regOpenKeyEx(root, subKey, 0, access, handle_) == win::ERROR_SUCCESS;
        return opened_;
    }
    platform::Handle get() const { return handle_; }

private:
    platform::NativeCalls& native_;
    platform::Handle handle_ = 0;
    bool opened_ = false;
};
}  // namespace

frmAbout::frmAbout(Application& app)
    : toolkit::Form(app, {.name = "frmAbout",
                          .caption = "About MyApp",
                          .border = BorderStyle::FixedDialog,
                          .minMaxButtons = false,
                          .showInTaskbar = false,
                          .client = {5730, 3555},
                          .clientPosition = toolkit::TwipsPoint{2340, 1935},
                          .closeOnEscape = true}),
      picIcon(*this,
              {.name = "picIcon",
               .at = {240, 240, 540, 540},
               .look = {.picture = computerPicture, .accessibleName = "Picture of a computer"}},
              toolkit::ScaleMode::Pixels),
      lblTitle(*this, {.name = "lblTitle",
                       .at = {1050, 240, 3885, 480},
                       .look = {.text = "Application Title", .transparentBack = true}}),
      lblVersion(
          *this,
          {.name = "lblVersion", .at = {1050, 780, 3885, 225}, .look = {.text = "Version", .transparentBack = true}}),
      lblDescription(*this, {.name = "lblDescription",
                             .at = {1050, 1125, 3885, 1170},
                             .look = {.text = "App Description", .transparentBack = true}}),
      lblDisclaimer(*this, {.name = "lblDisclaimer",
                            .at = {255, 2625, 3870, 825},
                            .look = {.text = "Warning: ...", .transparentBack = true}}),
      // The etched separator: a grey line over a white one, two wide.
      Line1Grey(*this, {.name = "Line1(0)", .at = {90, 2445, 5654, 2445}, .look = {.foreColor = kGrey}}),
      Line1White(*this,
                 {.name = "Line1(1)", .at = {105, 2460, 5654, 2460}, .look = {.foreColor = kWhite, .lineWidth = 2}}),
      cmdOK(*this, {.name = "cmdOK",
                    .at = {4245, 2625, 1260, 345},
                    .look = {.text = "OK", .tabIndex = 0, .isDefault = true, .isCancel = true}}),
      cmdSysInfo(
          *this,
          {.name = "cmdSysInfo", .at = {4260, 3075, 1245, 345}, .look = {.text = "&System Info...", .tabIndex = 1}}),
      app_(app) {
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdSysInfo.Click = [this] { cmdSysInfo_Click(); };
}

void frmAbout::Form_Load() {
    const toolkit::AppInfo& info = app_.app();
    setCaption("About " + info.title);
    lblVersion.setCaption("Version " + std::to_string(info.major) + "." + std::to_string(info.minor) + "." +
                          std::to_string(info.revision));
    lblTitle.setCaption(info.title);
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
    try {
        std::string path;
        std::string folder;
        if (GetKeyValue(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
            // Taken as it stands: starting it tells whether it is there.
        } else if (GetKeyValue(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                               folder) &&
                   app_.fileExists(folder + "\\MSINFO32.EXE")) {
            path = folder + "\\MSINFO32.EXE";
        } else {
            app_.msgBox(kUnavailable);
            return;
        }
        app_.Shell(path, win::SW_SHOWNORMAL);
    } catch (const RuntimeError&) {
        app_.msgBox(kUnavailable);
    }
}

bool frmAbout::GetKeyValue(platform::Handle KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
    platform::NativeCalls& native = app_.platform().native;
    OpenKey key(native);
    std::string buffer(kBufferSize, '\0');
    unsigned size = kBufferSize;
    unsigned type = 0;
    if (!key.open(KeyRoot, KeyName, win::KEY_ALL_ACCESS) ||
        native.regQueryValueEx(key.get(), SubKeyRef, type, buffer, size) != win::ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    buffer.resize(std::min<std::size_t>(size, buffer.size()));
    if (!buffer.empty() && buffer.back() == '\0') buffer.pop_back();

    if (type == win::REG_SZ) {
        KeyVal = buffer;
    } else if (type == win::REG_DWORD) {
        // The value itself, in decimal: the bytes are stored lowest first.
        unsigned long value = 0;
        for (std::size_t i = buffer.size(); i-- > 0;) value = value * 256 + static_cast<unsigned char>(buffer[i]);
        KeyVal = std::to_string(value);
    }
    return true;
}

}  // namespace velmora
