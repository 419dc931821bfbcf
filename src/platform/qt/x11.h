// What the X11 window manager says that Qt does not pass on.
#pragma once

#include <QAbstractNativeEventFilter>
#include <memory>

namespace velmora::platform::qt {

// Hands each of our windows the frame the window manager puts around it, from
// _NET_FRAME_EXTENTS, as it changes; null on a platform other than X11.
std::unique_ptr<QAbstractNativeEventFilter> watchFrameExtents();

}  // namespace velmora::platform::qt
