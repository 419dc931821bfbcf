// What the Windows platform's roles share: the records of the windows,
// controls, timers and notification icons the program made, the registry keys
// it opened, the window classes and the hidden host window. Windows and the
// controls that take input are native windows; shapes and lines are painted by
// the window or container that holds them. Events go up to the sink
// synchronously from the window procedure (events.cpp).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/backend.h"
#include "platform/win32/handles.h"
#include "platform/win32/image.h"
#include "platform/win32/platform.h"

namespace velmora::platform::win32 {

// Window classes, which another copy of the program and the tests look for.
inline constexpr const char* kFormClass = "VelmoraForm";
inline constexpr const char* kPaneClass = "VelmoraPane";
inline constexpr const char* kHostClass = "VelmoraHost";
// What marks a later copy's command among WM_COPYDATA messages: "VLMC".
inline constexpr ULONG_PTR kCommandData = 0x564C4D43;
// Posted to a link once its click is over, to follow it (events.cpp).
inline constexpr UINT kFollowLink = WM_APP + 2;
// Posted to the host window after the first pointer move of a burst: report its place once.
inline constexpr UINT kPointerPlace = WM_APP + 3;
// Posted by a second start of the program to the first one's host window.
inline constexpr const char* kAnotherInstanceMessage = "Velmora.AnotherInstance";

inline HWND asHwnd(Handle handle) { return reinterpret_cast<HWND>(handle); }
// A window's, icon's, DC's or key's handle as the program holds it.
template <class T>
Handle asHandle(T* native) {
    return reinterpret_cast<Handle>(native);
}

struct WindowRecord {
    WindowSpec spec;
    Brush backBrush;
    Icon bigIcon;  // the window's own, in the sizes Windows draws
    Icon smallIcon;
    HICON icon = nullptr;             // the one the program is given: small, or the default
    std::optional<int> pendingState;  // asked while hidden; applied when shown
    Size lastSize;
    HWND lastFocus = nullptr;
    int dpi = 96;      // of the screen it is on, which its controls' fonts follow
    OwnedWindow hwnd;  // last, so it goes before what it paints with
};

struct ControlRecord {
    Handle handle = 0;
    HWND hwnd = nullptr;  // none for shapes and lines; owned by its parent window
    HWND parent = nullptr;
    HWND topLevel = nullptr;
    int id = 0;
    ControlSpec spec;
    Rect rect;
    Brush backBrush;
    Font font;
    std::unique_ptr<PictureSurface> surface;  // picture boxes: the picture itself, which the picker samples
    std::unique_ptr<PictureSurface> shown;    // and as drawn at the window's density
    // Text and hotkey boxes: the text the program set or a person's edit last reported
    // (a whole-number box's is always good); sliders: the value, likewise.
    std::string lastText;
    int lastValue = 0;
};

class Annotations;  // accessible.cpp
// The thread that hears the pointer's moves (input.cpp).
class PointerWatch;
struct PointerWatchDeleter {
    void operator()(PointerWatch* watch) const;
};
struct AnnotationsDeleter {
    void operator()(Annotations* annotations) const;
};

struct TimerRecord {
    HWND window = nullptr;
    UINT_PTR id = 0;
};

// An icon this program put in the notification area; it leaves with its owner.
struct TrayIcon {
    NotifyIconData data;
    bool added = false;

    TrayIcon() = default;
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon();
};

struct State {
    State(HINSTANCE instance, const Options& options);
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void send(const Event& event);
    WindowRecord* window(Handle handle);
    WindowRecord* window(HWND hwnd) { return window(asHandle(hwnd)); }
    ControlRecord* control(Handle handle);
    ControlRecord* control(HWND hwnd) { return control(asHandle(hwnd)); }
    // The control of that window with that id; IDOK and IDCANCEL name its default and cancel buttons.
    ControlRecord* controlById(HWND topLevel, int id);
    // Handles for what has no native window (shapes, lines, timers), far above any HWND.
    Handle newSyntheticHandle();

