// The settings dialog: start at login, and show the tint when the program starts.
#pragma once

#include "toolkit/controls.h"

namespace velmora {

class Application;

class frmSettings : public toolkit::Form {
public:
    explicit frmSettings(Application& app);

    toolkit::CheckBox Check1;
    toolkit::CheckBox Check2;
    toolkit::CommandButton Command1;

protected:
    void Form_Load() override;

private:
    void Check1_Click();
    void Check2_Click();
    void Command1_Click();

    Application& app_;
};

// What a check box shows for a stored start-up choice: the number rounded, and
// any value a box cannot show (or too large to round) as ticked, since start-up
// already treats every non-zero value as on.
int checkBoxValue(const std::string& stored);

}  // namespace velmora
