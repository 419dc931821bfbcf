// The platform on user32, gdi32, shell32, kernel32 and advapi32. Windows and
// the controls that take input are native windows; shapes and lines are painted
// by the window or container that holds them. Events go up to the sink
// synchronously from the window procedure.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/types.h"
#include "platform/win32/handles.h"
#include "platform/win32/image.h"

namespace velmora::platform::win32 {

// The per-user store where the classic settings functions of Windows programs keep
// their values: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>,
// one REG_SZ value per key.
class RegistryStore : public SettingsStore {
public:
    std::string get(const std::string& app, const std::string& section, const std::string& key) override;
    bool save(const std::string& app, const std::string& section, const std::string& key,
              const std::string& value) override;

    static std::string keyPath(const std::string& app, const std::string& section);
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

// Reads a text value of an open key; none when absent or not text.
std::optional<std::string> readText(HKEY key, const char* name);

// The registry key and value that start the program at login.
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Velmora";

// Window classes, which another copy of the program and the tests look for.
inline constexpr const char* kFormClass = "VelmoraForm";
inline constexpr const char* kPaneClass = "VelmoraPane";
inline constexpr const char* kHostClass = "VelmoraHost";
// Posted by a second start of the program to the first one's host window.
inline constexpr const char* kAnotherInstanceMessage = "Velmora.AnotherInstance";

class Win32Platform : public Platform {
public:
    explicit Win32Platform(HINSTANCE instance);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    void setSink(EventSink* sink) override { sink_ = sink; }
    int run() override;
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

    Size screenSize() override;
    double twipsPerPixel() override { return twipsPerPixel_; }
    std::vector<Rect> workAreas() override;

    std::string exePath() override;
    std::string environment(const std::string& name) override;
    bool fileExists(const std::string& path) override;
    bool startProgram(const std::string& path, int showStyle) override;

    SettingsStore& settings() override { return store_; }

    bool becomePrimaryInstance() override;
    bool notificationAreaAvailable() override;
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

    // The hidden window that owns windows without a taskbar button, the clipboard and
    // the messages from other copies of the program.
    HWND host() const { return host_.get(); }

private:
    struct WindowRecord;
    struct ControlRecord;
    struct TimerRecord {
        HWND window = nullptr;
        UINT_PTR id = 0;
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK linkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleHostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool handleCommon(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void handleCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    void handlePictureMouse(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void handleSize(HWND hwnd);
    void paint(HWND hwnd);
    void paintWindowless(HWND parent, HDC dc);
    HBRUSH backBrushOf(HWND hwnd);
    void send(const Event& event);

    WindowRecord* window(Handle handle);
    WindowRecord* window(HWND hwnd) { return window(reinterpret_cast<Handle>(hwnd)); }
    ControlRecord* control(Handle handle);
    ControlRecord* control(HWND hwnd) { return control(reinterpret_cast<Handle>(hwnd)); }
    ControlRecord* controlById(HWND topLevel, int id);
    HWND topLevelOf(HWND hwnd) const;
    HWND parentWindowOf(Handle parent) const;
    void placeInTabOrder(const ControlRecord& record);
    void invalidateWindowless(const ControlRecord& record);
    void applyFont(ControlRecord& record);
    Rect iconicAwareRect(HWND hwnd) const;
    void readdTrayIcons();

    HINSTANCE instance_;
    EventSink* sink_ = nullptr;
    RegistryStore store_;
    double twipsPerPixel_ = 15;
    int dpi_ = 96;
    UINT anotherInstanceMessage_ = 0;
    UINT taskbarCreatedMessage_ = 0;
    // Declared before every window, so each class outlives its windows.
    WindowClass formClass_;
    WindowClass paneClass_;
    WindowClass hostClass_;
    OwnedWindow host_;
    KernelHandle instanceMutex_;
    std::map<Handle, std::unique_ptr<WindowRecord>> windows_;
    std::map<Handle, std::unique_ptr<ControlRecord>> controls_;
    std::map<Handle, TimerRecord> timers_;
    std::map<std::pair<HWND, UINT>, std::unique_ptr<TrayIcon>> trayIcons_;
    std::map<Handle, RegKey> openKeys_;
    Handle nextSynthetic_ = 0;
    int nextControlId_ = 100;
    UINT_PTR nextTimerId_ = 1;
    int programmaticMoves_ = 0;
};

}  // namespace velmora::platform::win32
