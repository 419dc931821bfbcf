#include "side/computer.h"

namespace velmora {

namespace {
// Colours as 0x00BBGGRR, from the sixteen-colour palette.
constexpr platform::Color kBackground = 0x00C0C0C0;  // light grey, the dialog's face
constexpr platform::Color kBlack = 0x00000000;
constexpr platform::Color kDarkGrey = 0x00808080;
constexpr platform::Color kWhite = 0x00FFFFFF;
constexpr platform::Color kTeal = 0x00808000;
constexpr platform::Color kCyan = 0x00FFFF00;
constexpr platform::Color kGreen = 0x0000FF00;

struct Canvas {
    platform::Image image;
    void fill(int left, int top, int right, int bottom, platform::Color color) {
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) image.pixels[static_cast<std::size_t>(y * image.width + x)] = color;
        }
    }
    void frame(int left, int top, int right, int bottom, platform::Color light, platform::Color dark) {
        fill(left, top, right, top, light);
        fill(left, top, left, bottom, light);
        fill(left, bottom, right, bottom, dark);
        fill(right, top, right, bottom, dark);
    }
};
}  // namespace

platform::Image computerPicture() {
    Canvas c{{32, 32, std::vector<platform::Color>(32 * 32, kBackground)}};
    // Monitor casing with a bevel, and its screen.
    c.fill(5, 1, 26, 18, kBackground);
    c.frame(5, 1, 26, 18, kWhite, kBlack);
    c.frame(8, 3, 23, 15, kDarkGrey, kWhite);
    c.fill(9, 4, 22, 14, kTeal);
    c.fill(10, 5, 15, 5, kCyan);  // a glint of light on the glass
    c.fill(10, 6, 12, 6, kCyan);
    // Neck and system unit with its drive slot and power light.
    c.fill(13, 19, 18, 20, kDarkGrey);
    c.fill(3, 21, 28, 25, kBackground);
    c.frame(3, 21, 28, 25, kWhite, kBlack);
    c.fill(6, 23, 15, 23, kBlack);
    c.fill(25, 23, 26, 23, kGreen);
    // Keyboard, its keys as a dotted pattern.
    c.fill(1, 27, 30, 30, kBackground);
    c.frame(1, 27, 30, 30, kWhite, kBlack);
    for (int x = 3; x <= 28; x += 2) {
        c.fill(x, 28, x, 28, kDarkGrey);
        c.fill(x, 29, x, 29, kDarkGrey);
    }
    return c.image;
}

}  // namespace velmora
