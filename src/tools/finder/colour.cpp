#include "tools/finder/colour.h"

#include <algorithm>
#include <cmath>

namespace velmora::tools::colour {

namespace {
int channel(platform::Color c, int shift) { return static_cast<int>((c >> shift) & 0xFFU); }

platform::Color rgb(int r, int g, int b) {
    return static_cast<platform::Color>(r) | static_cast<platform::Color>(g) << 8 |
           static_cast<platform::Color>(b) << 16;
}

double linear(int encoded) {
    const double c = encoded / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int encoded(double linear) {
    const double c = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return std::clamp(static_cast<int>(std::lround(c * 255)), 0, 255);
}
}  // namespace

double distance(const Chromaticity& a, const Chromaticity& b) { return std::hypot(a.u - b.u, a.v - b.v); }

Chromaticity chromaticityOf(platform::Color color) {
    const double r = linear(channel(color, 0)), g = linear(channel(color, 8)), b = linear(channel(color, 16));
    const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double d = x + 15 * y + 3 * z;
    if (d <= 0) return white();
    return {4 * x / d, 9 * y / d};
}

Chromaticity white() { return chromaticityOf(0x00FFFFFF); }

std::optional<platform::Color> brightestOf(const Chromaticity& c) {
    if (c.v <= 0) return std::nullopt;
    const double x = 9 * c.u / (4 * c.v), y = 1, z = (12 - 3 * c.u - 20 * c.v) / (4 * c.v);
    const double r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z;
    const double g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z;
    const double b = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z;
    const double most = std::max({r, g, b});
    if (std::min({r, g, b}) < 0 || most <= 0) return std::nullopt;
    return rgb(encoded(r / most), encoded(g / most), encoded(b / most));
}

platform::Color pageOf(platform::Color tint, int alpha) {
    const auto page = [&](int shift) {
        return static_cast<int>(std::lround(255 * (1 - alpha / 255.0 * (1 - channel(tint, shift) / 255.0))));
    };
    return rgb(page(0), page(8), page(16));
}

platform::Color textThroughWindow(platform::Color tint, int alpha) {
    const auto text = [&](int shift) { return static_cast<int>(std::lround(alpha / 255.0 * channel(tint, shift))); };
    return rgb(text(0), text(8), text(16));
}

Tint tintForPage(platform::Color page, const int* strengths, int count) {
    // How far each channel falls from white, 0..1; the strength must reach the farthest.
    const double fall[] = {1 - channel(page, 0) / 255.0, 1 - channel(page, 8) / 255.0, 1 - channel(page, 16) / 255.0};
    const double needed = 255 * std::max({fall[0], fall[1], fall[2]});
    int alpha = strengths[count - 1];
    for (int i = 0; i < count; ++i) {
        if (strengths[i] + 1e-9 >= needed) {
            alpha = strengths[i];
            break;
        }
    }
    const auto tint = [&](int i) {
        return std::clamp(static_cast<int>(std::lround(255 * (1 - fall[i] * 255 / alpha))), 0, 255);
    };
    return {rgb(tint(0), tint(1), tint(2)), alpha};
}

}  // namespace velmora::tools::colour
