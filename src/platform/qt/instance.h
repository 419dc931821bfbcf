// One running copy per user: the first start holds a lock and listens on a
// local socket; a later start tells it to show itself and leaves. The lock is
// flock() on a file in the runtime folder, which the kernel lets go when its
// holder ends however it ends, and which no content of the file can hold. The
// socket is a plain AF_UNIX one beside it, readable and writable by its owner
// only, watched by the event loop.
#pragma once

#include <unistd.h>

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/unique_handle.h"

class QFile;
class QSocketNotifier;

namespace velmora::platform::qt {

// A file descriptor that closes when its owner goes.
using UniqueFd = unique_handle<int, ::close, -1>;

class SingleInstance {
public:
    // folder: where the lock and the socket live (the user's runtime folder).
    SingleInstance(QString folder, std::function<void()> anotherStarted);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the first copy. Otherwise the first copy has been told the command.
    bool becomePrimary(const std::string& command);
    // What later copies told this one, in order, since it was last asked.
    std::vector<std::string> takeCommands();
    // Lets go of the lock and the socket: a copy started from now on runs.
    void leave();

private:
    // Whether this copy now holds the lock. A lock file that cannot be opened
    // at all (a folder, unreadable) is unusable: the socket alone decides then.
    enum class Lock { Held, HeldByAnother, Unusable };
    Lock takeLock();
    // Tells a running copy the command; false when none answered.
    bool tell(int tries, const std::string& command) const;
    void listen();
    void accept();
    void hear(int fd);

    // A copy that has connected and not yet said all it has to say.
    struct Caller {
        UniqueFd fd;
        std::unique_ptr<QSocketNotifier> readable;
        QByteArray heard;
    };

    QString folder_;
    std::function<void()> anotherStarted_;
    std::unique_ptr<QFile> lock_;
    bool primary_ = false;
    UniqueFd server_;
    std::unique_ptr<QSocketNotifier> incoming_;
    std::map<int, Caller> callers_;
    std::vector<std::string> commands_;
};

// The user's runtime folder for these files.
QString runtimeFolder();

}  // namespace velmora::platform::qt
