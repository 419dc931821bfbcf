#include "side/frmAbout.h"

#include "app/Application.h"
#include "side/computer.h"

namespace velmora {

namespace win = platform::win;
using toolkit::ControlDesign;

namespace {
toolkit::FormDesign aboutDesign() {
    toolkit::FormDesign d;
    d.name = "frmAbout";
    d.caption = "About MyApp";
    d.border = platform::BorderStyle::FixedDialog;
    d.minButton = false;
    d.maxButton = false;
    d.showInTaskbar = false;
    d.clientWidth = 5730;
    d.clientHeight = 3555;
    d.clientPosition = std::array<float, 2>{2340, 1935};
    return d;
}

ControlDesign item(const char* name, const char* text, float left, float top, float width, float height,
                   int tabIndex = -1) {
    ControlDesign d{name, left, top, width, height, {}};
    d.look.text = text;
    d.look.tabIndex = tabIndex;
    d.look.transparentBack = true;
    return d;
}

ControlDesign picture() {
    ControlDesign d = item("picIcon", "", 240, 240, 540, 540);
    d.look.picture = computerPicture();
    d.look.transparentBack = false;
    return d;
}

ControlDesign line(const char* name, float x1, float y1, float x2, float y2, platform::Color color, int width) {
    ControlDesign d{name, x1, y1, x2, y2, {}};
    d.look.foreColor = color;
    d.look.lineWidth = width;
    return d;
}

ControlDesign button(const char* name, const char* caption, float left, float top, float width, float height,
                     int tabIndex, bool okButton) {
    ControlDesign d = item(name, caption, left, top, width, height, tabIndex);
    d.look.transparentBack = false;
    d.look.isDefault = okButton;
    d.look.isCancel = okButton;
    return d;
}

constexpr long kSuccess = 0;
constexpr unsigned kAllAccess = 0x2003F;
constexpr unsigned kBufferSize = 1024;
}  // namespace

frmAbout::frmAbout(Application& app)
    : toolkit::Form(app, aboutDesign()),
      picIcon(*this, picture(), toolkit::ScaleMode::Pixels),
      lblTitle(*this, item("lblTitle", "Application Title", 1050, 240, 3885, 480)),
      lblVersion(*this, item("lblVersion", "Version", 1050, 780, 3885, 225)),
      lblDescription(*this, item("lblDescription", "App Description", 1050, 1125, 3885, 1170)),
      lblDisclaimer(*this, item("lblDisclaimer", "Warning: ...", 255, 2625, 3870, 825)),
      // The etched separator: a grey line over a white one.
      Line1Grey(*this, line("Line1(0)", 90, 2445, 5654, 2445, 0x00808080, 1)),
      Line1White(*this, line("Line1(1)", 105, 2460, 5654, 2460, 0x00FFFFFF, 2)),
      cmdOK(*this, button("cmdOK", "OK", 4245, 2625, 1260, 345, 0, true)),
      cmdSysInfo(*this, button("cmdSysInfo", "&System Info...", 4260, 3075, 1245, 345, 1, false)),
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
                   app_.platform().fileExists(folder + "\\MSINFO32.EXE")) {
            path = folder + "\\MSINFO32.EXE";
        } else {
            app_.msgBox(kUnavailable);
            return;
        }
        if (!app_.platform().startProgram(path, win::SW_SHOWNORMAL)) throw RuntimeError(53, "File not found");
    } catch (const RuntimeError&) {
        app_.msgBox(kUnavailable);
    }
}

bool frmAbout::GetKeyValue(platform::Handle KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
    platform::Platform& p = app_.platform();
    platform::Handle hKey = 0;
    if (p.regOpenKeyEx(KeyRoot, KeyName, 0, kAllAccess, hKey) != kSuccess) {
        KeyVal.clear();
        p.regCloseKey(hKey);
        return false;
    }
    std::string buffer(kBufferSize, '\0');
    unsigned size = kBufferSize;
    unsigned type = 0;
    if (p.regQueryValueEx(hKey, SubKeyRef, type, buffer, size) != kSuccess) {
        KeyVal.clear();
        p.regCloseKey(hKey);
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
    p.regCloseKey(hKey);
    return true;
}

}  // namespace velmora
