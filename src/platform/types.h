// The one interface every platform implements. No OS or GUI types: handles
// travel as plain integers, geometry as pixels, colours as 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/errors.h"

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

enum class BorderStyle {
    Sizable,      // ordinary resizable window with caption buttons
    FixedSingle,  // fixed border, caption
    FixedDialog,  // dialog frame, caption
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
    std::vector<Image> icons;  // the window's own icon in each size drawn; none: the platform's default
};

enum class ControlKind { CommandButton, Label, TextBox, CheckBox, PictureBox, Shape, Frame, Line };

struct Font {
    std::string name = "MS Sans Serif";
    float points = 8.0F;
    bool bold = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

enum class Alignment { Left, Center };
enum class ShapeStyle { Rectangle, Oval };
enum class LineStyle { Solid, Dash };

struct ControlSpec {
    std::string name;
    ControlKind kind = ControlKind::Label;
    Rect rect;  // pixels, relative to the parent's client area; for a Line: x1, y1, x2, y2
    std::string text;
    Color backColor = 0x00F0F0F0;
    Color foreColor = 0x00000000;
    bool transparentBack = false;  // labels and shapes that let the parent show through
    Font font;
    Alignment alignment = Alignment::Left;
    bool border = false;  // fixed single border (labels, picture boxes)
    ShapeStyle shape = ShapeStyle::Rectangle;
    LineStyle lineStyle = LineStyle::Solid;
    int lineWidth = 1;
    int tabIndex = -1;  // -1: not a tab stop; a label with a tab stop is a link that Enter or Space follows
    bool isDefault = false;
    bool isCancel = false;
    Image picture;  // picture boxes
};

struct MenuItem {
    std::string caption;  // "-" is a separator; "&" marks the mnemonic
};

// The shell's notification-icon record, without its ANSI packing.
struct NotifyIconData {
    Handle window = 0;
    unsigned id = 0;
    unsigned flags = 0;  // NIF_MESSAGE 1, NIF_ICON 2, NIF_TIP 4
    unsigned callbackMessage = 0;
    Handle icon = 0;
    std::string tip;
};

enum class EventKind {
    Click,         // control clicked (buttons, labels, text boxes, check boxes after they toggle)
    MouseDown,     // picture boxes: button mask, shift, x, y in the control's client pixels
    MouseMove,     // picture boxes and windows
    CloseRequest,  // the close box or the system menu's Close
    Resize,        // a window's size changed
    Moved,         // a window's position changed by the user
    TimerTick,
    NotifyIcon,       // the notification icon's callback: code is the mouse message
    AnotherInstance,  // a second start of the program asked this one to show itself (target 0)
};

struct Event {
    EventKind kind = EventKind::Click;
    Handle target = 0;  // window, control or timer
    int button = 0;
    int shift = 0;
    int x = 0;
    int y = 0;
    unsigned code = 0;
};

class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void onEvent(const Event& event) = 0;
};

// Per-user settings store addressed by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The empty text when the key was never written.
    virtual std::string get(const std::string& app, const std::string& section, const std::string& key) = 0;
    // False when the value could not be written; the caller decides whether that matters.
    virtual bool save(const std::string& app, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
};

// Win32 constants the program passes through the native calls.
namespace win {
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr long WS_EX_LAYERED = 0x80000;
inline constexpr unsigned LWA_ALPHA = 2;
inline constexpr Handle HWND_TOPMOST = -1;
inline constexpr Handle HWND_NOTOPMOST = -2;
inline constexpr unsigned SWP_NOSIZE = 1;
inline constexpr unsigned SWP_NOMOVE = 2;
inline constexpr unsigned NIM_ADD = 0;
inline constexpr unsigned NIM_DELETE = 2;
inline constexpr unsigned WM_MOUSEMOVE = 0x200;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x203;
inline constexpr unsigned WM_RBUTTONUP = 0x205;
inline constexpr unsigned WM_APP = 0x8000;
inline constexpr Color CLR_INVALID = 0xFFFFFFFF;
inline constexpr Handle HKEY_LOCAL_MACHINE = static_cast<Handle>(0x80000002LL);
inline constexpr unsigned REG_SZ = 1;
inline constexpr unsigned REG_DWORD = 4;
inline constexpr int SW_SHOWNORMAL = 1;
}  // namespace win

class Platform {
public:
    virtual ~Platform() = default;

