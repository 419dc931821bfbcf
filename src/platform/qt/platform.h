// The Linux program's platform on Qt 6 Widgets. A QApplication must exist
// before one is made and outlive it.
#pragma once

#include <string>

#include "platform/backend.h"
#include "platform/qt/state.h"
#include "platform/qt/store.h"

class QWidget;
class QSystemTrayIcon;

namespace velmora::platform::qt {

struct QtRoles : BackendRoles<State> {
    IniStore store{state.configHome};
};

class QtPlatform : private QtRoles, public Platform {
public:
    QtPlatform();

    // What a window or control is made of, for tests; null when gone.
    QWidget* widget(Handle handle) const;
    // The live window made from the window named so, or 0.
    Handle windowNamed(const std::string& name) const;
    QSystemTrayIcon* trayIcon(Handle window, unsigned id) const;
    int trayIconCount() const { return static_cast<int>(state.trays.size()); }
    // How long a start waits for a notification area that is not there yet.
    void setNotificationAreaPatience(int ms) { state.notificationAreaPatienceMs = ms; }
    // The folder the store and the login entry live under ($XDG_CONFIG_HOME).
    const std::string& configHome() const { return state.configHome; }
};

}  // namespace velmora::platform::qt
