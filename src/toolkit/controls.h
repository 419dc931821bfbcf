// The controls the windows use. Each belongs to one window, starts from its
// designer state on every load, and loads its window when touched.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/form.h"
#include "toolkit/handler.h"

namespace velmora::toolkit {

// A design's look: as the platform takes it, but its texts the design's literals
// (none is none) and its picture the function that draws it. A window's designs
// are then constants, built with no allocation and dropped with no clean-up; the
// control copies what it keeps.
using LookDesign = platform::BasicControlSpec<const char*, platform::Image (*)()>;

// Designer state: geometry in twips relative to the container (a line's is x1,
// y1, x2, y2); the look.
struct ControlDesign {
    const char* name = nullptr;
    TwipsRect at;
    LookDesign look;
};

class Control : public EventTarget {
public:
    Control(Form& form, platform::ControlKind kind, const ControlDesign& design, Control* container = nullptr);
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return design_.name; }
    Form& form() { return form_; }

    // Geometry in the container's scale units.
    float Left() { return slot(0); }
    float Top() { return slot(1); }
    float Width() { return slot(2); }
    float Height() { return slot(3); }
    void setLeft(float units) { setSlot(0, units); }
    void setTop(float units) { setSlot(1, units); }
    void setWidth(float units) { setSlot(2, units); }
    void setHeight(float units) { setSlot(3, units); }

    Handle handle();
    // Hidden, a control is neither seen nor reached with Tab; each load shows it again.
    void setVisible(bool visible);
    // A container that grows with rows made at run time; takes effect at the next load.
    void setDesignHeight(float twips) { designAt_.height = twips; }
    float designHeight() const { return designAt_.height; }
    // What a screen reader says about the control now, beside its name.
    void setAccessibleDescription(const std::string& text);

    Handler<> Click;
    // A person changed the value: moved a slider, typed, set a hotkey.
    Handler<> Change;

    void handleEvent(const platform::Event& event) override;

protected:
    friend class Form;
    void resetToDesign();
    void create();
    void destroy();
    ScaleMode units() const;
    // The scale mode of a picture box's own drawing area; other controls have none.
    virtual ScaleMode innerScaleMode() const { return form_.scaleMode(); }
    platform::Platform& platform() { return form_.runtime().platform(); }
    void touch() { form_.ensureLoaded(); }
    platform::Rect pixelRect() const;
    float slot(int slot);
    void setSlot(int slot, float units);

    Form& form_;
    Control* container_;
    platform::ControlSpec design_;  // the designer look, with the control's name and kind
    TwipsRect designAt_;
    platform::ControlSpec state_;       // the look as it stands now
    float geometry_[4] = {0, 0, 0, 0};  // twips
    Handle handle_ = 0;
};

// A control whose text is its caption.
class CaptionedControl : public Control {
public:
    using Control::Control;
    std::string Caption();
    void setCaption(const std::string& caption);
};

class CommandButton : public CaptionedControl {
public:
    CommandButton(Form& form, const ControlDesign& design, Control* container = nullptr);
    // A toggle button shows itself pressed while it is on.
    void setPressed(bool pressed);
};

class Label : public CaptionedControl {
public:
    Label(Form& form, const ControlDesign& design, Control* container = nullptr);
    Color BackColor();
    void setBackColor(Color color);
    void setForeColor(Color color);
};

class TextBox : public Control {
public:
    TextBox(Form& form, const ControlDesign& design, Control* container = nullptr);
    std::string Text();
    void setText(const std::string& text);

protected:
    TextBox(Form& form, platform::ControlKind kind, const ControlDesign& design, Control* container);
};

// A box that takes a key combination, its text the portable form ("Ctrl+Alt+O"); empty for none.
class HotkeyBox : public TextBox {
public:
    HotkeyBox(Form& form, const ControlDesign& design, Control* container = nullptr);
};

// A slider over its designer range.
class Slider : public Control {
public:
    Slider(Form& form, const ControlDesign& design, Control* container = nullptr);
    int Value();
    // Kept within the range; setting it in code raises no Change.
    void setValue(int value);
};

// Its entries, one a line; the chosen one by its place, -1 for none. Change
// tells of a person's choice.
class ListBox : public Control {
public:
    ListBox(Form& form, const ControlDesign& design, Control* container = nullptr);
    void setItems(const std::vector<std::string>& items);
    int ListIndex();
    void setListIndex(int index);
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, const ControlDesign& design, Control* container = nullptr);
    int Value();
    // Setting a different value in code raises the box's click event.
    void setValue(int value);
};

class PictureBox : public Control {
public:
    PictureBox(Form& form, const ControlDesign& design, ScaleMode scaleMode);
    Handle hDC();

    // Button mask, shift state, X and Y in the picture's scale units.
    Handler<int, int, float, float> MouseDown;
    Handler<int, int, float, float> MouseMove;
    // Virtual key code and shift state, while the picture has the focus.
    Handler<unsigned, int> KeyDown;

    void handleEvent(const platform::Event& event) override;

protected:
    ScaleMode innerScaleMode() const override { return scaleMode_; }

private:
    ScaleMode scaleMode_;
};

class Shape : public Control {
public:
    Shape(Form& form, const ControlDesign& design, Control* container = nullptr);
};

class Frame : public Control {
public:
    Frame(Form& form, const ControlDesign& design);
};

// A line from (left, top) to (width, height) read as x1, y1, x2, y2.
class Line : public Control {
public:
    Line(Form& form, const ControlDesign& design);
};

class Timer : public EventTarget {
public:
    Timer(Form& form, std::string name, int intervalMs, bool enabled = true);
    ~Timer() override;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    // A timer that is off costs nothing: it ticks only while enabled.
    void setEnabled(bool enabled);

    void handleEvent(const platform::Event& event) override;

    Handler<> Tick;

private:
    void create();  // on its window's load, from the designer state
    void start();
    void destroy();
    friend class Form;

    Form& form_;
    std::string name_;
    int interval_;
    bool designEnabled_;
    bool enabled_;
    Handle handle_ = 0;
};

// A menu shown only as a popup menu: its entries in order, "-" for a separator.
class Menu {
public:
    struct Entry {
        std::string name;
        std::string caption;
        Handler<> Click;
        bool checked = false;
        std::vector<Entry> items;  // a submenu's
    };

    Menu(Form& form, std::string name, std::string caption, std::vector<Entry> entries);
    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    std::vector<Entry>& entries() { return entries_; }

private:
    Form& form_;
    std::string name_;
    std::string caption_;
    std::vector<Entry> entries_;
};

}  // namespace velmora::toolkit
