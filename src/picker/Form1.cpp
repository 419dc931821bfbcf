#include "picker/Form1.h"

#include <cmath>
#include <cstdint>

#include "app/Application.h"
#include "app/numbers.h"
#include "overlay/FrmMain.h"
#include "picker/spectrum.h"

namespace velmora {

namespace {
constexpr platform::Color kFrameBack = 0x00FEEDEE;
constexpr auto kOval = platform::ShapeStyle::Oval;
constexpr const char* kNoneChosen = "None chosen yet";

// A colour component's box, which takes only whole numbers 0 to 255.
toolkit::LookDesign component(int tabIndex, const char* name) {
    return {.tabIndex = tabIndex,
            .accessibleName = name,
            .accessibleDescription = "A whole number from 0 to 255",
            .wholeNumberMax = 255};
}

// A pixel coordinate from the pointer's single-precision position.
std::int32_t toPixel(float value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) throw errors::overflow();
    return static_cast<std::int32_t>(rounded);
}
}  // namespace

Form1::Form1(Application& app)
    : toolkit::Form(app, {.name = "Form1",
                          .caption = "Set translucency color",
                          .border = platform::BorderStyle::FixedSingle,
                          .minMaxButtons = false,
                          .client = {4080, 4905},
                          .scaleMode = toolkit::ScaleMode::Pixels,
                          .icons = {pickerIcon(16), pickerIcon(32)},
                          .closeOnEscape = true}),
      // Takes the focus: the arrow keys move the marker as the mouse does.
      Picture1(*this,
               {.name = "Picture1",
                .at = {120, 120, 3870, 3870},
                .look = {.border = true,
                         .tabIndex = 0,
                         .picture = spectrumPicture,
                         .accessibleName = "Colour spectrum",
                         .accessibleDescription = "Arrow keys pick a colour; with Shift in steps of 16"}},
               toolkit::ScaleMode::Pixels),
      // The marker, centred on the last sampled point.
      Shape1(*this, {.name = "Shape1", .at = {0, 0, 135, 135}, .look = {.transparentBack = true, .shape = kOval}},
             &Picture1),
      Frame1(*this, {.name = "Frame1", .at = {120, 4080, 3855, 735}, .look = {.backColor = kFrameBack, .tabIndex = 1}}),
      Shape2(*this, {.name = "Shape2", .at = {0, 0, 3855, 735}, .look = {.transparentBack = true}}, &Frame1),
      Text2(*this, {.name = "Text2", .at = {120, 120, 495, 285}, .look = component(4, "Red")}, &Frame1),
      Text3(*this, {.name = "Text3", .at = {720, 120, 495, 285}, .look = component(3, "Green")}, &Frame1),
      Text4(*this, {.name = "Text4", .at = {1320, 120, 495, 285}, .look = component(6, "Blue")}, &Frame1),
      Label1(*this,
             {.name = "Label1",
              .at = {2040, 120, 255, 255},
              .look = {.border = true, .accessibleName = "Chosen colour", .accessibleDescription = kNoneChosen}},
             &Frame1),
      Command1(*this, {.name = "Command1", .at = {2520, 120, 1215, 285}, .look = {.text = "Set color", .tabIndex = 2}},
               &Frame1),
      Label4(*this,
             {.name = "Label4",
              .at = {0, 480, 3855, 255},
              .look = {.text = "Click on the textbox to set the color value ",
                       .backColor = kFrameBack,
                       .alignment = platform::Alignment::Center}},
             &Frame1),
      app_(app) {
    Picture1.MouseDown = [this](int b, int s, float x, float y) { Picture1_MouseDown(b, s, x, y); };
    Picture1.MouseMove = [this](int b, int s, float x, float y) { Picture1_MouseMove(b, s, x, y); };
    Picture1.KeyDown = [this](unsigned key, int shift) { Picture1_KeyDown(key, shift); };
    // All three boxes copy alike; a person expects the blue one to behave as the others.
    Text2.Click = [this] { copyToClipboard(Text2); };
    Text3.Click = [this] { copyToClipboard(Text3); };
    Text4.Click = [this] { copyToClipboard(Text4); };
    Command1.Click = [this] { Command1_Click(); };
}

