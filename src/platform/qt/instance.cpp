#include "platform/qt/instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

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

bool SingleInstance::becomePrimary() {
    if (server_) return true;
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(folder_ + "/velmora.lock");
    // Only a lock whose owner has died is stale, however old it is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        listen();
        return true;
    }
    lock_.reset();
    tellPrimary();
    return false;
}

bool SingleInstance::tellPrimary() const {
    // The first copy may still be starting: give it a moment to listen.
    for (int i = 0; i < kConnectTries; ++i) {
        QLocalSocket socket;
        socket.connectToServer(folder_ + "/velmora.socket");
        if (socket.waitForConnected(500)) {
            socket.write(kShow);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(kTryPauseMs);
    }
    return false;
}

void SingleInstance::listen() {
    const QString name = folder_ + "/velmora.socket";
    // We hold the lock, so a socket left here belongs to a copy that died.
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
