#include "side/Form2.h"

#include "app/Application.h"
#include "app/Module1.h"
#include "overlay/FrmMain.h"

namespace velmora {

namespace win = platform::win;

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

toolkit::ControlDesign label(const char* name, std::string caption, float left, float top, float width, float height) {
    toolkit::ControlDesign d{name, left, top, width, height, {}};
    d.look.text = std::move(caption);
    d.look.backColor = 0x00FFFFFF;
    d.look.foreColor = 0x00000000;
    return d;
}

toolkit::ControlDesign link() {
    toolkit::ControlDesign d = label("Label2", Form2::kSponsorPage, 1200, 600, 3135, 375);
    d.look.foreColor = 0x00FF0000;  // blue
    d.look.font = {"MS Sans Serif", 15.0F, false, true};
    d.look.tabIndex = 0;  // a link a person can reach with Tab and follow with Enter
    return d;
}
}  // namespace

Form2::Form2(Application& app)
    : toolkit::Form(app, panelDesign()),
      Label1(*this, label("Label1", "Now you just need something to read!" + std::string(78, ' ') + "GOTO   :>", 240,
                          240, 3135, 735)),
      Label2(*this, link()),
      Label3(*this, label("Label3", "to grab a great e-book bargain :0)", 240, 1200, 2775, 375)),
      app_(app) {
    Label2.Click = [this] { Label2_Click(); };
}

void Form2::Form_Load() {
    Module1::setZOrder(app_, hWnd(), win::HWND_TOPMOST);
    setLeft(app_.screenWidth() - Width() - 300);
    setTop(app_.screenHeight() - Height() - 1000);
    Load();
    Show();
}

void Form2::Label2_Click() {
    const platform::Handle owner = hWnd();
    Unload();
    app_.form<FrmMain>().setVisible(false);
    app_.platform().shellExecute(owner, "open", kSponsorPage, "", "", win::SW_SHOWNORMAL);
}

}  // namespace velmora