    // Event loop. The sink gets every event; run returns after quit.
    virtual void setSink(EventSink* sink) = 0;
    virtual int run() = 0;
    virtual void quit(int exitCode) = 0;

    // Top-level windows. Geometry is the outer rectangle in pixels.
    virtual Handle createWindow(const WindowSpec& spec) = 0;
    virtual void destroyWindow(Handle window) = 0;
    virtual Rect windowRect(Handle window) = 0;
    // The platform applies its minimum window size and reports Resize when the size changes.
    virtual void setWindowRect(Handle window, const Rect& rect) = 0;
    virtual Size clientSize(Handle window) = 0;
    virtual bool isVisible(Handle window) = 0;
    virtual void setVisible(Handle window, bool visible) = 0;
    virtual void setCaption(Handle window, const std::string& caption) = 0;
    virtual void setBackColor(Handle window, Color color) = 0;
    virtual int windowState(Handle window) = 0;  // 0 normal, 1 minimised, 2 maximised
    virtual void setWindowState(Handle window, int state) = 0;
    virtual void bringToFront(Handle window) = 0;
    virtual Handle windowIcon(Handle window) = 0;

    // Controls, created inside a window or inside a frame or picture box.
    virtual Handle createControl(Handle parent, const ControlSpec& spec) = 0;
    virtual void setControlRect(Handle control, const Rect& rect) = 0;
    virtual void setControlText(Handle control, const std::string& text) = 0;
    virtual std::string controlText(Handle control) = 0;
    virtual void setControlBackColor(Handle control, Color color) = 0;
    virtual void setCheckValue(Handle control, int value) = 0;
    virtual int checkValue(Handle control) = 0;
    virtual Handle pictureDC(Handle control) = 0;

    // Timers belong to a window and die with it.
    virtual Handle createTimer(Handle window, int intervalMs) = 0;
    virtual void destroyTimer(Handle timer) = 0;

    // Modal interactions. popupMenu returns the chosen item's index, or none.
    virtual std::optional<int> popupMenu(Handle owner, const std::vector<MenuItem>& items) = 0;
    virtual int messageBox(Handle owner, const std::string& text, const std::string& title) = 0;

    virtual void clipboardClear() = 0;
    virtual void clipboardSetText(const std::string& text) = 0;

    // Screen: the primary screen's size, and every screen's work area, primary first.
    virtual Size screenSize() = 0;
    virtual double twipsPerPixel() = 0;
    virtual std::vector<Rect> workAreas() = 0;

    // The running program and its environment.
    virtual std::string exePath() = 0;  // full path of the executable
    virtual std::string environment(const std::string& name) = 0;
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool startProgram(const std::string& path, int showStyle) = 0;

    virtual SettingsStore& settings() = 0;

    // False when another copy of the program already runs; that copy has then been
    // sent AnotherInstance, and this one should leave.
    virtual bool becomePrimaryInstance() = 0;
    // Whether the desktop has a notification area to hold the program's icon.
    virtual bool notificationAreaAvailable() = 0;
    // The per-user entry that starts the program at login, naming this executable.
    virtual bool writeStartupEntry(const std::string& exePath) = 0;
    // Removes that entry if this program wrote it; anything else is left alone.
    virtual bool removeStartupEntry() = 0;

    // Native calls, named after the Win32 functions whose meaning each platform gives them.
    virtual long getWindowLong(Handle window, int index) = 0;
    virtual long setWindowLong(Handle window, int index, long value) = 0;
    virtual bool setLayeredWindowAttributes(Handle window, Color key, std::uint8_t alpha, unsigned flags) = 0;
    virtual bool setWindowPos(Handle window, Handle insertAfter, int x, int y, int cx, int cy, unsigned flags) = 0;
    virtual bool setForegroundWindow(Handle window) = 0;
    virtual bool shellNotifyIcon(unsigned message, const NotifyIconData& data) = 0;
    virtual Handle shellExecute(Handle owner, const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& directory, int show) = 0;
    virtual Color getPixel(Handle dc, int x, int y) = 0;
    virtual long regOpenKeyEx(Handle root, const std::string& subKey, unsigned options, unsigned access,
                              Handle& result) = 0;
    // data receives at most data.size() bytes; size is in/out as in Win32.
    virtual long regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                                 unsigned& size) = 0;
    virtual long regCloseKey(Handle key) = 0;
};

}  // namespace velmora::platform
