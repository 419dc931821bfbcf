#include "platform/qt/autostart.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace velmora::platform::qt::autostart {

namespace {
const QString kFileName = QStringLiteral("velmora.desktop");
// Lets us tell our own entry from one the person made.
const QString kMark = QStringLiteral("X-Velmora-Autostart=true");

// The escapes of a string value in a desktop entry.
QString escapedString(const QString& text) {
    QString value;
    for (const QChar c : text) {
        if (c == '\\') {
            value += QStringLiteral("\\\\");
        } else if (c == '\n') {
            value += QStringLiteral("\\n");
        } else if (c == '\t') {
            value += QStringLiteral("\\t");
        } else if (c == '\r') {
            value += QStringLiteral("\\r");
        } else {
            value += c;
        }
    }
    return value;
}
}  // namespace

QString execArgument(const QString& path) {
    // Inside double quotes these four need a backslash.
    QString quoted;
    for (const QChar c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted = '"' + quoted + '"';
    // Field codes start with %, and the value as a whole is an escaped string.
    quoted.replace('%', QStringLiteral("%%"));
    return escapedString(quoted);
}

QString entryText(const QString& exePath) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Velmora\n"
               "Comment=Coloured reading overlay\n"
               "Exec=%1\n"
               // Once the program is gone, the desktop skips the entry.
               "TryExec=%3\n"
               "Icon=velmora\n"
               "Terminal=false\n"
               "%2\n")
        .arg(execArgument(exePath), kMark, escapedString(exePath));
}

bool write(const QString& folder, const QString& exePath) {
    if (!QDir().mkpath(folder)) return false;
    QSaveFile file(folder + '/' + kFileName);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(entryText(exePath).toUtf8());
    return file.commit();
}

bool remove(const QString& folder) {
    QFile file(folder + '/' + kFileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    bool ours = false;
    // An entry is a few lines; anything far larger is not one we wrote.
    for (int lines = 0; lines < 100 && !file.atEnd(); ++lines) {
        if (QString::fromUtf8(file.readLine(4096)).trimmed() == kMark) {
            ours = true;
            break;
        }
    }
    file.close();
    return ours && file.remove();
}

}  // namespace velmora::platform::qt::autostart
