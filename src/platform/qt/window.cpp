// Windows, their timers and the event loop on Qt. Each window is a
// WindowWidget with its controls placed absolutely inside it; one that is
// destroyed is hidden at once and deleted once the event that asked has unwound.
#include <QApplication>

#include "platform/qt/state.h"
#include "platform/qt/x11.h"
#include "platform/winapi.h"

namespace velmora::platform::qt {

namespace {

Qt::WindowFlags flagsFor(const WindowSpec& spec) {
    // No frame, no caption, no taskbar button, and never the keyboard's: the ruler's panes.
    if (spec.border == BorderStyle::None) return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    Qt::WindowFlags flags = spec.border == BorderStyle::FixedDialog ? Qt::Dialog : Qt::Window;
    // Without a taskbar button: a tool window, which desktops keep off the taskbar.
    if (!spec.showInTaskbar) flags = Qt::Tool;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (spec.border == BorderStyle::Sizable) {
        if (spec.minButton) flags |= Qt::WindowMinimizeButtonHint;
        if (spec.maxButton) flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

// A timer may be destroyed from inside its own tick: it stops now and goes later.
void retireTimer(State& s, const State::Timer& t) {
    if (t.timer) t.timer->stop();
    s.retire(t.timer);
}

class QtWindows final : public Windows {
public:
    explicit QtWindows(State& state) : s_(state) {
        // The overlay is often the only window and often hidden: closing a
        // message box must not end the program.
        QApplication::setQuitOnLastWindowClosed(false);
        if (frameWatch_) QCoreApplication::instance()->installNativeEventFilter(frameWatch_.get());
    }
    ~QtWindows() override {
        if (frameWatch_) QCoreApplication::instance()->removeNativeEventFilter(frameWatch_.get());
    }
    QtWindows(const QtWindows&) = delete;
    QtWindows& operator=(const QtWindows&) = delete;

    void setSink(EventSink* sink) override { s_.sink = sink; }

    int run() override { return quitRequested_ ? exitCode_ : QApplication::exec(); }

    void quit(int exitCode) override {
        quitRequested_ = true;
        exitCode_ = exitCode;
        // Leaves every event loop, a modal box's included.
        QCoreApplication::exit(exitCode);
    }

    Handle createWindow(const WindowSpec& spec) override {
        const Handle h = s_.newHandle();
        auto* w = new WindowWidget(s_, h, spec, flagsFor(spec));
        w->icon = iconOf(spec, *w);
        const QSize client = QSize(spec.clientSize.width, spec.clientSize.height).expandedTo(w->minimumClient());
        if (w->fixedSize()) {
            w->setFixedSize(client);
        } else {
            w->setMinimumSize(w->minimumClient());
            w->resize(client);
        }
        if (spec.clientRect) w->move(spec.clientRect->left, spec.clientRect->top);
        w->reportSizeIfChanged();
        s_.windows[h].widget = w;
        return h;
    }

    void destroyWindow(Handle h) override {
        const auto it = s_.windows.find(h);
        if (it == s_.windows.end()) return;
        std::erase_if(s_.timers, [this, h](const auto& t) {
            if (t.second.window != h) return false;
            retireTimer(s_, t.second);
            return true;
        });
        // The control widgets are the window's children and go with it.
        std::erase_if(s_.controls, [this, h](const auto& c) {
            if (c.second.window != h) return false;
            s_.dcs.erase(c.second.dc);
            return true;
        });
        if (WindowWidget* w = it->second.widget) {
            w->hide();
            s_.retire(w);
        }
        s_.windows.erase(it);
    }

    Rect windowRect(Handle h) override {
        const WindowWidget* w = s_.window(h);
        return w == nullptr ? Rect{} : w->outerRect();
    }

    void setWindowRect(Handle h, const Rect& rect) override {
        if (WindowWidget* w = s_.window(h)) w->setOuterRect(rect, w->frameMargins());
    }

    bool isVisible(Handle h) override {
        const WindowWidget* w = s_.window(h);
        return w != nullptr && w->isVisible();
    }

    void setVisible(Handle h, bool visible) override {
        WindowWidget* w = s_.window(h);
        if (w == nullptr) return;
        if (visible) {
            w->show();
            w->raise();
            if (w->showsQuietly()) return;
            // Shown means in front with the keyboard, as a window opened from the menu should be.
            w->activateWindow();
            focusFirstStop(h, *w);
        } else {
            w->hide();
        }
    }

    void showWithoutActivating(Handle h) override {
        WindowWidget* w = s_.window(h);
        if (w == nullptr) return;
        w->setAttribute(Qt::WA_ShowWithoutActivating, true);
        w->show();
        w->raise();
        w->setAttribute(Qt::WA_ShowWithoutActivating, w->showsQuietly());
    }

    void setCaption(Handle h, const std::string& caption) override {
        if (WindowWidget* w = s_.window(h)) w->setWindowTitle(toQString(caption));
    }

    void setBackColor(Handle h, Color color) override {
        if (WindowWidget* w = s_.window(h)) w->setBackColor(color);
    }

    int windowState(Handle h) override {
        const WindowWidget* w = s_.window(h);
        if (w == nullptr) return 0;
        if (w->isMinimized()) return 1;
        if (w->isMaximized()) return 2;
        return 0;
    }

    void setWindowState(Handle h, int state) override {
        WindowWidget* w = s_.window(h);
        if (w == nullptr) return;
        Qt::WindowStates states = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (state == 1) states |= Qt::WindowMinimized;
        if (state == 2) states |= Qt::WindowMaximized;
        w->setWindowState(states);
    }

    void bringToFront(Handle h) override {
        if (WindowWidget* w = s_.window(h)) w->raise();
    }

    Handle windowIcon(Handle h) override {
        const WindowWidget* w = s_.window(h);
        return w == nullptr ? 0 : w->icon;
    }

    Handle createTimer(Handle window, int intervalMs) override {
        if (s_.window(window) == nullptr) return 0;
        const Handle h = s_.newHandle();
        auto* timer = new QTimer;
        timer->setInterval(intervalMs);
        QObject::connect(timer, &QTimer::timeout, timer, [&s = s_, h] { s.report({EventKind::TimerTick, h}); });
        timer->start();
        s_.timers[h] = {timer, window};
        return h;
    }

    void destroyTimer(Handle h) override {
        const auto it = s_.timers.find(h);
        if (it == s_.timers.end()) return;
        retireTimer(s_, it->second);
        s_.timers.erase(it);
    }

private:
    // A window the keyboard has not been in yet starts at its first tab stop, with
    // the mark Qt's styles show only after a Tab, so a person sees where it is.
    void focusFirstStop(Handle h, WindowWidget& w) {
        w.setAttribute(Qt::WA_KeyboardFocusChange);
        if (w.focusWidget() != nullptr) return;
        for (const auto& stop : s_.windows[h].tabStops) {
            QWidget* c = stop.second;
            if (c != nullptr && c->isEnabled() && c->isVisibleTo(&w) && (c->focusPolicy() & Qt::TabFocus) != 0) {
                c->setFocus(Qt::TabFocusReason);
                return;
            }
        }
    }

    // The window's own icon in every size drawn, or the program's.
    Handle iconOf(const WindowSpec& spec, WindowWidget& w) {
        if (spec.icons.empty()) return win::IDI_APPLICATION;
        QIcon icon;
        for (const Image& image : spec.icons) icon.addPixmap(QPixmap::fromImage(toQImage(image)));
        w.setWindowIcon(icon);
        const Handle h = s_.newHandle();
        s_.icons[h] = icon;
        return h;
    }

    State& s_;
    const std::unique_ptr<QAbstractNativeEventFilter> frameWatch_ = watchFrameExtents();
    bool quitRequested_ = false;
    int exitCode_ = 0;
};

}  // namespace

std::unique_ptr<Windows> makeWindows(State& state) { return std::make_unique<QtWindows>(state); }

}  // namespace velmora::platform::qt
