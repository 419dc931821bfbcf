#include "picker/spectrum.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace velmora {

namespace {

struct Rgb {
    double r, g, b;  // 0..1
};

// Hue in degrees, saturation and lightness 0..1.
Rgb fromHsl(double hue, double saturation, double lightness) {
    const double chroma = (1 - std::fabs(2 * lightness - 1)) * saturation;
    const double h = std::fmod(hue, 360.0) / 60.0;
    const double x = chroma * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    Rgb c{0, 0, 0};
    if (h < 1)
        c = {chroma, x, 0};
    else if (h < 2)
        c = {x, chroma, 0};
    else if (h < 3)
        c = {0, chroma, x};
    else if (h < 4)
        c = {0, x, chroma};
    else if (h < 5)
        c = {x, 0, chroma};
    else
        c = {chroma, 0, x};
    const double m = lightness - chroma / 2;
    return {c.r + m, c.g + m, c.b + m};
}

// A small fixed sequence, so the picture is the same on every run and platform.
class Grain {
public:
    int next() {
        state_ = state_ * 1664525U + 1013904223U;
        return static_cast<int>((state_ >> 24) % 11) - 5;  // -5..5
    }

private:
    std::uint32_t state_ = 0x5EEDU;
};

int channel(double value, Grain& grain) {
    const int v = static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    const int noise = grain.next();
    if (v == 0 || v == 255) return v;
    return std::clamp(v + noise, 0, 255);
}

platform::Color pack(int r, int g, int b) { return static_cast<platform::Color>(r | (g << 8) | (b << 16)); }

// The ink band's lightness: near white at its top, full strength around row 235,
// near black at row 254.
double inkLightness(int row) {
    if (row <= 235) return 0.92 - (0.92 - 0.40) * (row - 221) / (235.0 - 221.0);
    return 0.40 - (0.40 - 0.04) * (row - 235) / (254.0 - 235.0);
}

}  // namespace

platform::Image spectrumPicture() {
    constexpr int kSize = 256;
    platform::Image image{kSize, kSize, std::vector<platform::Color>(kSize * kSize, 0)};
    Grain grain;
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            const double hue = column * 360.0 / kSize;
            Rgb c{0, 0, 0};
            if (row <= 217)
                c = fromHsl(hue, 1.0, 1.0 - row / 432.0);
            else if (row == 218)
                c = fromHsl(hue, 1.0, 0.22);
            else if (row == 220)
                c = fromHsl(hue, 0.1, 0.6);  // greyish step into the ink band
            else if (row >= 221 && row <= 254)
                c = fromHsl(hue, 0.45, inkLightness(row));
            const int r = channel(c.r, grain);
            const int g = channel(c.g, grain);
            const int b = channel(c.b, grain);
            image.pixels[static_cast<std::size_t>(row * kSize + column)] = pack(r, g, b);
        }
    }
    return image;
}

platform::Image pickerIcon(int size) {
    constexpr platform::Color kBlack = 0x00000000;
    constexpr platform::Color kAmber = 0x0000BFFF;  // red 255, green 191, blue 0
    const int stripe = std::max(2, size / 8);
    platform::Image image{size, size, std::vector<platform::Color>(static_cast<std::size_t>(size * size), kBlack)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (((x + y) / stripe) % 2 == 0) image.pixels[static_cast<std::size_t>(y * size + x)] = kAmber;
        }
    }
    return image;
}

}  // namespace velmora
