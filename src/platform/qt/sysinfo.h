// Linux has no registry. The one value the program looks up there, where the
// system-information tool lives, is answered with the first such tool on PATH.
#pragma once

#include <QString>
#include <QStringList>

namespace velmora::platform::qt {

// Tried in this order; the first found on PATH is the system-information tool.
const QStringList& systemInfoPrograms();
// Its full path, or empty when none is installed.
QString findSystemInfoProgram();

}  // namespace velmora::platform::qt
