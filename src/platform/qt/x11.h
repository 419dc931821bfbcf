// What the X11 window manager says that Qt does not pass on, the X connection
// the platform's own X requests go through, and the input shape.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdlib>
#include <memory>

struct xcb_connection_t;

namespace velmora::platform::qt {

// The connection Qt talks to the X server on; null on any other platform
// (offscreen, native Wayland).
xcb_connection_t* x11Connection();

// An xcb reply, which the caller frees.
struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

// Lets the mouse through the X window to what is beneath, or gives it back: an
// empty input shape, or the default one, which follows the window's size as
// Qt's own rectangle would not. Nothing without an X server.
void setInputShape(unsigned long window, bool mouseGoesThrough);

// Hands each of our windows the frame the window manager puts around it, from
// _NET_FRAME_EXTENTS, as it changes; null on a platform other than X11.
std::unique_ptr<QAbstractNativeEventFilter> watchFrameExtents();

}  // namespace velmora::platform::qt