    HINSTANCE instance;
    Options options;
    EventSink* sink = nullptr;
    int dpi = 96;  // the screen's as the program started, which twips follow
    double twipsPerPixel = 15;
    std::string scalableFace;  // drawn where a design's bitmap face has no size for the density; found once
    UINT anotherInstanceMessage = 0;
    UINT taskbarCreatedMessage = 0;
    // Declared before every window, so each class outlives its windows.
    WindowClass formClass;
    WindowClass paneClass;
    WindowClass hostClass;
    // The hidden window that owns windows without a taskbar button, the clipboard and
    // the messages from other copies of the program.
    OwnedWindow host;
    KernelHandle instanceMutex;
    std::vector<std::string> commands;  // told by later copies, not yet taken
    std::map<Handle, std::unique_ptr<WindowRecord>> windows;
    std::map<Handle, std::unique_ptr<ControlRecord>> controls;
    std::map<Handle, TimerRecord> timers;
    std::map<std::pair<HWND, UINT>, TrayIcon> trayIcons;
    std::map<Handle, RegKey> openKeys;  // held until the program closes them, or the platform goes
    HotkeyRegistrations hotkeys;        // on the host window, by the program's ids
    Handle lastSynthetic = 0;
    int nextControlId = 100;
    UINT_PTR nextTimerId = 1;
    int programmaticMoves = 0;         // while above 0, moves are the program's own, not the person's
    int programmaticText = 0;          // while above 0, text that changes is the program's own
    bool watchingTray = false;         // between watchNotificationArea and its answer
    std::optional<Point> pointerTold;  // the place last reported
    std::unique_ptr<PointerWatch, PointerWatchDeleter> pointerWatch;  // while the pointer is watched
    std::unique_ptr<Annotations, AnnotationsDeleter> annotations;     // made for the first name or description
};

// While one lives, what changes is the program's own doing, not the person's.
class ProgramsOwn {
public:
    explicit ProgramsOwn(int& depth) : depth_(depth) { ++depth_; }
    ~ProgramsOwn() { --depth_; }
    ProgramsOwn(const ProgramsOwn&) = delete;
    ProgramsOwn& operator=(const ProgramsOwn&) = delete;

private:
    int& depth_;
};

// The host window's one-shot timer that ends a watch for the notification area.
inline constexpr UINT_PTR kTrayWaitTimer = 1;

// A label with a tab stop is a link: a SysLink, which screen readers announce as a link.
inline bool isLink(const ControlSpec& spec) { return spec.kind == ControlKind::Label && spec.tabIndex >= 0; }

// A picture box with a tab stop takes the keyboard: its keys go to the program.
inline bool takesKeys(const ControlSpec& spec) { return spec.kind == ControlKind::PictureBox && spec.tabIndex >= 0; }

// Controls whose window text no one sees: a picture box paints its picture, a slider
// its track, a hotkey box its key.
inline bool showsNoText(ControlKind kind) {
    return kind == ControlKind::PictureBox || kind == ControlKind::Slider || kind == ControlKind::HotkeyBox;
}

// Such a control, or a label without text, carries its name as its window text: the
// label is owner-drawn and paints only its colour.
inline bool namedByText(const ControlSpec& spec) {
    return !spec.accessibleName.empty() && spec.text.empty() &&
           (showsNoText(spec.kind) || (spec.kind == ControlKind::Label && !isLink(spec)));
}

// A window without a frame is never activated, and has no taskbar button: the reading ruler.
inline bool neverActivated(const WindowSpec& spec) { return spec.border == BorderStyle::None; }

template <class Role>
using OnState = RoleOnState<State, Role>;

// Wine stands in for Windows here and there differs (no raw input under Xvfb, its own tray).
bool runningOnWine();

// The roles, each over the one state.
std::unique_ptr<Windows> makeWindows(State& state);
std::unique_ptr<Controls> makeControls(State& state);
std::unique_ptr<Dialogs> makeDialogs(State& state);
std::unique_ptr<Desktop> makeDesktop(State& state);
std::unique_ptr<NativeCalls> makeNative(State& state);
std::unique_ptr<Input> makeInput(State& state);
std::unique_ptr<ScreenFilter> makeFilter(State& state);

// The outer rectangle; a minimised window's is where it comes back to (window.cpp).
Rect outerRect(HWND hwnd);
// The program counts in pixels of the screen it started on. A window on a screen of
// another density shows each of those pixels over zoom of its own: its controls are
// placed, its size told and the pointer reported through it (state.cpp).
double zoomOf(State& state, HWND topLevel);
// Where the pointer's latest move took it, once kPointerPlace arrives; none when not watched (input.cpp).
std::optional<Point> takePointerPlace(State& state);
Rect zoomed(const Rect& r, double zoom);
// The outer rectangle in the program's pixels: its place as it is, its size unzoomed.
Rect programRect(State& state, HWND hwnd);
// Reports Resize when a window's outer size changed since it was last reported (events.cpp).
void reportResize(State& state, HWND hwnd);
// A click from a control's own procedure, which the system called.
void reportClick(State& state, HWND hwnd);
// Shift, Ctrl and Alt as the mouse reports them, for a key.
int keyShiftMask();
bool windowsKeyHeld();
// Every window class of ours has this procedure (events.cpp); the subclassed controls
// take the others, with the state as their reference data (subclass.cpp).
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR state);
LRESULT CALLBACK linkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR state);
LRESULT CALLBACK labelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR state);
LRESULT CALLBACK hotkeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR state);
std::string windowText(HWND hwnd);
// A whole-number box keeps what it holds when that is one up to its maximum, and
// otherwise goes back to what it held last, however the text came in: false then (state.cpp).
bool keepWholeNumber(ControlRecord& record);
// Makes the control's font at its window's density and gives it to the control (control.cpp).
void applyFont(State& state, ControlRecord& record);
// A label's text, laid out alike on every system, drawn with the colours its parent gives (paint.cpp).
void paintLabel(State& state, HWND label, HDC dc);
// A hotkey box's key as portable text, empty for none, and the key it shows (control.cpp).
std::string hotkeyBoxText(HWND box);
void setHotkeyBox(State& state, ControlRecord& record, const std::string& text);
// Screen readers (accessible.cpp): a new native control's name and description,
// a description that changed, and a control whose window is about to go.
void announce(State& state, const ControlRecord& record);
void describe(State& state, const ControlRecord& record);
void nameByLabel(const ControlRecord& label, const ControlRecord& control);
void forgetAnnotations(State& state, const ControlRecord& record);
// One WM_PAINT of a window or pane, with the shapes and lines it holds (paint.cpp).
void paint(State& state, HWND hwnd);
// Adds every icon again, once a new notification area has appeared (native.cpp).
void readdTrayIcons(State& state);
// Ends a watch for the notification area, telling whether it came (desktop.cpp).
void endTrayWatch(State& state, bool appeared);

}  // namespace velmora::platform::win32
