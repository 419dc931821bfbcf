// What the Qt platform's roles share: the widget behind every handle, the
// timers, icons and notification icons, and the sink they all report to.
// Handles are our own numbers, never winId(), which changes when Qt re-creates
// a native window.
#pragma once

#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/widgets.h"

namespace velmora::platform::qt {

struct State final : Reporter {
    struct Window {
        QPointer<WindowWidget> widget;
        std::vector<std::pair<int, QPointer<QWidget>>> tabStops;  // by tab index
    };
    // What a control's caption was last fitted to.
    struct Fitted {
        QSize size{-1, -1};
        QString text;
        QFont font;
    };
    struct Control {
        QPointer<QWidget> widget;
        ControlSpec spec;
        Handle window = 0;
        Handle dc = 0;
        QPoint origin;     // where the container's client area starts
        qreal points = 0;  // the designed font size, the most a text is shown at
        Fitted fitted;
    };
    struct Timer {
        QPointer<QTimer> timer;
        Handle window = 0;
    };

    State();
    ~State() override;
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void report(const Event& event) override;
    Handle newHandle() { return next += 4; }
    // Deleted once the event that asked for it has unwound: a window may be
    // destroyed from inside its own close or click handler.
    void retire(QObject* object);

    WindowWidget* window(Handle handle) const;
    Control* control(Handle handle);
    template <class T>
    T* controlAs(Handle handle) {
        Control* c = control(handle);
        return c == nullptr ? nullptr : dynamic_cast<T*>(c->widget.data());
    }

    EventSink* sink = nullptr;
    Handle next = 0x1000;
    // Where the store and the login entry live ($XDG_CONFIG_HOME), fixed at start.
    const std::string configHome;
    std::map<Handle, Window> windows;
    std::map<Handle, Control> controls;
    std::map<Handle, Handle> dcs;  // picture DC -> its control
    std::map<Handle, Timer> timers;
    std::map<Handle, QIcon> icons;  // IDI_APPLICATION is the program's own
    std::map<std::pair<Handle, unsigned>, std::unique_ptr<QSystemTrayIcon>> trays;  // by window and id
    std::map<Handle, QString> openKeys;  // registry keys, with the one value each answers
    std::vector<QPointer<QObject>> retired;
    // How long a missing notification area is waited for; tests without one make it 0.
    int notificationAreaPatienceMs = 5000;
};

// Each role over the one state, made in the file of its concern.
std::unique_ptr<Windows> makeWindows(State&);
std::unique_ptr<Controls> makeControls(State&);
std::unique_ptr<Dialogs> makeDialogs(State&);
std::unique_ptr<Desktop> makeDesktop(State&);
std::unique_ptr<NativeCalls> makeNative(State&);
std::unique_ptr<Input> makeInput(State&);
std::unique_ptr<ScreenFilter> makeFilter(State&);

}  // namespace velmora::platform::qt
