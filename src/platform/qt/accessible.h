// Screen readers' view of the program's own widgets.
#pragma once

class QObject;

namespace velmora::platform::qt {

// Once a QApplication exists; asking again changes nothing.
void installAccessibleInterfaces();
// Once a widget is built and set up, so that the next asker gets the right interface.
void forgetAccessibleInterface(QObject* object);

}  // namespace velmora::platform::qt
