// The colour finder's window: the same sample page twice, as it would look
// through two tints, and "which is more comfortable?" until the reader's
// colour is found. A comfort check, not a diagnosis.
#pragma once

#include <memory>

#include "toolkit/controls.h"
#include "tools/finder/FinderProcedure.h"

namespace velmora {
class Application;
}

namespace velmora::tools {

class frmFinder : public toolkit::Form {
public:
    explicit frmFinder(Application& app);
    ~frmFinder() override;

    static constexpr const char* kCaption = "Velmora colour finder";

    toolkit::PictureBox picSamples;
    toolkit::Label lblLeft;
    toolkit::Label lblRight;
    toolkit::Label lblProgress;
    toolkit::CommandButton cmdLeft;
    toolkit::CommandButton cmdSame;
    toolkit::CommandButton cmdRight;
    toolkit::CommandButton cmdUse;
    toolkit::CheckBox chkFavourite;
    toolkit::TextBox txtName;

protected:
    void Form_Load() override;

private:
    void answered(FinderProcedure::Answer answer);
    // Both sides as the question or the result has them.
    void showSides();
    void showSide(toolkit::Label& side, platform::Color page);
    void useThisColour();

    Application& app_;
    std::unique_ptr<FinderProcedure> procedure_;
};

}  // namespace velmora::tools
