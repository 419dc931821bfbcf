// One running copy per user: the first start holds a lock and listens on a
// local socket; a later start tells it to show itself and leaves.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;
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
    bool tellPrimary() const;
    void listen();
    void hear(QLocalSocket* socket);

    QString folder_;
    std::function<void()> anotherStarted_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

// The user's runtime folder for these files.
QString runtimeFolder();

}  // namespace velmora::platform::qt
