// One running copy per user: the first start holds a lock and listens on a
// local socket; a later start tells it to show itself and leaves. The lock is
// flock() on a file in the runtime folder, which the kernel lets go when its
// holder ends however it ends, and which no content of the file can hold.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QFile;
class QLocalSocket;

namespace velmora::platform::qt {

class SingleInstance {
public:
    // folder: where the lock and the socket live (the user's runtime folder).
    SingleInstance(QString folder, std::function<void()> anotherStarted);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the first copy. Otherwise the first copy has been told.
    bool becomePrimary();

private:
    // Whether this copy now holds the lock. A lock file that cannot be opened
    // at all (a folder, unreadable) is unusable: the socket alone decides then.
    enum class Lock { Held, HeldByAnother, Unusable };
    Lock takeLock();
    // Asks a running copy to show itself; false when none answered.
    bool tell(int tries) const;
    void listen();
    void hear(QLocalSocket* socket);

    QString folder_;
    std::function<void()> anotherStarted_;
    std::unique_ptr<QFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

// The user's runtime folder for these files.
QString runtimeFolder();

}  // namespace velmora::platform::qt
