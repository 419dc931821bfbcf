#include "side/Form2.h"

#include "app/Application.h"
#include "app/Module1.h"
#include "overlay/FrmMain.h"
#include "platform/winapi.h"

namespace velmora {

namespace win = platform::win;

namespace {
// The first label's text, its run of blanks as the design has it.
constexpr const char* kReadSomething =
    "Now you just need something to read!"
    "                                                                              "  // 78 blanks
    "GOTO   :>";
constexpr platform::Color kWhite = 0x00FFFFFF;
constexpr platform::Color kBlack = 0x00000000;
constexpr platform::Color kBlue = 0x00FF0000;
}  // namespace

Form2::Form2(Application& app)
    : toolkit::Form(app, {.name = "Form2",
                          .caption = "Velmora is sponsored by :>",
                          .minMaxButtons = false,
                          .showInTaskbar = false,
                          .client = {4740, 1680},
                          .backColor = kWhite,
                          .closeOnEscape = true,
                          // Its link would take the reader's next Return.
                          .showActivates = false}),
      Label1(*this, {.name = "Label1",
                     .at = {240, 240, 3135, 735},
                     .look = {.text = kReadSomething, .backColor = kWhite, .foreColor = kBlack}}),
      // A link a person can reach with Tab and follow with Enter.
      Label2(*this, {.name = "Label2",
                     .at = {1200, 600, 3135, 375},
                     .look = {.text = kSponsorPage,
                              .backColor = kWhite,
                              .foreColor = kBlue,
                              .font = {.name = "MS Sans Serif", .points = 15.0F, .underline = true},
                              .tabIndex = 0}}),
      Label3(*this, {.name = "Label3",
                     .at = {240, 1200, 2775, 375},
                     .look = {.text = "to grab a great e-book bargain :0)", .backColor = kWhite, .foreColor = kBlack}}),
      app_(app) {
    Label2.Click = [this] { Label2_Click(); };
}

void Form2::placeInCorner() {
    setLeft(app_.screenWidth() - Width() - 300);
    setTop(app_.screenHeight() - Height() - 1000);
}

void Form2::Form_Load() {
    Module1::setZOrder(app_, hWnd(), win::HWND_TOPMOST);
    placeInCorner();
    Load();
    Show();
}

void Form2::Label2_Click() {
    const platform::Handle owner = hWnd();
    Unload();
    app_.form<FrmMain>().setVisible(false);
    app_.platform().native.shellExecute(owner, "open", kSponsorPage, "", "", win::SW_SHOWNORMAL);
}

}  // namespace velmora
