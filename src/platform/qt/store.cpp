#include "platform/qt/store.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

namespace velmora::platform::qt {

std::string userConfigHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return xdg.toStdString();
    return (QDir::homePath() + "/.config").toStdString();
}

namespace {
// A name becomes a folder, a file, a group or a key: never a path of its own.
bool plainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// A settings path that is not a regular file (a pipe, a device, a folder) could
// block a read forever or be replaced by a write: it is a store that cannot be used.
bool usableFile(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

QString keyPath(const std::string& section, const std::string& key) {
    return QString::fromUtf8(section.c_str()) + '/' + QString::fromUtf8(key.c_str());
}
}  // namespace

IniStore::IniStore(std::string configHome) : home_(std::move(configHome)) {}

std::string IniStore::fileOf(const std::string& app) const {
    if (!plainName(app)) return {};
    return home_ + "/" + app + "/" + app + ".ini";
}

std::optional<std::string> IniStore::tryGet(const std::string& app, const std::string& section,
                                            const std::string& key) {
    const std::string file = fileOf(app);
    if (file.empty() || !plainName(section) || !plainName(key)) return std::nullopt;
    const QString path = QString::fromStdString(file);
    if (!usableFile(path)) return std::nullopt;
    const QSettings settings(path, QSettings::IniFormat);
    // A key written empty is there, with no text; one never written is not.
    const QVariant value = settings.value(keyPath(section, key));
    if (!value.isValid()) return std::nullopt;
    // Hand-edited text with unquoted commas reads back as a list.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(", ").toStdString();
    return value.toString().toStdString();
}

// QSettings writes a temporary file and renames it over the old one, so a
// failed or interrupted write never leaves half a file. A fresh object for
// each write keeps one failure from sticking to the next.
bool IniStore::save(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) {
    const std::string file = fileOf(app);
    if (file.empty() || !plainName(section) || !plainName(key)) return false;
    const QString path = QString::fromStdString(file);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !usableFile(path)) return false;
    QSettings settings(path, QSettings::IniFormat);
    const QString name = keyPath(section, key);
    const QVariant before = settings.value(name);
    settings.setValue(name, QString::fromUtf8(value.c_str(), static_cast<qsizetype>(value.size())));
    settings.sync();
    // A format error only says the old file did not read cleanly; the write itself went through.
    if (settings.status() != QSettings::AccessError) return true;
    // Qt keeps unwritten values in a cache shared by every QSettings on the
    // file: put back what the file holds, so a read never shows what was lost.
    if (before.isValid()) {
        settings.setValue(name, before);
    } else {
        settings.remove(name);
    }
    return false;
}

}  // namespace velmora::platform::qt
