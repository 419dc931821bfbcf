// A headless platform that keeps real state: windows, controls, z-order, the
// notification area, the clipboard, message boxes and the store live here as
// plain data, and every native call is logged with its arguments. Tests inject
// events and queue the answers of modal boxes and popup menus.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "platform/types.h"

namespace velmora::platform::sim {

// The frame a border style adds around the client area, in pixels.
struct FrameMetrics {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
FrameMetrics frameOf(BorderStyle border);

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
    int value = 0;
    Handle dc = 0;
    bool alive = true;
};

struct NativeCall {
    std::string name;
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

// An in-memory settings store that counts its writes and can be made to fail them.
class MemoryStore : public SettingsStore {
public:
    std::string get(const std::string& app, const std::string& section, const std::string& key) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;

    // Velmora's own application and section, for tests.
    void set(const std::string& key, const std::string& value);
    std::optional<std::string> value(const std::string& key) const;

    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
    int writes = 0;
    bool failWrites = false;
};

class SimPlatform : public Platform {
public:
    SimPlatform();

    // Platform
    void setSink(EventSink* sink) override { sink_ = sink; }
    int run() override { return quitCode_; }
    void quit(int exitCode) override;
    Handle createWindow(const WindowSpec& spec) override;
    void destroyWindow(Handle window) override;
    Rect windowRect(Handle window) override;
    void setWindowRect(Handle window, const Rect& rect) override;
    Size clientSize(Handle window) override;
    bool isVisible(Handle window) override;
    void setVisible(Handle window, bool visible) override;
    void setCaption(Handle window, const std::string& caption) override;
    void setBackColor(Handle window, Color color) override;
    int windowState(Handle window) override;
    void setWindowState(Handle window, int state) override;
    void bringToFront(Handle window) override;
    Handle windowIcon(Handle window) override;
    Handle createControl(Handle parent, const ControlSpec& spec) override;
    void setControlRect(Handle control, const Rect& rect) override;
    void setControlText(Handle control, const std::string& text) override;
    std::string controlText(Handle control) override;
    void setControlBackColor(Handle control, Color color) override;
    void setCheckValue(Handle control, int value) override;
    int checkValue(Handle control) override;
    Handle pictureDC(Handle control) override;
    Handle createTimer(Handle window, int intervalMs) override;
    void destroyTimer(Handle timer) override;
    std::optional<int> popupMenu(Handle owner, const std::vector<MenuItem>& items) override;
    int messageBox(Handle owner, const std::string& text, const std::string& title) override;
    void clipboardClear() override;
    void clipboardSetText(const std::string& text) override;
    Size screenSize() override { return screen_; }
    double twipsPerPixel() override { return twipsPerPixel_; }
    std::vector<Rect> workAreas() override { return workAreas_; }
    std::string exePath() override { return exePath_; }
    std::string environment(const std::string& name) override;
    bool fileExists(const std::string& path) override;
    bool startProgram(const std::string& path, int showStyle) override;
    SettingsStore& settings() override { return store; }
    bool becomePrimaryInstance() override;
    bool notificationAreaAvailable() override { return trayAvailable_; }
    bool writeStartupEntry(const std::string& exePath) override;
    bool removeStartupEntry() override;
    long getWindowLong(Handle window, int index) override;
    long setWindowLong(Handle window, int index, long value) override;
    bool setLayeredWindowAttributes(Handle window, Color key, std::uint8_t alpha, unsigned flags) override;
    bool setWindowPos(Handle window, Handle insertAfter, int x, int y, int cx, int cy, unsigned flags) override;
    bool setForegroundWindow(Handle window) override;
    bool shellNotifyIcon(unsigned message, const NotifyIconData& data) override;
    Handle shellExecute(Handle owner, const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int show) override;
    Color getPixel(Handle dc, int x, int y) override;
    long regOpenKeyEx(Handle root, const std::string& subKey, unsigned options, unsigned access,
                      Handle& result) override;
    long regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                         unsigned& size) override;
    long regCloseKey(Handle key) override;

    // ---- configuration ----
    void setScreen(Size size, double twipsPerPixel, std::vector<Rect> workAreas);
    void setExePath(std::string path) { exePath_ = std::move(path); }
    void setEnvironment(const std::string& name, const std::string& value) { environment_[name] = value; }
    void addFile(const std::string& path);
    void setRegistryValue(const std::string& localMachineKey, const std::string& name, unsigned type, std::string data);
    void setStartProgramSucceeds(bool succeeds) { startSucceeds_ = succeeds; }
    void setNotificationAreaAvailable(bool available) { trayAvailable_ = available; }
    // Another copy of the program is running: becomePrimaryInstance says no.
    void setAnotherInstanceRunning(bool running) { anotherInstance_ = running; }
    // The next native call of this name raises the error instead of running.
    void failNextCall(const std::string& name, RuntimeError error);

