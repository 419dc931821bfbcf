#include "platform/qt/autostart.h"

#include <unistd.h>

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

// GLib looks the program up by its path before it undoes %%, and skips an entry
// whose program it cannot find: a path with % in it goes through env, which
// every launcher finds and which gets the path with its % restored.
namespace {
QString execLine(const QString& exePath) {
    const QString program = execArgument(exePath);
    return exePath.contains('%') ? QStringLiteral("env ") + program : program;
}
}  // namespace

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
        .arg(execLine(exePath), kMark, escapedString(exePath));
}

// Whole or not at all. QSaveFile alone renames its temporary file over the
// entry even when a full disk swallowed what it had buffered (seen on tmpfs with
// Qt 6.4), so the bytes are flushed and synced, and checked, before the rename.
bool write(const QString& folder, const QString& exePath) {
    if (!QDir().mkpath(folder)) return false;
    QSaveFile file(folder + '/' + kFileName);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray text = entryText(exePath).toUtf8();
    if (file.write(text) != text.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

namespace {
// An entry is ours when it carries our mark, or when it is the beginning of one
// we write and nothing else: what an older version left empty or cut short on a
// full disk. Anything with a line of its own is the person's.
bool ours(const QByteArray& text) {
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& line : lines) {
        if (line.trimmed() == kMark.toUtf8()) return true;
    }
    const QList<QByteArray> expected = entryText(QString()).toUtf8().split('\n');
    if (lines.size() > expected.size()) return false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        // The program's path is the one part that differs from entry to entry.
        const bool path = (expected[i].startsWith("Exec=") && lines[i].startsWith("Exec=")) ||
                          (expected[i].startsWith("TryExec=") && lines[i].startsWith("TryExec="));
        if (!path && (last ? !expected[i].startsWith(lines[i]) : lines[i] != expected[i])) return false;
    }
    return true;
}

// An entry is a few lines; a file far larger is not one we wrote.
constexpr qint64 kLargestEntry = 64 * 1024;
}  // namespace

bool remove(const QString& folder) {
    QFile file(folder + '/' + kFileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = file.read(kLargestEntry + 1);
    file.close();
    return text.size() <= kLargestEntry && ours(text) && file.remove();
}

}  // namespace velmora::platform::qt::autostart
