// Controls of the simulated platform: plain records a test reads and drives.
#include "platform/sim/state.h"

namespace velmora::platform::sim {

namespace {

struct SimControls final : OnState<Controls> {
    using RoleOnState::RoleOnState;

    Handle createControl(Handle parent, const ControlSpec& spec) override {
        SimControl c;
        if (s_.window(parent) != nullptr) {
            c.window = parent;
        } else if (const SimControl* container = s_.control(parent)) {
            c.window = container->window;
        } else {
            return 0;
        }
        c.handle = s_.newHandle();
        c.parent = parent;
        c.spec = spec;
        c.rect = spec.rect;
        c.text = spec.text;
        c.backColor = spec.backColor;
        c.description = spec.accessibleDescription;
        c.foreColor = spec.foreColor;
        if (spec.kind == ControlKind::ListBox) c.value = -1;
        if (spec.kind == ControlKind::PictureBox) c.dc = s_.newHandle();
        if (spec.kind == ControlKind::Slider) c.value = spec.minimum;
        s_.controls[c.handle] = c;
        return c.handle;
    }

    void setControlRect(Handle handle, const Rect& rect) override { s_.controlOrBlank(handle).rect = rect; }
    void setControlText(Handle handle, const std::string& text) override { s_.controlOrBlank(handle).text = text; }
    std::string controlText(Handle handle) override { return s_.controlOrBlank(handle).text; }
    void setControlBackColor(Handle handle, Color color) override { s_.controlOrBlank(handle).backColor = color; }
    void setControlForeColor(Handle handle, Color color) override { s_.controlOrBlank(handle).foreColor = color; }
    void setControlVisible(Handle handle, bool visible) override { s_.controlOrBlank(handle).visible = visible; }
    void setCheckValue(Handle handle, int value) override {
        SimControl& c = s_.controlOrBlank(handle);
        c.value = c.spec.kind == ControlKind::Slider ? std::clamp(value, c.spec.minimum, c.spec.maximum) : value;
    }
    int checkValue(Handle handle) override { return s_.controlOrBlank(handle).value; }
    Handle pictureDC(Handle handle) override { return s_.controlOrBlank(handle).dc; }
    void setAccessibleDescription(Handle handle, const std::string& text) override {
        s_.controlOrBlank(handle).description = text;
    }
};

}  // namespace

std::unique_ptr<Controls> makeControls(State& state) { return std::make_unique<SimControls>(state); }

}  // namespace velmora::platform::sim
