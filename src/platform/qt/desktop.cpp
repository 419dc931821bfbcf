// The desktop on Qt: screens at the desktop's own density, the clipboard, the
// notification area as Qt finds it, one running copy per user (instance.h),
// the freedesktop login entry (autostart.h), and programs started without a shell.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QScreen>
#include <algorithm>

#include "platform/qt/autostart.h"
#include "platform/qt/instance.h"
#include "platform/qt/state.h"

namespace velmora::platform::qt {

namespace {

Rect toRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// A rectangle of every screen, the primary screen's first.
std::vector<Rect> primaryFirst(QRect (QScreen::*rectOf)() const) {
    std::vector<Rect> rects;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) rects.push_back(toRect((primary->*rectOf)()));
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) rects.push_back(toRect((screen->*rectOf)()));
    }
    return rects;
}

// How often a late notification area is looked for: soon enough that the icon
// seems to dock at once, rarely enough to cost nothing.
constexpr int kTrayLookMs = 200;

class QtDesktop final : public Desktop {
public:
    explicit QtDesktop(State& state)
        : s_(state), autostartFolder_(toQString(state.configHome) + "/autostart"), instance_(runtimeFolder(), [&state] {
              state.report({EventKind::AnotherInstance, 0});
          }) {
        trayWatch_.setInterval(kTrayLookMs);
        QObject::connect(&trayWatch_, &QTimer::timeout, &trayWatch_, [this] { lookForNotificationArea(); });
    }

    Size screenSize() override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen == nullptr) return {};
        return {screen->geometry().width(), screen->geometry().height()};
    }

    double deviceScale() override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen == nullptr ? 1 : std::max(1.0, screen->devicePixelRatio());
    }

    double twipsPerPixel() override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen == nullptr ? 0 : screen->logicalDotsPerInchX();
        return dpi > 0 ? 1440.0 / dpi : 15.0;
    }

    std::vector<Rect> workAreas() override { return primaryFirst(&QScreen::availableGeometry); }

    Rect desktopArea() override {
        QRect all;
        for (const QScreen* screen : QGuiApplication::screens()) all |= screen->geometry();
        return toRect(all);
    }

    std::vector<Rect> screens() override { return primaryFirst(&QScreen::geometry); }

    void clipboardClear() override { QGuiApplication::clipboard()->clear(); }
    void clipboardSetText(const std::string& text) override { QGuiApplication::clipboard()->setText(toQString(text)); }

    bool notificationAreaAvailable() override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    bool waylandSessionThroughXWayland() override {
        return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && QGuiApplication::platformName() == "xcb";
    }

    // Asked once at start; looks a few times a second until the area comes or
    // the patience runs out, and not at all before or after.
    void watchNotificationArea() override {
        if (trayWatch_.isActive()) return;
        if (QSystemTrayIcon::isSystemTrayAvailable()) return s_.report({EventKind::NotificationAreaAppeared, 0});
        if (s_.notificationAreaPatienceMs <= 0) return s_.report({EventKind::NotificationAreaAbsent, 0});
        trayWaited_.start();
        trayWatch_.start();
    }

    bool becomePrimaryInstance(const std::string& command) override { return instance_.becomePrimary(command); }
    std::vector<std::string> takeCommands() override { return instance_.takeCommands(); }
    void leavePrimaryInstance() override { instance_.leave(); }
    bool writeStartupEntry(const std::string& exePath) override {
        return autostart::write(autostartFolder_, toQString(exePath));
    }
    bool removeStartupEntry() override { return autostart::remove(autostartFolder_); }

    std::string exePath() override { return QCoreApplication::applicationFilePath().toStdString(); }

    bool fileExists(const std::string& path) override {
        if (path.empty()) return false;
        const QFileInfo info(toQString(path));
        return info.exists() && !info.isDir();
    }

    // The show style has no meaning here: the program shows its own windows.
    bool startProgram(const std::string& path, int) override {
        // The program alone, never through a shell: a path is not a command line.
        return !path.empty() && QProcess::startDetached(toQString(path), {});
    }

private:
    void lookForNotificationArea() {
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            trayWatch_.stop();
            s_.report({EventKind::NotificationAreaAppeared, 0});
        } else if (trayWaited_.hasExpired(s_.notificationAreaPatienceMs)) {
            trayWatch_.stop();
            s_.report({EventKind::NotificationAreaAbsent, 0});
        }
    }

    State& s_;
    QTimer trayWatch_;
    QElapsedTimer trayWaited_;
    const QString autostartFolder_;
    SingleInstance instance_;
};

}  // namespace

std::unique_ptr<Desktop> makeDesktop(State& state) { return std::make_unique<QtDesktop>(state); }

}  // namespace velmora::platform::qt
