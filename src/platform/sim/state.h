// What the simulated platform's roles share: windows, controls, timers, the
// notification area, the clipboard, the registry and a log of native calls, as
// plain data a test can read.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace velmora::platform::sim {

// The frame a border style adds around the client area, in pixels.
struct FrameMetrics {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
FrameMetrics frameOf(BorderStyle border);
// The smallest window with a caption, as Windows makes it.
inline constexpr Size kMinimumWindow{136, 39};

struct SimWindow {
    Handle handle = 0;
    WindowSpec spec;
    std::string caption;
    Rect rect;  // outer, pixels
    bool visible = false;
    Color backColor = 0;
    long exStyle = 0;
    bool layered = false;
    Color layeredKey = 0;
    std::uint8_t alpha = 255;
    unsigned layeredFlags = 0;
    bool topmost = false;
    int state = 0;
    bool alive = true;
    Handle icon = 0;
    Size client() const;
};

struct SimControl {
    Handle handle = 0;
    Handle parent = 0;
    Handle window = 0;
    ControlSpec spec;
    Rect rect;
    std::string text;
    Color backColor = 0;
    Color foreColor = 0;
    bool visible = true;
    int value = 0;
    std::string description;  // what a screen reader says beside the name
    Handle dc = 0;
    bool alive = true;
};

// Every call the simulated platform logs, by the name of what it stands for.
enum class Call {
    GetWindowLongA,
    SetWindowLongA,
    SetLayeredWindowAttributes,
    SetWindowPos,
    SetForegroundWindow,
    Shell_NotifyIconA,
    ShellExecuteA,
    GetPixel,
    RegOpenKeyExA,
    RegQueryValueExA,
    RegCloseKey,
    Shell,  // a program started
    BecomePrimaryInstance,
    WriteStartupEntry,
    RemoveStartupEntry,
};

struct NativeCall {
    Call call;
    std::vector<long long> args;
    std::vector<std::string> texts;
};

struct SimMessageBox {
    Handle owner = 0;
    std::string text;
    std::string title;
};

struct SimMenu {
    Handle owner = 0;
    std::vector<MenuItem> items;
};

struct SimRegistryValue {
    unsigned type = 0;
    std::string data;
};

struct State {
    struct Timer {
        Handle handle = 0;
        Handle window = 0;
        int interval = 0;
        long long due = 0;
    };

    Handle newHandle() { return next += 4; }
    void log(Call call, std::vector<long long> args, std::vector<std::string> texts = {});
    // True once when a test asked for this call to fail next.
    bool failsNow(Call call) { return failing.erase(call) != 0; }
    void send(const Event& event);
    SimWindow* window(Handle handle);
    SimControl* control(Handle handle);
    // The live record, or a blank one that a call on a handle that is gone reads
    // and writes to no effect, as the platforms do.
    SimWindow& windowOrBlank(Handle handle);
    SimControl& controlOrBlank(Handle handle);
    // A normal window goes to the front of the normal ones, below every topmost window.
    void toFront(Handle handle);
    // Applies the minimum size of a window with a frame and 16-bit coordinates,
    // then reports what changed.
    void applyRect(SimWindow& w, Rect rect, bool byPerson);

    EventSink* sink = nullptr;
    Handle next = 0x1000;
    std::map<Handle, SimWindow> windows;
    std::map<Handle, SimControl> controls;
    std::map<Handle, Timer> timers;
    std::vector<Handle> zOrder;  // front first
    Handle active = 0;           // the window with the keyboard; 0: another program's
    std::vector<NativeCall> calls;
    std::set<Call> failing;
    std::vector<SimMessageBox> messageBoxes;
    std::vector<SimMenu> menus;
    std::deque<std::function<int(const SimMessageBox&)>> boxAnswers;
    std::deque<std::function<std::optional<int>(const std::vector<MenuItem>&)>> menuAnswers;
    std::optional<std::string> clipboard;
    std::map<std::pair<Handle, unsigned>, NotifyIconData> trayIcons;
    std::vector<std::pair<std::string, int>> started;
    std::set<std::string> files;  // lower case: file names compare without case
    std::map<std::string, std::map<std::string, SimRegistryValue>> registry;
    std::map<Handle, std::string> openKeys;
    Size screen{1024, 768};
    double twipsPerPixel = 15;
    std::vector<Rect> workAreas{{0, 0, 1024, 728}};
    Rect desktopArea{0, 0, 1024, 768};
    std::vector<Rect> screens{{0, 0, 1024, 768}};
    std::map<int, Hotkey> hotkeys;       // registered, by id
    std::vector<Hotkey> heldElsewhere;   // keys another program holds
    std::vector<Hotkey> impossibleKeys;  // keys this desktop gives no program
    std::optional<Point> pointer = Point{512, 384};
    bool pointerWatchable = true;  // the desktop reports pointer moves
    bool watchingPointer = false;
    std::optional<Gains> screenGains;  // none: the screens as they were
    std::string filterUnavailable;     // why this desktop cannot filter; empty: it can
    bool filterRefuses = false;        // the desktop says it can, then does not take the gains
    std::string exePath = "C:\\Program Files\\Velmora\\velmora.exe";
    long long now = 0;
    bool startSucceeds = true;
    bool trayAvailable = true;
    bool trayLate = false;  // an area that comes when the test says so, not at once
    bool watchingTray = false;
    bool waylandSession = false;  // through XWayland: no pointer over others' windows
    bool anotherInstance = false;
    bool primaryInstance = false;       // this copy holds the one running copy's place
    std::vector<std::string> commands;  // told by other copies, not yet taken
    bool startupEntryWritable = true;
    std::optional<std::string> startupEntry;
    bool quitRequested = false;
    int quitCode = 0;

private:
    SimWindow blankWindow_;
    SimControl blankControl_;
};

template <class Role>
using OnState = RoleOnState<State, Role>;

// The roles, each over the one state, in the order of their files.
std::unique_ptr<Controls> makeControls(State& state);
std::unique_ptr<Desktop> makeDesktop(State& state);
std::unique_ptr<Dialogs> makeDialogs(State& state);
std::unique_ptr<Input> makeInput(State& state);
std::unique_ptr<ScreenFilter> makeFilter(State& state);
std::unique_ptr<NativeCalls> makeNative(State& state);
std::unique_ptr<Windows> makeWindows(State& state);

}  // namespace velmora::platform::sim
