// The login entry on Linux: a freedesktop autostart file,
// $XDG_CONFIG_HOME/autostart/velmora.desktop.
#pragma once

#include <QString>

namespace velmora::platform::qt::autostart {

// A path as one argument of a desktop entry's Exec key, quoted and escaped.
QString execArgument(const QString& path);
// The whole entry that starts the program at path.
QString entryText(const QString& exePath);

// folder is the autostart folder itself.
bool write(const QString& folder, const QString& exePath);
// Deletes the entry only when it carries our mark; true when it deleted one.
bool remove(const QString& folder);

}  // namespace velmora::platform::qt::autostart
