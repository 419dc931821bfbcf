// The GlobalShortcuts portal on the session bus: a session made once, the
// shortcuts bound to it whenever one is asked for that it lacks, and Activated
// reported for those still wanted. Every answer comes as a Request's Response
// signal, listened to before the call is made so none is missed.
#include "platform/qt/portal.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QFileInfo>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUuid>
#include <map>
#include <utility>

namespace velmora::platform::qt {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& out, const Shortcut& s) {
    out.beginStructure();
    out << s.id << s.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, Shortcut& s) {
    in.beginStructure();
    in >> s.id >> s.properties;
    in.endStructure();
    return in;
}

}  // namespace
}  // namespace velmora::platform::qt

Q_DECLARE_METATYPE(velmora::platform::qt::Shortcut)

namespace velmora::platform::qt {

std::string portalTrigger(const Hotkey& key) {
    std::string trigger;
    for (const auto& [name, bit] : {std::pair{"CTRL+", win::MOD_CONTROL}, std::pair{"ALT+", win::MOD_ALT},
                                    std::pair{"SHIFT+", win::MOD_SHIFT}, std::pair{"LOGO+", win::MOD_WIN}}) {
        if ((key.modifiers & bit) != 0) trigger += name;
    }
    // Keys by their X keysym names, as the portal reads them.
    if (key.key >= 'A' && key.key <= 'Z') return trigger + static_cast<char>(key.key - 'A' + 'a');
    if (key.key >= '0' && key.key <= '9') return trigger + static_cast<char>(key.key);
    if (key.key >= win::VK_F1 && key.key <= win::VK_F24)
        return trigger + 'F' + std::to_string(key.key - win::VK_F1 + 1);
    static constexpr std::pair<unsigned, const char*> kNamed[] = {
        {win::VK_SPACE, "space"},   {win::VK_PRIOR, "Page_Up"}, {win::VK_NEXT, "Page_Down"}, {win::VK_END, "End"},
        {win::VK_HOME, "Home"},     {win::VK_LEFT, "Left"},     {win::VK_UP, "Up"},          {win::VK_RIGHT, "Right"},
        {win::VK_DOWN, "Down"},     {win::VK_INSERT, "Insert"}, {win::VK_DELETE, "Delete"},  {win::VK_PAUSE, "Pause"},
        {win::VK_SNAPSHOT, "Print"}};
    for (const auto& [virtualKey, name] : kNamed) {
        if (virtualKey == key.key) return trigger + name;
    }
    return {};
}

namespace {

class Portal final : public QObject, public ShortcutsPortal {
    Q_OBJECT
public:
    explicit Portal(std::function<void(int)> activated) : activated_(std::move(activated)) {
        qDBusRegisterMetaType<Shortcut>();
        qDBusRegisterMetaType<QList<Shortcut>>();
        bus().connect(kService, kPath, kShortcuts, QStringLiteral("Activated"), this,
                      SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        const QString token = newToken();
        request_ = call(QStringLiteral("CreateSession"), token,
                        {QVariantMap{{QStringLiteral("handle_token"), token},
                                     {QStringLiteral("session_handle_token"), newToken()}}},
                        SLOT(onSession(uint, QVariantMap)));
    }

    void bind(int id, const Hotkey& key) override {
        wanted_[id] = key;
        const auto it = bound_.find(id);
        if (it != bound_.end() && it->second == key) return;
        // The keys come one by one: one bind for them all, once the session is there.
        if (!bindPending_) {
            bindPending_ = true;
            QTimer::singleShot(0, this, [this] { bindWanted(); });
        }
    }

    void unbind(int id) override { wanted_.erase(id); }

    std::string trigger(int id) const override {
        const auto it = triggers_.find(id);
        return it == triggers_.end() || wanted_.count(id) == 0 ? std::string() : it->second.toStdString();
    }

private slots:
    void onSession(uint response, const QVariantMap& results) {
        stopListening();
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        // A string in the documented interface; some portals send an object path.
        session_ = handle.userType() == qMetaTypeId<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                                       : handle.toString();
        if (response != 0 || session_.isEmpty()) {
            session_.clear();
            return;
        }
        bindWanted();
    }

    void onBound(uint response, const QVariantMap& results) {
        stopListening();
        if (response == 0) takeTriggers(results.value(QStringLiteral("shortcuts")));
        if (bindPending_) bindWanted();
    }

    void onActivated(const QDBusObjectPath& session, const QString& id, qulonglong, const QVariantMap&) {
        if (session.path() != session_) return;
        bool number = false;
        const int hotkey = id.toInt(&number);
        if (number && wanted_.count(hotkey) != 0) activated_(hotkey);
    }

private:
    static QDBusConnection bus() { return QDBusConnection::sessionBus(); }
    static QString newToken() { return QStringLiteral("velmora") + QUuid::createUuid().toString(QUuid::Id128); }

    // Calls with the Response of its Request going to the slot; the Request's path, or empty when the call failed.
    QString call(const QString& method, const QString& token, const QVariantList& arguments, const char* slot) {
        QString sender = bus().baseService().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString expected = kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
        bus().connect(kService, expected, kRequest, QStringLiteral("Response"), this, slot);
        listening_ = {expected, slot};
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kShortcuts, method);
        message.setArguments(arguments);
        const QDBusReply<QDBusObjectPath> reply = bus().call(message);
        if (!reply.isValid()) {
            stopListening();
            return {};
        }
        return expected;
    }

