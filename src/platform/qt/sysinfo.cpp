#include "platform/qt/sysinfo.h"

#include <QStandardPaths>

namespace velmora::platform::qt {

const QStringList& systemInfoPrograms() {
    static const QStringList programs = {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"};
    return programs;
}

QString findSystemInfoProgram() {
    for (const QString& name : systemInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path;
    }
    return {};
}

}  // namespace velmora::platform::qt
