// Screen readers' view of the program's own widgets.
#pragma once

namespace velmora::platform::qt {

// Once a QApplication exists; asking again changes nothing.
void installAccessibleInterfaces();

}  // namespace velmora::platform::qt
