#include "platform/qt/state.h"

#include <QApplication>

#include "platform/qt/accessible.h"
#include "platform/qt/icon.h"
#include "platform/qt/store.h"
#include "platform/winapi.h"

namespace velmora::platform::qt {

State::State() : configHome(userConfigHome()) {
    icons[win::IDI_APPLICATION] = programIcon();
    QApplication::setWindowIcon(icons[win::IDI_APPLICATION]);
    installAccessibleInterfaces();
}

// Icons leave the notification area first, then timers and windows go before
// the application does.
State::~State() {
    trays.clear();
    for (auto& [h, t] : timers) delete t.timer.data();
    for (auto& [h, w] : windows) delete w.widget.data();
    for (auto& dying : retired) delete dying.data();
}

void State::report(const Event& event) {
    if (sink != nullptr) sink->onEvent(event);
}

void State::retire(QObject* object) {
    if (object == nullptr) return;
    object->deleteLater();
    std::erase_if(retired, [](const QPointer<QObject>& p) { return p.isNull(); });
    retired.emplace_back(object);
}

WindowWidget* State::window(Handle handle) const {
    const auto it = windows.find(handle);
    return it == windows.end() ? nullptr : it->second.widget.data();
}

State::Control* State::control(Handle handle) {
    const auto it = controls.find(handle);
    return it == controls.end() || it->second.widget.isNull() ? nullptr : &it->second;
}

}  // namespace velmora::platform::qt
