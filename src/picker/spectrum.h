// The picker's pictures, drawn in code.
#pragma once

#include "platform/types.h"

namespace velmora {

// 256 x 256: rows 0-217 sweep the hues left to right (red, yellow, green, cyan,
// blue, magenta, red) from white at the top to the pure hue at rows 216-217;
// row 218 the same hues dark, rows 219 and 255 black, rows 220-254 a band of muted
// ink colours from near white to near black. A little fixed noise gives it grain,
// never moving a channel that is fully off or fully on.
platform::Image spectrumPicture();

// The picker's own icon: black and amber diagonal stripes, size x size pixels.
platform::Image pickerIcon(int size);

}  // namespace velmora
