// The About box's picture of a computer, drawn in code.
#pragma once

#include "platform/types.h"

namespace velmora {

// 32 x 32 pixels in the sixteen classic colours: a monitor with a teal screen on
// a system unit, with a keyboard in front.
platform::Image computerPicture();

}  // namespace velmora
