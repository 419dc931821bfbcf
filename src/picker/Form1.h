// The colour picker: drag over the spectrum to sample a colour, read its
// components, copy them, and save it as the new tint.
#pragma once

#include "toolkit/controls.h"

namespace velmora {

class Application;

class Form1 : public toolkit::Form {
public:
    explicit Form1(Application& app);

    // X and Y in the spectrum's own 256 x 256 grid, whatever the density the
    // picture is drawn at; clamped in place to the grid.
    void CheckColor(float& X, float& Y);

    static constexpr const char* kNotSaved = "The colour could not be saved: Velmora cannot write its settings.";

    toolkit::PictureBox Picture1;
    toolkit::Shape Shape1;
    toolkit::Frame Frame1;
    toolkit::Shape Shape2;
    toolkit::TextBox Text2;
    toolkit::TextBox Text3;
    toolkit::TextBox Text4;
    toolkit::Label Label1;
    toolkit::CommandButton Command1;
    toolkit::Label Label4;

protected:
    void Form_Load() override;

private:
    void Picture1_MouseDown(int Button, int Shift, float X, float Y);
    void Picture1_MouseMove(int Button, int Shift, float X, float Y);
    void Picture1_KeyDown(unsigned KeyCode, int Shift);
    void copyToClipboard(toolkit::TextBox& box);
    float density() const;  // screen pixels a grid cell spans
    float toGrid(float pixel) const;
    void Command1_Click();

    Application& app_;
    // The last sampled point, where the arrow keys move on from.
    float markX_ = 0;
    float markY_ = 0;
};

}  // namespace velmora
