// What a platform tells the program: one kind of event at a time, through one sink.
#pragma once

#include "platform/types.h"

namespace velmora::platform {

enum class EventKind {
    Click,         // control clicked (buttons, labels, text boxes, check boxes after they toggle)
    MouseDown,     // picture boxes: button mask, shift, x, y in the control's client pixels
    MouseMove,     // picture boxes and windows
    CloseRequest,  // the close box or the system menu's Close
    Resize,        // a window's size changed
    Moved,         // a window's position changed by the person or the system
    TimerTick,
    NotifyIcon,                // the notification icon's callback: code is the mouse message
    AnotherInstance,           // a second start of the program asked this one to show itself (target 0)
    KeyDown,                   // picture boxes with the focus: code is the virtual key, shift as for the mouse
    NotificationAreaAppeared,  // after watchNotificationArea: the area is there now (target 0)
    NotificationAreaAbsent,    // after watchNotificationArea: it did not come in time (target 0)
    Change,                    // a person moved a slider, typed in a text box, set a hotkey box or chose in a list
    Hotkey,        // a registered hotkey was pressed, whichever program has the focus: code is its id (target 0)
    PointerMoved,  // after watchPointer: the pointer moved, x and y its place in desktop pixels (target 0)
};

struct Event {
    EventKind kind = EventKind::Click;
    Handle target = 0;  // window, control or timer
    int button = 0;
    int shift = 0;
    int x = 0;
    int y = 0;
    unsigned code = 0;
};

// Called synchronously on the one user-interface thread; never throws.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void onEvent(const Event& event) = 0;
};

}  // namespace velmora::platform