    void stopListening() {
        if (listening_.first.isEmpty()) return;
        bus().disconnect(kService, listening_.first, kRequest, QStringLiteral("Response"), this, listening_.second);
        listening_ = {};
        request_.clear();
    }

    // The shortcuts the desktop answered a bind with: each one's trigger_description, told once when they change.
    void takeTriggers(const QVariant& answered) {
        if (answered.userType() != qMetaTypeId<QDBusArgument>()) return;
        const auto argument = answered.value<QDBusArgument>();
        if (argument.currentSignature() != QStringLiteral("a(sa{sv})")) return;
        QList<Shortcut> shortcuts;
        argument >> shortcuts;
        std::map<int, QString> triggers;
        for (const Shortcut& shortcut : shortcuts) {
            bool number = false;
            const int id = shortcut.id.toInt(&number);
            const QString trigger = shortcut.properties.value(QStringLiteral("trigger_description")).toString();
            if (number && !trigger.isEmpty()) triggers[id] = trigger;
        }
        if (triggers == triggers_) return;
        triggers_ = std::move(triggers);
        QStringList told;
        for (const auto& [id, trigger] : triggers_) told << QString::number(id) + QStringLiteral(": ") + trigger;
        qInfo("Velmora: the desktop chose %s", qPrintable(told.join(QStringLiteral("; "))));
    }

    // One request at a time; a bind asked for meanwhile follows the answer.
    void bindWanted() {
        if (session_.isEmpty() || !request_.isEmpty()) return;
        bindPending_ = false;
        QList<Shortcut> shortcuts;
        for (const auto& [id, key] : wanted_) {
            const std::string trigger = portalTrigger(key);
            if (trigger.empty()) continue;
            shortcuts.push_back({QString::number(id),
                                 {{QStringLiteral("description"),
                                   QStringLiteral("Velmora: ") + QString::fromStdString(hotkeyText(key))},
                                  {QStringLiteral("preferred_trigger"), QString::fromStdString(trigger)}}});
        }
        bound_ = wanted_;
        const QString token = newToken();
        request_ = call(QStringLiteral("BindShortcuts"), token,
                        {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString(),
                         QVariantMap{{QStringLiteral("handle_token"), token}}},
                        SLOT(onBound(uint, QVariantMap)));
    }

    std::function<void(int)> activated_;
    QString session_;
    QString request_;  // the Request awaited
    std::pair<QString, const char*> listening_;
    std::map<int, Hotkey> wanted_, bound_;
    std::map<int, QString> triggers_;  // what the desktop chose, by id
    bool bindPending_ = false;
};

}  // namespace

std::unique_ptr<ShortcutsPortal> tryShortcutsPortal(std::function<void(int)> activated) {
    // No session bus told of: none is started for us (libdbus would launch one).
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (runtime.isEmpty() || !QFileInfo::exists(runtime + QStringLiteral("/bus")))) {
        return nullptr;
    }
    if (!QDBusConnection::sessionBus().isConnected()) return nullptr;
    QDBusInterface properties(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                              QDBusConnection::sessionBus());
    properties.setTimeout(3000);  // a portal that hangs costs the start no more
    const QDBusReply<QDBusVariant> version =
        properties.call(QStringLiteral("Get"), kShortcuts, QStringLiteral("version"));
    if (!version.isValid() || version.value().variant().toUInt() < 1) return nullptr;
    return std::make_unique<Portal>(std::move(activated));
}

}  // namespace velmora::platform::qt

#include "portal.moc"
