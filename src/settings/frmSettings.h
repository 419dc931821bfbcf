// The settings dialog: start at login, show the tint when the program starts,
// and below them the reading tools.
#pragma once

#include "settings/ReadingTools.h"
#include "toolkit/controls.h"

namespace velmora {

class Application;

class frmSettings : public toolkit::Form {
public:
    explicit frmSettings(Application& app);

    toolkit::CheckBox Check1;
    toolkit::CheckBox Check2;
    toolkit::CommandButton Command1;
    ReadingTools tools;

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

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
