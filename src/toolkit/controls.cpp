#include "toolkit/controls.h"

#include <algorithm>

namespace velmora::toolkit {

using platform::ControlKind;

namespace {
// The design's look, its texts copied and its picture drawn.
platform::ControlSpec ownedLook(const ControlDesign& design, ControlKind kind) {
    const LookDesign& look = design.look;
    const auto text = [](const char* literal) { return std::string(literal != nullptr ? literal : ""); };
    return {.name = text(design.name),
            .kind = kind,
            .rect = look.rect,
            .text = text(look.text),
            .backColor = look.backColor,
            .foreColor = look.foreColor,
            .transparentBack = look.transparentBack,
            .font = {text(look.font.name), look.font.points, look.font.bold, look.font.underline},
            .alignment = look.alignment,
            .border = look.border,
            .shape = look.shape,
            .lineStyle = look.lineStyle,
            .lineWidth = look.lineWidth,
            .tabIndex = look.tabIndex,
            .isDefault = look.isDefault,
            .isCancel = look.isCancel,
            .picture = look.picture != nullptr ? look.picture() : platform::Image{},
            .accessibleName = text(look.accessibleName),
            .accessibleDescription = text(look.accessibleDescription),
            .wholeNumberMax = look.wholeNumberMax,
            .toggle = look.toggle,
            .labelFor = text(look.labelFor),
            .minimum = look.minimum,
            .maximum = look.maximum};
}
}  // namespace

Control::Control(Form& form, ControlKind kind, const ControlDesign& design, Control* container)
    : form_(form), container_(container), design_(ownedLook(design, kind)), designAt_(design.at) {
    form_.controls_.push_back(this);
    resetToDesign();
}

Control::~Control() { destroy(); }

void Control::resetToDesign() {
    state_ = design_;
    geometry_[0] = designAt_.left;
    geometry_[1] = designAt_.top;
    geometry_[2] = designAt_.width;
    geometry_[3] = designAt_.height;
}

ScaleMode Control::units() const { return container_ != nullptr ? container_->innerScaleMode() : form_.scaleMode(); }

platform::Rect Control::pixelRect() const {
    const double tpp = form_.layoutTwipsPerPixel();
    return {twipsToPixels(geometry_[0], tpp), twipsToPixels(geometry_[1], tpp), twipsToPixels(geometry_[2], tpp),
            twipsToPixels(geometry_[3], tpp)};
}

void Control::create() {
    state_.rect = pixelRect();
    const Handle parent = container_ != nullptr ? container_->handle_ : form_.handle_;
    platform::ControlSpec spec = state_;
    spec.font.points = static_cast<float>(spec.font.points / form_.fit());
    handle_ = platform().controls.createControl(parent, spec);
    if (handle_ == 0) throw errors::outOfMemory();
    form_.runtime().attach(handle_, this);
}

void Control::destroy() {
    if (handle_ == 0) return;
    form_.runtime().detach(handle_);
    // The platform destroys a window's controls with it.
    handle_ = 0;
}

Handle Control::handle() {
    touch();
    return handle_;
}

void Control::setAccessibleDescription(const std::string& text) {
    touch();
    state_.accessibleDescription = text;
    platform().controls.setAccessibleDescription(handle_, text);
}

float Control::slot(int slot) {
    touch();
    return form_.twipsToUnits(geometry_[slot], units());
}

void Control::setSlot(int slot, float units_) {
    touch();
    const float twips = form_.unitsToTwips(units_, units());
    const bool isSize = slot >= 2 && design_.kind != ControlKind::Line;
    if (isSize && twips < 0) throw errors::invalidPropertyValue();
    const float old = geometry_[slot];
    geometry_[slot] = twips;
    try {
        platform().controls.setControlRect(handle_, pixelRect());
    } catch (...) {
        geometry_[slot] = old;
        throw;
    }
}

void Control::handleEvent(const platform::Event& event) {
    if (handle_ == 0) return;
    if (event.kind == platform::EventKind::Click && Click) Click();
    if (event.kind == platform::EventKind::Change && Change) Change();
}

std::string CaptionedControl::Caption() {
    touch();
    return state_.text;
}

void CaptionedControl::setCaption(const std::string& caption) {
    touch();
    state_.text = caption;
    platform().controls.setControlText(handle_, caption);
}

CommandButton::CommandButton(Form& form, const ControlDesign& design, Control* container)
    : CaptionedControl(form, ControlKind::CommandButton, design, container) {}

void CommandButton::setPressed(bool pressed) {
    touch();
    platform().controls.setCheckValue(handle_, pressed ? 1 : 0);
}

Label::Label(Form& form, const ControlDesign& design, Control* container)
    : CaptionedControl(form, ControlKind::Label, design, container) {}

Color Label::BackColor() {
    touch();
    return state_.backColor;
}

ListBox::ListBox(Form& form, const ControlDesign& design, Control* container)
    : Control(form, ControlKind::ListBox, design, container) {}

void ListBox::setItems(const std::vector<std::string>& items) {
    touch();
    std::string text;
    for (const std::string& item : items) {
        if (&item != items.data()) text += '\n';
        text += item;
    }
    state_.text = text;
    platform().controls.setControlText(handle_, text);
}

int ListBox::ListIndex() {
    touch();
    return platform().controls.checkValue(handle_);
}

void ListBox::setListIndex(int index) {
    touch();
    platform().controls.setCheckValue(handle_, index);
}

void Label::setForeColor(Color color) {
    touch();
    state_.foreColor = color;
    platform().controls.setControlForeColor(handle_, color);
}

void Control::setVisible(bool visible) {
    touch();
    platform().controls.setControlVisible(handle_, visible);
}

void Label::setBackColor(Color color) {
    touch();
    state_.backColor = color;
    platform().controls.setControlBackColor(handle_, color);
}

TextBox::TextBox(Form& form, const ControlDesign& design, Control* container)
    : Control(form, ControlKind::TextBox, design, container) {}

TextBox::TextBox(Form& form, ControlKind kind, const ControlDesign& design, Control* container)
    : Control(form, kind, design, container) {}

std::string TextBox::Text() {
    touch();
    return platform().controls.controlText(handle_);
}

void TextBox::setText(const std::string& text) {
    touch();
    platform().controls.setControlText(handle_, text);
}

Slider::Slider(Form& form, const ControlDesign& design, Control* container)
    : Control(form, ControlKind::Slider, design, container) {}

int Slider::Value() {
    touch();
    return platform().controls.checkValue(handle_);
}

void Slider::setValue(int value) {
    touch();
    platform().controls.setCheckValue(handle_, std::clamp(value, state_.minimum, state_.maximum));
}

HotkeyBox::HotkeyBox(Form& form, const ControlDesign& design, Control* container)
    : TextBox(form, ControlKind::HotkeyBox, design, container) {}

CheckBox::CheckBox(Form& form, const ControlDesign& design, Control* container)
    : Control(form, ControlKind::CheckBox, design, container) {}

int CheckBox::Value() {
    touch();
    return platform().controls.checkValue(handle_);
}

void CheckBox::setValue(int value) {
    touch();
    if (value < 0 || value > 2) throw errors::invalidPropertyValue();
    if (platform().controls.checkValue(handle_) == value) return;
    platform().controls.setCheckValue(handle_, value);
    if (Click) Click();
}

PictureBox::PictureBox(Form& form, const ControlDesign& design, ScaleMode scaleMode)
    : Control(form, ControlKind::PictureBox, design), scaleMode_(scaleMode) {}

Handle PictureBox::hDC() {
    touch();
    return platform().controls.pictureDC(handle_);
}

void PictureBox::handleEvent(const platform::Event& event) {
    if (handle_ == 0) return;
    if (event.kind == platform::EventKind::Click) {
        if (Click) Click();
        return;
    }
    if (event.kind == platform::EventKind::KeyDown) {
        if (KeyDown) KeyDown(event.code, event.shift);
        return;
    }
    const auto& mouse = event.kind == platform::EventKind::MouseDown ? MouseDown : MouseMove;
    if (!mouse) return;
    const float x = form_.twipsToUnits(form_.unitsToTwips(static_cast<float>(event.x), ScaleMode::Pixels), scaleMode_);
    const float y = form_.twipsToUnits(form_.unitsToTwips(static_cast<float>(event.y), ScaleMode::Pixels), scaleMode_);
    mouse(event.button, event.shift, x, y);
}

Shape::Shape(Form& form, const ControlDesign& design, Control* container)
    : Control(form, ControlKind::Shape, design, container) {}

Frame::Frame(Form& form, const ControlDesign& design) : Control(form, ControlKind::Frame, design) {}

Line::Line(Form& form, const ControlDesign& design) : Control(form, ControlKind::Line, design) {}

Timer::Timer(Form& form, std::string name, int intervalMs, bool enabled)
    : form_(form), name_(std::move(name)), interval_(intervalMs), designEnabled_(enabled), enabled_(enabled) {
    form_.timers_.push_back(this);
}

Timer::~Timer() { destroy(); }

void Timer::create() {
    enabled_ = designEnabled_;
    start();
}

void Timer::setEnabled(bool enabled) {
    form_.ensureLoaded();
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) {
        start();
    } else {
        destroy();
    }
}

void Timer::start() {
    if (!enabled_ || interval_ <= 0 || handle_ != 0) return;
    handle_ = form_.runtime().platform().windows.createTimer(form_.handle_, interval_);
    if (handle_ == 0) throw errors::outOfMemory();
    form_.runtime().attach(handle_, this);
}

void Timer::destroy() {
    if (handle_ == 0) return;
    form_.runtime().detach(handle_);
    form_.runtime().platform().windows.destroyTimer(handle_);
    handle_ = 0;
}

void Timer::handleEvent(const platform::Event& event) {
    if (handle_ != 0 && event.kind == platform::EventKind::TimerTick && Tick) Tick();
}

Menu::Menu(Form& form, std::string name, std::string caption, std::vector<Entry> entries)
    : form_(form), name_(std::move(name)), caption_(std::move(caption)), entries_(std::move(entries)) {
    form_.menus_.push_back(this);
}

}  // namespace velmora::toolkit
