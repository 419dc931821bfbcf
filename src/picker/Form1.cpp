#include "picker/Form1.h"

#include "app/Application.h"

namespace velmora {

namespace {
toolkit::FormDesign pickerDesign() {
    toolkit::FormDesign d;
    d.name = "Form1";
    d.caption = "Set translucency color";
    d.border = platform::BorderStyle::FixedSingle;
    d.minButton = false;
    d.maxButton = false;
    d.clientWidth = 4080;
    d.clientHeight = 4905;
    d.scaleMode = toolkit::ScaleMode::Pixels;
    return d;
}
}  // namespace

Form1::Form1(Application& app) : toolkit::Form(app, pickerDesign()), app_(app) { (void)app_; }

}  // namespace velmora
