#include "platform/qt/instance.h"

#include <sys/file.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>

namespace velmora::platform::qt {

namespace {
const QByteArray kShow = QByteArrayLiteral("show\n");
constexpr int kConnectTries = 30;
constexpr int kTryPauseMs = 100;
}  // namespace

QString runtimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder;
}

SingleInstance::SingleInstance(QString folder, std::function<void()> anotherStarted)
    : folder_(std::move(folder)), anotherStarted_(std::move(anotherStarted)) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Lock SingleInstance::takeLock() {
    auto file = std::make_unique<QFile>(folder_ + "/velmora.lock");
    if (!file->open(QIODevice::ReadWrite)) return Lock::Unusable;
    int result = 0;
    do {
        result = ::flock(file->handle(), LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        lock_ = std::move(file);
        return Lock::Held;
    }
    return errno == EWOULDBLOCK ? Lock::HeldByAnother : Lock::Unusable;
}

bool SingleInstance::becomePrimary() {
    if (server_) return true;
    QDir().mkpath(folder_);
    const Lock lock = takeLock();
    // The copy holding the lock may still be starting: give it a moment to listen.
    if (lock == Lock::HeldByAnother) {
        tell(kConnectTries);
        return false;
    }
    // A copy that answers is alive, whatever the lock said (one of an older
    // version kept no flock, and an unusable lock file says nothing).
    if (tell(1)) {
        lock_.reset();
        return false;
    }
    listen();
    return true;
}

bool SingleInstance::tell(int tries) const {
    for (int i = 0; i < tries; ++i) {
        if (i > 0) QThread::msleep(kTryPauseMs);
        QLocalSocket socket;
        socket.connectToServer(folder_ + "/velmora.socket");
        if (socket.waitForConnected(500)) {
            socket.write(kShow);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
    }
    return false;
}

void SingleInstance::listen() {
    const QString name = folder_ + "/velmora.socket";
    // No copy answered on it, so a socket left here belongs to one that died.
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name)) return;  // still the only copy; others just cannot reach us
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { hear(socket); });
            hear(socket);
        }
    });
}

void SingleInstance::hear(QLocalSocket* socket) {
    // Anything but the one short request is dropped.
    if (socket->bytesAvailable() < kShow.size()) return;
    const bool asked = socket->read(kShow.size()) == kShow;
    socket->abort();
    if (asked) anotherStarted_();
}

}  // namespace velmora::platform::qt
