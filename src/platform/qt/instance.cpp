#include "platform/qt/instance.h"

#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <cstring>

#include "platform/desktop.h"
#include "platform/text.h"

namespace velmora::platform::qt {

namespace {
constexpr int kConnectTries = 30;
constexpr int kTryPauseMs = 100;
constexpr int kConnectWaitMs = 500;
constexpr int kSendWaitMs = 1000;

// The socket's address; false when the path is too long for one.
bool addressOf(const QString& path, sockaddr_un& address) {
    const QByteArray name = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (name.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    return true;
}

void setSendWait(int fd, int ms) {
    const timeval wait{ms / 1000, (ms % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
}

// Sends all of data, or false.
bool sendAll(int fd, const QByteArray& data) {
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n =
            ::send(fd, data.constData() + sent, static_cast<std::size_t>(data.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += n;
    }
    return true;
}
}  // namespace

QString runtimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder;
}

SingleInstance::SingleInstance(QString folder, std::function<void()> anotherStarted)
    : folder_(std::move(folder)), anotherStarted_(std::move(anotherStarted)) {}

// The socket goes with the copy that listened on it, as a lock goes with its holder.
SingleInstance::~SingleInstance() { leave(); }

void SingleInstance::leave() {
    callers_.clear();
    incoming_.reset();
    if (server_) ::unlink(QFile::encodeName(folder_ + "/velmora.socket").constData());
    server_.reset();
    lock_.reset();
    primary_ = false;
}

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

std::vector<std::string> SingleInstance::takeCommands() { return std::exchange(commands_, {}); }

bool SingleInstance::becomePrimary(const std::string& command) {
    if (primary_) return true;
    QDir().mkpath(folder_);
    const Lock lock = takeLock();
    // The copy holding the lock may still be starting: give it a moment to listen.
    if (lock == Lock::HeldByAnother) {
        tell(kConnectTries, command);
        return false;
    }
    // A copy that answers is alive, whatever the lock said (one of an older
    // version kept no flock, and an unusable lock file says nothing).
    if (tell(1, command)) {
        lock_.reset();
        return false;
    }
    primary_ = true;
    listen();
    return true;
}

bool SingleInstance::tell(int tries, const std::string& command) const {
    sockaddr_un address{};
    if (!addressOf(folder_ + "/velmora.socket", address)) return false;
    for (int i = 0; i < tries; ++i) {
        if (i > 0) QThread::msleep(kTryPauseMs);
        const UniqueFd socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
        if (!socket) return false;
        setSendWait(socket.get(), kConnectWaitMs);
        if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            setSendWait(socket.get(), kSendWaitMs);
            return sendAll(socket.get(), QByteArray::fromStdString(command) + '\n');
        }
    }
    return false;
}

void SingleInstance::listen() {
    const QByteArray name = QFile::encodeName(folder_ + "/velmora.socket");
    sockaddr_un address{};
    if (!addressOf(folder_ + "/velmora.socket", address)) return;  // still the only copy; others just cannot reach us
    // No copy answered on it, so a socket left here belongs to one that died.
    ::unlink(name.constData());
    UniqueFd server(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!server || ::bind(server.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return;
    // Only its owner may reach it: no copy can connect before it listens.
    if (::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(server.get(), SOMAXCONN) != 0) {
        ::unlink(name.constData());
        return;
    }
    server_ = std::move(server);
    incoming_ = std::make_unique<QSocketNotifier>(server_.get(), QSocketNotifier::Read);
    QObject::connect(incoming_.get(), &QSocketNotifier::activated, incoming_.get(), [this] { accept(); });
}

void SingleInstance::accept() {
    while (true) {
        UniqueFd fd(::accept4(server_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd) {
            if (errno == EINTR) continue;
            return;  // none waiting, or none that can be taken now
        }
        const int key = fd.get();
        Caller& caller = callers_[key];
        caller.fd = std::move(fd);
        caller.readable = std::make_unique<QSocketNotifier>(key, QSocketNotifier::Read);
        QObject::connect(caller.readable.get(), &QSocketNotifier::activated, caller.readable.get(),
                         [this, key] { hear(key); });
        hear(key);
    }
}

// Anything but the one short request is dropped, and so is a caller that leaves.
void SingleInstance::hear(int fd) {
    const auto it = callers_.find(fd);
    if (it == callers_.end()) return;
    Caller& caller = it->second;
    // A word and its line end, no more: anything longer is no command of ours.
    char buffer[Desktop::kCommandLength + 1];
    const auto wanted = static_cast<std::size_t>(Desktop::kCommandLength + 1 - caller.heard.size());
    const ssize_t n = ::recv(fd, buffer, wanted, 0);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    if (n > 0) caller.heard.append(buffer, n);
    const bool whole = caller.heard.endsWith('\n');
    if (n > 0 && !whole && caller.heard.size() <= static_cast<qsizetype>(Desktop::kCommandLength)) return;
    const std::string word = whole ? caller.heard.chopped(1).toStdString() : std::string{};
    // Its notifier may be the one calling: it goes once that call has unwound.
    caller.readable->setEnabled(false);
    caller.readable.release()->deleteLater();
    callers_.erase(it);
    if (!isCommandWord(word)) return;
    commands_.push_back(word);
    anotherStarted_();
}

}  // namespace velmora::platform::qt
