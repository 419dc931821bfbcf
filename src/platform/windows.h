// Top-level windows, the timers that belong to them, and the event loop that
// drives both.
#pragma once

#include <string>

#include "platform/events.h"
#include "platform/types.h"

namespace velmora::platform {

class Windows {
public:
    virtual ~Windows() = default;

    // Every event of every role goes to the sink; run returns quit's exit code.
    virtual void setSink(EventSink* sink) = 0;
    virtual int run() = 0;
    virtual void quit(int exitCode) = 0;

    // 0 when the window cannot be made.
    virtual Handle createWindow(const WindowSpec& spec) = 0;
    // Its controls and timers go with it.
    virtual void destroyWindow(Handle window) = 0;
    // The outer rectangle in pixels; a minimised window's is where it comes back to.
    virtual Rect windowRect(Handle window) = 0;
    // The platform applies its minimum window size and reports Resize when the size changes.
    virtual void setWindowRect(Handle window, const Rect& rect) = 0;
    virtual bool isVisible(Handle window) = 0;
    virtual void setVisible(Handle window, bool visible) = 0;
    // Shows the window in front without taking the keyboard from the window the
    // person is in (a panel, or the tint brought up by a hotkey).
    virtual void showWithoutActivating(Handle window) = 0;
    virtual void setCaption(Handle window, const std::string& caption) = 0;
    virtual void setBackColor(Handle window, Color color) = 0;
    virtual int windowState(Handle window) = 0;  // 0 normal, 1 minimised, 2 maximised
    virtual void setWindowState(Handle window, int state) = 0;
    virtual void bringToFront(Handle window) = 0;
    virtual Handle windowIcon(Handle window) = 0;

    // 0 when the timer cannot be made; it ticks as TimerTick with its own handle.
    virtual Handle createTimer(Handle window, int intervalMs) = 0;
    virtual void destroyTimer(Handle timer) = 0;
};

}  // namespace velmora::platform
