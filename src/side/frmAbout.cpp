#include "side/frmAbout.h"

#include "app/Application.h"

namespace velmora {

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
}  // namespace

frmAbout::frmAbout(Application& app) : toolkit::Form(app, aboutDesign()), app_(app) { (void)app_; }

}  // namespace velmora
