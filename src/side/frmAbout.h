// The About box: the program's title and version, and a way to the system's
// information tool.
#pragma once

#include <string>

#include "toolkit/controls.h"

namespace velmora {

class Application;

class frmAbout : public toolkit::Form {
public:
    explicit frmAbout(Application& app);

    void StartSysInfo();
    // Reads one registry value into KeyVal; true when it was read.
    bool GetKeyValue(platform::Handle KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                     std::string& KeyVal);

    static constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";

    toolkit::PictureBox picIcon;
    toolkit::Label lblTitle;
    toolkit::Label lblVersion;
    toolkit::Label lblDescription;
    toolkit::Label lblDisclaimer;
    toolkit::Line Line1Grey;
    toolkit::Line Line1White;
    toolkit::CommandButton cmdOK;
    toolkit::CommandButton cmdSysInfo;

protected:
    void Form_Load() override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();

    Application& app_;
};

}  // namespace velmora
