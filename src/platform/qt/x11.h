// What the X11 window manager says that Qt does not pass on, and the X
// connection the platform's own X requests go through.
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

// Hands each of our windows the frame the window manager puts around it, from
// _NET_FRAME_EXTENTS, as it changes; null on a platform other than X11.
std::unique_ptr<QAbstractNativeEventFilter> watchFrameExtents();

}  // namespace velmora::platform::qt
