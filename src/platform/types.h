// What travels between the program and a platform: plain values, no OS or GUI
// types. Handles are plain integers, geometry pixels, colours 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::platform {

// A native handle as the program sees it (HWND, HDC, HICON, HKEY...).
using Handle = std::intptr_t;
// Colour value laid out as 0x00BBGGRR.
using Color = std::uint32_t;

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// A picture held by the program: row 0 at the top, pixels as 0x00BBGGRR.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Color> pixels;
    Color at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool empty() const { return width <= 0 || height <= 0; }
};

// The picture as drawn on a screen of dpi dots per inch: each of its pixels spans
// dpi / 96 screen pixels, the screen pixel x showing the picture's x * 96 / dpi,
// which is the cell the picker samples for a click there.
inline Image atDensity(const Image& image, int dpi) {
    if (image.empty() || dpi <= 96) return image;
    const auto drawn = [dpi](int n) { return static_cast<int>((static_cast<long long>(n) * dpi + 95) / 96); };
    Image out{drawn(image.width), drawn(image.height), {}};
    out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) out.pixels.push_back(image.at(x * 96 / dpi, y * 96 / dpi));
    }
    return out;
}

enum class BorderStyle {
    Sizable,      // ordinary resizable window with caption buttons
    FixedSingle,  // fixed border, caption
    FixedDialog,  // dialog frame, caption
    None,         // no frame and no caption, never given the focus: the reading ruler
};

struct WindowSpec {
    std::string name;  // the window's designer name, e.g. "FrmMain"
    std::string caption;
    BorderStyle border = BorderStyle::Sizable;
    bool minButton = true;
    bool maxButton = true;
    bool showInTaskbar = true;
    Size clientSize;                 // pixels
    std::optional<Rect> clientRect;  // designer position of the client area; none: system default
    Color backColor = 0x00F0F0F0;
    std::vector<Image> icons;    // the window's own icon in each size drawn; none: the platform's default
    bool closeOnEscape = false;  // Escape asks to close the window, as its close box does
    bool activateOnShow = true;  // false: shown and raised, the keyboard left where it is
};

// A list box's text is its entries, one a line; its check value the chosen entry, -1 for none.
enum class ControlKind {
    CommandButton,
    Label,
    TextBox,
    CheckBox,
    PictureBox,
    Shape,
    Frame,
    Line,
    Slider,
    HotkeyBox,
    ListBox
};

// Text is std::string, or a window design's literal (toolkit::LookDesign).
template <class Text>
struct BasicFont {
    Text name = "MS Sans Serif";
    float points = 8.0F;
    bool bold = false;
    bool underline = false;
    bool operator==(const BasicFont&) const = default;
};
using Font = BasicFont<std::string>;

enum class Alignment { Left, Center };
enum class ShapeStyle { Rectangle, Oval };
enum class LineStyle { Solid, Dash };

// A control as the platform makes it: ControlSpec, its texts owned and its picture
// an Image. A window's design gives the same as literals and the function that
// draws its picture (toolkit::LookDesign).
template <class Text, class Picture>
struct BasicControlSpec {
    Text name{};
    ControlKind kind = ControlKind::Label;
    Rect rect;  // pixels, relative to the parent's client area; for a Line: x1, y1, x2, y2
    Text text{};
    Color backColor = 0x00F0F0F0;
    Color foreColor = 0x00000000;
    bool transparentBack = false;  // labels and shapes that let the parent show through
    BasicFont<Text> font;
    Alignment alignment = Alignment::Left;
    bool border = false;  // fixed single border (labels, picture boxes)
    ShapeStyle shape = ShapeStyle::Rectangle;
    LineStyle lineStyle = LineStyle::Solid;
    int lineWidth = 1;
    int tabIndex = -1;  // -1: not a tab stop; a label with a tab stop is a link that Enter or Space follows
    bool isDefault = false;
    bool isCancel = false;
    Picture picture{};  // picture boxes
    // What a screen reader says of the control when its text says nothing, and more about it.
    Text accessibleName{};
    Text accessibleDescription{};
    int wholeNumberMax = -1;  // 0 or more: a text box that takes only whole numbers up to this
    bool toggle = false;      // a command button that shows itself pressed while its check value is 1
    // A label's control: the one its mnemonic moves to and whose name its text gives.
    Text labelFor{};
    int minimum = 0;  // a slider's range; its value is read and set as a check value
    int maximum = 0;
};
using ControlSpec = BasicControlSpec<std::string, Image>;

struct MenuItem {
    std::string caption;  // "-" is a separator; "&" marks the mnemonic
    bool checked = false;
    // A submenu's entries. Items are numbered depth first: an item, then those
    // under it, then the next.
    std::vector<MenuItem> items;
};

// The shell's notification-icon record, without its ANSI packing.
struct NotifyIconData {
    Handle window = 0;
    unsigned id = 0;
    unsigned flags = 0;  // NIF_MESSAGE, NIF_ICON and NIF_TIP
    unsigned callbackMessage = 0;
    Handle icon = 0;
    std::string tip;
};

}  // namespace velmora::platform
