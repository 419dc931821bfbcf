#include "platform/qt/platform.h"

namespace velmora::platform::qt {

QtPlatform::QtPlatform()
    : Platform(*windowsRole, *controlsRole, *dialogsRole, *desktopRole, *nativeRole, *inputRole, *filterRole, store) {}

QWidget* QtPlatform::widget(Handle handle) const {
    if (WindowWidget* w = state.window(handle)) return w;
    const auto it = state.controls.find(handle);
    return it == state.controls.end() ? nullptr : it->second.widget.data();
}

Handle QtPlatform::windowNamed(const std::string& name) const {
    for (const auto& [h, w] : state.windows) {
        if (w.widget && w.widget->objectName() == toQString(name)) return h;
    }
    return 0;
}

QSystemTrayIcon* QtPlatform::trayIcon(Handle window, unsigned id) const {
    const auto it = state.trays.find({window, id});
    return it == state.trays.end() ? nullptr : it->second.get();
}

}  // namespace velmora::platform::qt
