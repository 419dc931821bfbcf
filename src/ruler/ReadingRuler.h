// The reading ruler: a strip across the screen the pointer is on, above every
// window and letting every click through, in the tint's colour and strength.
// As a light box it is the other way round: a clear strip, the tint around it.
#pragma once

#include "toolkit/controls.h"

namespace velmora {

class Application;

// One of the ruler's windows: borderless, topmost, never in the taskbar.
class RulerPane : public toolkit::Form {
public:
    RulerPane(Application& app, const char* name);

    // Follows the pointer, and runs only while the ruler is on and follows it.
    toolkit::Timer Timer1;

    // The tint's colour and strength, and the mouse let through.
    void paint();

protected:
    void Form_Load() override;

private:
    Application& app_;
};

class ReadingRuler {
public:
    explicit ReadingRuler(Application& app);

    // Shows, hides, colours and places the ruler as the settings say.
    void apply();
    // The ruler's hotkeys: on and off, and a step of its own height up or down
    // while it stays where it is.
    void toggle();
    void step(int direction);

    static constexpr const char* kCaption = "Velmora reading ruler";

private:
    void follow();
    // Takes the pointer's screen and height, when the desktop tells them.
    bool takePointer();
    void layout();

    Application& app_;
    RulerPane upper_;  // the strip, or the tint above a light box's clear strip
    RulerPane lower_;  // the tint below the clear strip
    platform::Rect screen_;
    int centre_ = 0;  // the strip's middle, in desktop pixels
    bool placed_ = false;
};

}  // namespace velmora
