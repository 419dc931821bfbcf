// Colours as a reader sees them: sRGB page colours and their CIE 1976 u'v'
// chromaticity, the space in which the distance between two tints is judged.
#pragma once

#include <optional>

#include "platform/types.h"

namespace velmora::tools::colour {

struct Chromaticity {
    double u = 0;
    double v = 0;
};

double distance(const Chromaticity& a, const Chromaticity& b);

// Of an sRGB colour (0x00BBGGRR); black has none and reads as white's.
Chromaticity chromaticityOf(platform::Color color);
// The D65 white of sRGB.
Chromaticity white();
// The brightest sRGB colour of that chromaticity; none outside the gamut.
std::optional<platform::Color> brightestOf(const Chromaticity& c);

// A white page seen through a tint of colour C at strength alpha (0..255):
// 255 * (1 - (alpha / 255) * (1 - C / 255)) in each channel.
platform::Color pageOf(platform::Color tint, int alpha);
// Black text through the see-through window: (alpha / 255) * C.
platform::Color textThroughWindow(platform::Color tint, int alpha);

// A tint that shows this page colour, with the least strength among those
// given (ascending), so as much of the text's contrast as possible stays.
struct Tint {
    platform::Color color = 0;
    int alpha = 0;
};
Tint tintForPage(platform::Color page, const int* strengths, int count);

}  // namespace velmora::tools::colour
