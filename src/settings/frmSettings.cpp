#include "settings/frmSettings.h"

#include "app/Application.h"

namespace velmora {

namespace {
toolkit::FormDesign settingsDesign() {
    toolkit::FormDesign d;
    d.name = "frmSettings";
    d.caption = "Settings ";
    d.border = platform::BorderStyle::Sizable;
    d.clientWidth = 6225;
    d.clientHeight = 2310;
    return d;
}
}  // namespace

frmSettings::frmSettings(Application& app) : toolkit::Form(app, settingsDesign()), app_(app) { (void)app_; }

}  // namespace velmora
