// The Linux program's platform on Qt 6 Widgets. A QApplication must exist
// before one is made and outlive it.
#pragma once

#include <memory>
#include <string>

#include "platform/types.h"

class QWidget;
class QSystemTrayIcon;

namespace velmora::platform::qt {

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    void setSink(EventSink* sink) override;
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
    double twipsPerPixel() override;
    std::vector<Rect> workAreas() override;

    std::string exePath() override;
    std::string environment(const std::string& name) override;
    bool fileExists(const std::string& path) override;
    bool startProgram(const std::string& path, int showStyle) override;

    SettingsStore& settings() override;

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

    // What a window or control is made of, for tests; null when gone.
    QWidget* widget(Handle handle) const;
    // The live window made from the window named so, or 0.
    Handle windowNamed(const std::string& name) const;
    QSystemTrayIcon* trayIcon(Handle window, unsigned id) const;
    int trayIconCount() const;
    // The folder the store and the login entry live under ($XDG_CONFIG_HOME).
    std::string configHome() const;

private:
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace velmora::platform::qt
