#include "side/Form2.h"

#include "app/Application.h"

namespace velmora {

namespace {
toolkit::FormDesign panelDesign() {
    toolkit::FormDesign d;
    d.name = "Form2";
    d.caption = "Velmora is sponsored by :>";
    d.border = platform::BorderStyle::Sizable;
    d.minButton = false;
    d.maxButton = false;
    d.showInTaskbar = false;
    d.clientWidth = 4740;
    d.clientHeight = 1680;
    d.backColor = 0x00FFFFFF;
    return d;
}
}  // namespace

Form2::Form2(Application& app) : toolkit::Form(app, panelDesign()), app_(app) { (void)app_; }

}  // namespace velmora
