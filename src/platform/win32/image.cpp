#include "platform/win32/image.h"

#include <vector>

namespace velmora::platform::win32 {

namespace {

// A top-down 32-bit DIB section holding the picture; bits are B, G, R, unused.
Bitmap dibFromImage(const Image& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return {};
    auto* out = static_cast<std::uint32_t*>(bits);
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    for (std::size_t i = 0; i < count && i < image.pixels.size(); ++i) {
        const Color c = image.pixels[i];  // 0x00BBGGRR
        out[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    GdiFlush();
    return bitmap;
}

}  // namespace

std::unique_ptr<PictureSurface> surfaceFromImage(const Image& image) {
    auto surface = std::make_unique<PictureSurface>();
    surface->dc.reset(CreateCompatibleDC(nullptr));
    if (image.empty() || !surface->dc) return surface;
    surface->bitmap = dibFromImage(image);
    if (!surface->bitmap) return surface;
    surface->selection = Selection(surface->dc.get(), surface->bitmap.get());
    surface->size = {image.width, image.height};
    return surface;
}

std::unique_ptr<PictureSurface> pictureAt(const Image& image, int dpi) {
    return dpi > 96 ? surfaceFromImage(atDensity(image, dpi)) : nullptr;
}

Icon iconFromImage(const Image& image) {
    if (image.empty()) return {};
    Bitmap color = dibFromImage(image);
    // An all-zero mask: every pixel of the picture is shown.
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>((image.width + 15) / 16 * 2 * image.height), 0);
    Bitmap mask(CreateBitmap(image.width, image.height, 1, 1, zeros.data()));
    if (!color || !mask) return {};
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = color.get();
    return Icon(CreateIconIndirect(&info));
}

}  // namespace velmora::platform::win32
