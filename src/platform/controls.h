// Controls inside a window, or inside a frame or picture box of one.
#pragma once

#include <string>

#include "platform/types.h"

namespace velmora::platform {

class Controls {
public:
    virtual ~Controls() = default;

    // 0 when the control cannot be made, or when its parent is no live window or container.
    virtual Handle createControl(Handle parent, const ControlSpec& spec) = 0;
    // Pixels relative to the parent's client area; for a line, x1, y1, x2, y2.
    virtual void setControlRect(Handle control, const Rect& rect) = 0;
    virtual void setControlText(Handle control, const std::string& text) = 0;
    virtual std::string controlText(Handle control) = 0;
    virtual void setControlBackColor(Handle control, Color color) = 0;
    // A label's text colour.
    virtual void setControlForeColor(Handle control, Color color) = 0;
    // A hidden control is neither seen nor reached with Tab.
    virtual void setControlVisible(Handle control, bool visible) = 0;
    virtual void setCheckValue(Handle control, int value) = 0;  // 0 clear, 1 ticked, 2 greyed
    virtual int checkValue(Handle control) = 0;
    // A picture box's device context, whose pixels GetPixel reads; 0 for anything else.
    virtual Handle pictureDC(Handle control) = 0;
    // What a screen reader says about the control now, beside its name.
    virtual void setAccessibleDescription(Handle control, const std::string& text) = 0;
};

}  // namespace velmora::platform
