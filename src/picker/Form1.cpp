#include "picker/Form1.h"

#include <cstdint>

#include "app/Application.h"
#include "app/numbers.h"
#include "overlay/FrmMain.h"
#include "picker/spectrum.h"

namespace velmora {

using toolkit::ControlDesign;

namespace {
constexpr platform::Color kFrameBack = 0x00FEEDEE;

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
    d.icons = {pickerIcon(16), pickerIcon(32)};
    return d;
}

ControlDesign at(const char* name, float left, float top, float width, float height, int tabIndex = -1) {
    ControlDesign d{name, left, top, width, height, {}};
    d.look.tabIndex = tabIndex;
    return d;
}

ControlDesign picture() {
    ControlDesign d = at("Picture1", 120, 120, 3870, 3870, 0);
    d.look.picture = spectrumPicture();
    d.look.border = true;
    return d;
}

ControlDesign marker() {
    ControlDesign d = at("Shape1", 0, 0, 135, 135);
    d.look.shape = platform::ShapeStyle::Oval;
    d.look.transparentBack = true;
    return d;
}

ControlDesign frame() {
    ControlDesign d = at("Frame1", 120, 4080, 3855, 735, 1);
    d.look.backColor = kFrameBack;
    return d;
}

ControlDesign outline() {
    ControlDesign d = at("Shape2", 0, 0, 3855, 735);
    d.look.transparentBack = true;
    return d;
}

ControlDesign swatch() {
    ControlDesign d = at("Label1", 2040, 120, 255, 255, 7);
    d.look.border = true;
    return d;
}

ControlDesign setColor() {
    ControlDesign d = at("Command1", 2520, 120, 1215, 285, 2);
    d.look.text = "Set color";
    return d;
}

ControlDesign hint() {
    ControlDesign d = at("Label4", 0, 480, 3855, 255, 5);
    d.look.text = "Click on the textbox to set the color value ";
    d.look.alignment = platform::Alignment::Center;
    d.look.backColor = kFrameBack;
    return d;
}

// A pixel coordinate from the pointer's single-precision position.
std::int32_t toPixel(float value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) throw errors::overflow();
    return static_cast<std::int32_t>(rounded);
}
}  // namespace

Form1::Form1(Application& app)
    : toolkit::Form(app, pickerDesign()),
      Picture1(*this, picture(), toolkit::ScaleMode::Pixels),
      Shape1(*this, marker(), &Picture1),
      Frame1(*this, frame()),
      Shape2(*this, outline(), &Frame1),
      Text2(*this, at("Text2", 120, 120, 495, 285, 4), &Frame1),
      Text3(*this, at("Text3", 720, 120, 495, 285, 3), &Frame1),
      Text4(*this, at("Text4", 1320, 120, 495, 285, 6), &Frame1),
      Label1(*this, swatch(), &Frame1),
      Command1(*this, setColor(), &Frame1),
      Label4(*this, hint(), &Frame1),
      app_(app) {
    Picture1.MouseDown = [this](int b, int s, float x, float y) { Picture1_MouseDown(b, s, x, y); };
    Picture1.MouseMove = [this](int b, int s, float x, float y) { Picture1_MouseMove(b, s, x, y); };
    // All three boxes copy alike; a person expects the blue one to behave as the others.
    Text2.Click = [this] { copyToClipboard(Text2); };
    Text3.Click = [this] { copyToClipboard(Text3); };
    Text4.Click = [this] { copyToClipboard(Text4); };
    Command1.Click = [this] { Command1_Click(); };
}

void Form1::Form_Load() {
    setLeft(0);
    setTop(app_.screenHeight() - Height() - 600);
}

void Form1::Picture1_MouseDown(int Button, int Shift, float X, float Y) {
    (void)Shift;
    if (Button == 1) CheckColor(X, Y);
}

void Form1::Picture1_MouseMove(int Button, int Shift, float X, float Y) {
    (void)Shift;
    if (Button == 1) CheckColor(X, Y);
}

void Form1::CheckColor(float& X, float& Y) {
    if (X < 1) X = 0;
    if (Y < 1) Y = 0;
    if (X > Picture1.Width() - 3) X = Picture1.Width() - 3;
    if (Y > Picture1.Height() - 3) Y = Picture1.Height() - 3;
    const auto colour = static_cast<std::int32_t>(app_.platform().getPixel(Picture1.hDC(), toPixel(X), toPixel(Y)));

    Shape1.setLeft(X - static_cast<float>(toPixel(Shape1.Width()) / 2));
    Shape1.setTop(Y - static_cast<float>(toPixel(Shape1.Height()) / 2));

    if (colour > 0) Label1.setBackColor(static_cast<platform::Color>(colour));
    if (colour >= 1) {
        const platform::Color c = Label1.BackColor();
        Text2.setText(std::to_string(c & 0xFFU));
        Text3.setText(std::to_string((c & 0xFF00U) / 256));
        Text4.setText(std::to_string((c & 0xFF0000U) / 65536));
    }
}

void Form1::copyToClipboard(toolkit::TextBox& box) {
    app_.clipboardClear();
    app_.clipboardSetText(box.Text());
}

void Form1::Command1_Click() {
    Store& store = app_.store();
    const bool saved = store.save(keys::red, Text2.Text()) & store.save(keys::green, Text3.Text()) &
                       store.save(keys::blue, Text4.Text());
    if (!saved) {
        // Never "Settings saved" for a colour that was not; the picker stays open to try again.
        app_.msgBox(kNotSaved);
        return;
    }
    app_.msgBox("Settings saved");
    Unload();
    FrmMain& overlay = app_.form<FrmMain>();
    overlay.setVisible(true);
    overlay.Form_Load();
}

}  // namespace velmora