void Form1::Form_Load() {
    markX_ = 0;
    markY_ = 0;
    setLeft(0);
    setTop(app_.screenHeight() - Height() - 600);
}

// The arrow keys walk the marker from the last sampled point, one pixel a press
// or sixteen with Shift, and sample there as a drag would.
void Form1::Picture1_KeyDown(unsigned KeyCode, int Shift) {
    namespace win = platform::win;
    const float step = (Shift & 1) != 0 ? 16.0F : 1.0F;
    float x = markX_;
    float y = markY_;
    if (KeyCode == win::VK_LEFT) {
        x -= step;
    } else if (KeyCode == win::VK_RIGHT) {
        x += step;
    } else if (KeyCode == win::VK_UP) {
        y -= step;
    } else if (KeyCode == win::VK_DOWN) {
        y += step;
    } else {
        return;
    }
    CheckColor(x, y);
}

void Form1::Picture1_MouseDown(int Button, int Shift, float X, float Y) {
    (void)Shift;
    if (Button != 1) return;
    float x = toGrid(X);
    float y = toGrid(Y);
    CheckColor(x, y);
}

void Form1::Picture1_MouseMove(int Button, int Shift, float X, float Y) { Picture1_MouseDown(Button, Shift, X, Y); }

// The platforms draw each spectrum cell over density x density pixels; the pixel
// under the pointer belongs to the cell the floor of its place over the density.
float Form1::density() const { return static_cast<float>(15.0 / app_.platform().desktop.twipsPerPixel()); }

float Form1::toGrid(float pixel) const {
    const double cell = std::floor(static_cast<double>(pixel) / density() + 1e-6);
    return std::isfinite(cell) ? static_cast<float>(cell) : 0.0F;
}

void Form1::CheckColor(float& X, float& Y) {
    // The design's picture is 258 pixels wide at 96 DPI, so its Width - 3 is the grid's last cell.
    constexpr float kLast = 255;
    if (X < 1) X = 0;
    if (Y < 1) Y = 0;
    if (X > kLast) X = kLast;
    if (Y > kLast) Y = kLast;
    markX_ = X;
    markY_ = Y;
    const auto colour =
        static_cast<std::int32_t>(app_.platform().native.getPixel(Picture1.hDC(), toPixel(X), toPixel(Y)));

    // The marker stands on the cell as drawn, in the picture's pixels.
    Shape1.setLeft(X * density() - static_cast<float>(toPixel(Shape1.Width()) / 2));
    Shape1.setTop(Y * density() - static_cast<float>(toPixel(Shape1.Height()) / 2));

    if (colour > 0) Label1.setBackColor(static_cast<platform::Color>(colour));
    if (colour >= 1) {
        const platform::Color c = Label1.BackColor();
        Text2.setText(std::to_string(c & 0xFFU));
        Text3.setText(std::to_string((c & 0xFF00U) / 256));
        Text4.setText(std::to_string((c & 0xFF0000U) / 65536));
        Label1.setAccessibleDescription("Red " + Text2.Text() + ", green " + Text3.Text() + ", blue " + Text4.Text());
    }
}

void Form1::copyToClipboard(toolkit::TextBox& box) {
    app_.clipboardClear();
    app_.clipboardSetText(box.Text());
}

void Form1::Command1_Click() {
    using Tell = Application::Tell;
    // Nothing chosen: the boxes open empty, and storing that would erase the reader's colour.
    const bool chosen = !(Text2.Text().empty() && Text3.Text().empty() && Text4.Text().empty());
    const bool saved = !chosen || (app_.saveSetting(keys::red, Text2.Text(), Tell::ByCaller) &
                                   app_.saveSetting(keys::green, Text3.Text(), Tell::ByCaller) &
                                   app_.saveSetting(keys::blue, Text4.Text(), Tell::ByCaller));
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
