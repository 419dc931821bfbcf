// A headless platform that keeps real state: windows, controls, z-order, the
// notification area, the clipboard, message boxes and the store live here as
// plain data, and the native calls are logged with their arguments. Tests
// inject events and queue the answers of modal boxes and popup menus.
#pragma once

#include "platform/backend.h"
#include "platform/sim/state.h"
#include "platform/sim/store.h"

namespace velmora::platform::sim {

struct SimRoles : BackendRoles<State> {
    MemoryStore store;
};

class SimPlatform : private SimRoles, public Platform {
public:
    SimPlatform();

    using SimRoles::store;

    // ---- configuration ----
    // The primary screen's size and every screen's work area, primary first; the
    // desktop is the union of the primary screen and the work areas.
    void setScreen(Size size, double twipsPerPixel, std::vector<Rect> workAreas);
    void setExePath(std::string path) { state.exePath = std::move(path); }
    void addFile(const std::string& path);
    void setRegistryValue(const std::string& localMachineKey, const std::string& name, unsigned type, std::string data);
    void setStartProgramSucceeds(bool succeeds) { state.startSucceeds = succeeds; }
    void setNotificationAreaAvailable(bool available) { state.trayAvailable = available; }
    void setWaylandSessionThroughXWayland(bool wayland) { state.waylandSession = wayland; }
    // No notification area yet: a watch waits until notificationAreaAppears or
    // notificationAreaWaitEnds, as a panel starting late at login would.
    void setNotificationAreaLate();
    void notificationAreaAppears();
    void notificationAreaWaitEnds();
    // Another copy of the program is running: becomePrimaryInstance says no.
    void setAnotherInstanceRunning(bool running) { state.anotherInstance = running; }
    void setStartupEntryWritable(bool writable) { state.startupEntryWritable = writable; }
    // The next call of that kind fails as the Win32 function fails.
    void failNextCall(Call call) { state.failing.insert(call); }

    // ---- state ----
    SimWindow* window(Handle handle) { return state.window(handle); }
    // The live window made from the window named so, or null.
    SimWindow* windowNamed(const std::string& name);
    SimControl* control(Handle handle) { return state.control(handle); }
    SimControl* control(const std::string& windowName, const std::string& controlName);
    const std::vector<Rect>& screens() const { return state.screens; }
    const std::vector<Handle>& zOrder() const { return state.zOrder; }  // front first
    bool isAbove(Handle upper, Handle lower) const;
    std::vector<NativeCall> callsOf(Call call) const;
    void clearCalls() { state.calls.clear(); }
    const std::vector<SimMessageBox>& messageBoxes() const { return state.messageBoxes; }
    const std::vector<SimMenu>& menus() const { return state.menus; }
    const std::optional<std::string>& clipboard() const { return state.clipboard; }
    // Icons in the notification area, keyed by window and id.
    const std::map<std::pair<Handle, unsigned>, NotifyIconData>& trayIcons() const { return state.trayIcons; }
    const std::vector<std::pair<std::string, int>>& startedPrograms() const { return state.started; }
    // The start-at-login entry as written, or none.
    const std::optional<std::string>& startupEntry() const { return state.startupEntry; }
    void setStartupEntry(std::optional<std::string> entry) { state.startupEntry = std::move(entry); }
    bool quitRequested() const { return state.quitRequested; }
    int quitCode() const { return state.quitCode; }
    long long now() const { return state.now; }
    int liveTimers() const { return static_cast<int>(state.timers.size()); }

    // ---- events, delivered at once as the platform would ----
    void click(Handle control);
    void click(const std::string& windowName, const std::string& controlName);
    // A person typing: the text changes, no click. In a hotkey box, the key's text.
    void typeText(Handle control, const std::string& text);
    // A person moving a slider; it stays within its range.
    void slide(Handle control, int value);
    // A person chooses a list box's entry.
    void chooseInList(Handle control, int index);
    // A hotkey pressed anywhere on the desktop: it reaches the program only while registered.
    void pressHotkey(const std::string& text);
    void holdHotkeyElsewhere(const std::string& text);
    void makeHotkeyImpossible(const std::string& text);
    const std::optional<Gains>& screenGains() const { return state.screenGains; }
    void setFilterUnavailable(std::string reason) { state.filterUnavailable = std::move(reason); }
    Handle activeWindow() const { return state.active; }  // 0: another program's window
    bool primaryInstance() const { return state.primaryInstance; }
    // The pointer moves; reported at once while the program watches it.
    void movePointer(std::optional<Point> at);
    void setPointerWatchUnavailable() { state.pointerWatchable = false; }
    bool watchingPointer() const { return state.watchingPointer; }
    const std::map<int, Hotkey>& hotkeys() const { return state.hotkeys; }
    void mouseDown(Handle control, int button, int shift, int x, int y);
    void mouseMove(Handle target, int button, int shift, int x, int y);
    void requestClose(Handle window);
    // Escape in a window: its cancel button, or a close request where Escape closes it.
    void pressEscape(Handle window);
    void keyDown(Handle control, unsigned key, int shift = 0);
    void userResize(Handle window, int width, int height);
    void userMove(Handle window, int left, int top);
    void minimise(Handle window);
    // Runs every timer that falls due within the next ms milliseconds, in order.
    void advance(int ms);
    void notifyIconCallback(Handle window, unsigned mouseMessage);
    // A second start of the program, as the running copy sees it.
    void anotherInstanceStarted(const std::string& command = "show");

    // ---- answers for modal boxes and menus (default: OK, and a dismissed menu) ----
    void queueMessageBoxAnswer(int answer);
    // Runs while the box is "open": it may inject events, as a person could.
    void queueMessageBoxAction(std::function<int(const SimMessageBox&)> action);
    void queueMenuChoice(std::optional<int> index);
    // The entry of that caption, in a submenu or not.
    void queueMenuChoiceNamed(const std::string& caption);
};

}  // namespace velmora::platform::sim
