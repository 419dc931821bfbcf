// The program's own icon, drawn in code: a page of text under a tinted band.
#pragma once

#include <QIcon>
#include <QImage>

namespace velmora::platform::qt {

QImage drawProgramIcon(int size);
// The icon at the usual sizes.
QIcon programIcon();

}  // namespace velmora::platform::qt
