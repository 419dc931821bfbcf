// The program's pictures as GDI objects: a picture box's memory DC and a window icon.
#pragma once

#include <memory>

#include "platform/types.h"
#include "platform/win32/handles.h"

namespace velmora::platform::win32 {

// A bitmap selected into a memory DC of its own, so its pixels can be read
// whatever covers the window that shows it.
struct PictureSurface {
    Bitmap bitmap;
    MemoryDC dc;
    Selection selection;  // last: the bitmap leaves the DC before either goes
    Size size;
};

// A surface holding the picture, or an empty one when there is none.
std::unique_ptr<PictureSurface> surfaceFromImage(const Image& image);

// The picture as drawn at that density, for a screen denser than 96 DPI; nothing at 96 or less.
std::unique_ptr<PictureSurface> pictureAt(const Image& image, int dpi);

// An icon showing the picture; nothing when it cannot be made.
Icon iconFromImage(const Image& image);

}  // namespace velmora::platform::win32