    // ---- state ----
    MemoryStore store;
    SimWindow* window(Handle handle);
    // The live window made from the window named so, or null.
    SimWindow* windowNamed(const std::string& name);
    SimControl* control(Handle handle);
    SimControl* control(const std::string& windowName, const std::string& controlName);
    std::vector<Handle> zOrder() const { return zOrder_; }  // front first
    bool isAbove(Handle upper, Handle lower) const;
    const std::vector<NativeCall>& calls() const { return calls_; }
    std::vector<NativeCall> callsNamed(const std::string& name) const;
    void clearCalls() { calls_.clear(); }
    const std::vector<SimMessageBox>& messageBoxes() const { return messageBoxes_; }
    const std::vector<SimMenu>& menus() const { return menus_; }
    const std::optional<std::string>& clipboard() const { return clipboard_; }
    // Icons in the notification area, keyed by window and id.
    const std::map<std::pair<Handle, unsigned>, NotifyIconData>& trayIcons() const { return trayIcons_; }
    const std::vector<std::pair<std::string, int>>& startedPrograms() const { return started_; }
    // The start-at-login entry as written, or none.
    const std::optional<std::string>& startupEntry() const { return startupEntry_; }
    void setStartupEntry(std::optional<std::string> entry) { startupEntry_ = std::move(entry); }
    bool quitRequested() const { return quitRequested_; }
    int quitCode() const { return quitCode_; }
    long long now() const { return now_; }
    int liveTimers() const;

    // ---- events, delivered at once as the platform would ----
    void click(Handle control);
    void click(const std::string& windowName, const std::string& controlName);
    // A person typing: the text changes, no click.
    void typeText(Handle control, const std::string& text);
    void mouseDown(Handle control, int button, int shift, int x, int y);
    void mouseMove(Handle target, int button, int shift, int x, int y);
    void requestClose(Handle window);
    void userResize(Handle window, int width, int height);
    void userMove(Handle window, int left, int top);
    void minimise(Handle window);
    // Runs every timer that falls due within the next ms milliseconds, in order.
    void advance(int ms);
    void notifyIconCallback(Handle window, unsigned mouseMessage);
    // A second start of the program, as the running copy sees it.
    void anotherInstanceStarted();

    // ---- answers for modal boxes and menus (default: OK, and a dismissed menu) ----
    void queueMessageBoxAnswer(int answer);
    // Runs while the box is "open": it may inject events, as a person could.
    void queueMessageBoxAction(std::function<int(const SimMessageBox&)> action);
    void queueMenuChoice(std::optional<int> index);

private:
    struct Timer {
        Handle handle = 0;
        Handle window = 0;
        int interval = 0;
        long long due = 0;
    };

    Handle newHandle();
    void log(std::string name, std::vector<long long> args, std::vector<std::string> texts = {});
    void raiseIfFailing(const std::string& name);
    void send(const Event& event);
    void applyRect(SimWindow& w, Rect rect, bool notify);
    void toFront(Handle handle);
    Size minimumSize(const SimWindow& w) const;

    EventSink* sink_ = nullptr;
    Handle next_ = 0x1000;
    std::map<Handle, SimWindow> windows_;
    std::map<Handle, SimControl> controls_;
    std::map<Handle, Timer> timers_;
    std::vector<Handle> zOrder_;
    std::vector<NativeCall> calls_;
    std::vector<SimMessageBox> messageBoxes_;
    std::vector<SimMenu> menus_;
    std::deque<std::function<int(const SimMessageBox&)>> boxAnswers_;
    std::deque<std::optional<int>> menuAnswers_;
    std::optional<std::string> clipboard_;
    std::map<std::pair<Handle, unsigned>, NotifyIconData> trayIcons_;
    std::vector<std::pair<std::string, int>> started_;
    std::map<std::string, RuntimeError> failing_;
    std::map<std::string, std::string> environment_;
    std::set<std::string> files_;
    std::map<std::string, std::map<std::string, SimRegistryValue>> registry_;
    std::map<Handle, std::string> openKeys_;
    Size screen_{1024, 768};
    double twipsPerPixel_ = 15;
    std::vector<Rect> workAreas_{{0, 0, 1024, 728}};
    std::string exePath_ = "C:\\Program Files\\Velmora\\velmora.exe";
    long long now_ = 0;
    bool startSucceeds_ = true;
    bool trayAvailable_ = true;
    bool anotherInstance_ = false;
    std::optional<std::string> startupEntry_;
    bool quitRequested_ = false;
    int quitCode_ = 0;
};

}  // namespace velmora::platform::sim
