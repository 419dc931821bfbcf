// Twips and pixels: 1440 twips make an inch, so 15 make a pixel at 96 DPI.
#pragma once

#include <cmath>
#include <limits>

#include "platform/errors.h"

namespace velmora::toolkit {

enum class ScaleMode { Twips = 1, Pixels = 3 };

// Designer geometry, in twips.
struct TwipsSize {
    float width = 0;
    float height = 0;
};
struct TwipsPoint {
    float left = 0;
    float top = 0;
};
struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// Nearest pixel; a value a 32-bit coordinate cannot hold is the runtime's overflow.
inline int twipsToPixels(double twips, double twipsPerPixel) {
    const double px = std::nearbyint(twips / twipsPerPixel);
    if (!(px >= std::numeric_limits<int>::min() && px <= std::numeric_limits<int>::max())) {
        throw errors::overflow();
    }
    return static_cast<int>(px);
}

inline float pixelsToTwips(int pixels, double twipsPerPixel) { return static_cast<float>(pixels * twipsPerPixel); }

// A window keeps the twips it was given as long as the platform still holds the
// pixel they round to; once the person (or the platform) moved it, the pixels win.
inline float twipsOf(int pixels, float lastSetTwips, bool haveLastSet, double twipsPerPixel) {
    if (haveLastSet && std::nearbyint(lastSetTwips / twipsPerPixel) == pixels) return lastSetTwips;
    return pixelsToTwips(pixels, twipsPerPixel);
}

}  // namespace velmora::toolkit
