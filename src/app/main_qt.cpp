// The Linux program: Qt 6 Widgets on X11.
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/commands.h"
#include "platform/qt/platform.h"
#include "platform/unique_handle.h"

namespace {
// On Wayland a program can neither place its own window, nor keep it above
// others, nor make the whole window translucent: the overlay needs all three,
// so it runs through XWayland unless the person chose a platform. True when it chose.
bool preferX11OnWayland(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return false;
    }
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY")) return false;
    const bool wayland = qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland) qputenv("QT_QPA_PLATFORM", "xcb");
    return wayland;
}

// Qt ends a start that finds no display with a fatal message and a core dump.
// While it starts, a fatal message becomes one line a person understands and
// exit code 1; anything else it says then is passed on once it has started.
class StartWatch {
public:
    StartWatch() : previous_(qInstallMessageHandler(&StartWatch::hold)) {}
    ~StartWatch() {
        qInstallMessageHandler(previous_);
        for (const Held& m : held_) {
            const QMessageLogContext context(m.file, m.line, m.function, m.category);
            if (previous_ != nullptr) previous_(m.type, context, m.text);
        }
        held_.clear();
    }
    StartWatch(const StartWatch&) = delete;
    StartWatch& operator=(const StartWatch&) = delete;

private:
    struct Held {
        QtMsgType type;
        const char* file;
        int line;
        const char* function;
        const char* category;
        QString text;
    };
    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtFatalMsg) {
            // A Wayland session without XWayland has a desktop, only not one Velmora can use.
            const bool waylandOnly =
                !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qEnvironmentVariableIsEmpty("DISPLAY");
            std::fputs(waylandOnly ? "Velmora needs X11 or XWayland, and this Wayland session offers neither.\n"
                                   : "Velmora needs a graphical desktop, and no display was found.\n",
                       stderr);
            ::_exit(1);
        }
        held_.push_back({type, context.file, context.line, context.function, context.category, text});
    }

    QtMessageHandler previous_;
    static inline std::vector<Held> held_;
};

// A session's end (SIGTERM, SIGHUP) and Ctrl+C end the program as its end
// statement does, with 0: the icon leaves, the next copy may start, and Qt
// and the store close in order. The handler only writes a byte to a socket
// the event loop watches; the end itself runs there.
class EndOnSignals {
public:
    explicit EndOnSignals(velmora::Application& app) {
        int ends[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) return;
        read_.reset(ends[0]);
        write_.reset(ends[1]);
        notifier_ = std::make_unique<QSocketNotifier>(read_.get(), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, &app] {
            char drained[16];
            while (::read(read_.get(), drained, sizeof drained) > 0) {
            }
            app.runHandler([&app] { app.end(); });
        });
        writeFd_ = write_.get();
        struct sigaction action = {};
        action.sa_handler = &EndOnSignals::caught;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
    }
    ~EndOnSignals() {
        if (!write_) return;
        for (const int signal : kSignals) std::signal(signal, SIG_DFL);
        writeFd_ = -1;
    }
    EndOnSignals(const EndOnSignals&) = delete;
    EndOnSignals& operator=(const EndOnSignals&) = delete;

private:
    using Fd = velmora::platform::unique_handle<int, ::close, -1>;
    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

    static void caught(int) {
        const int saved = errno;
        // A full socket already holds a byte that says the same.
        if (writeFd_ >= 0) {
            [[maybe_unused]] const auto sent = ::write(writeFd_, "!", 1);
        }
        errno = saved;
    }

    static inline volatile std::sig_atomic_t writeFd_ = -1;
    Fd read_;
    Fd write_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// The application, or the line above and exit code 1 when there is no display.
std::unique_ptr<QApplication> startQt(int& argc, char** argv) {
    const StartWatch watch;
    return std::make_unique<QApplication>(argc, argv);
}
}  // namespace

int main(int argc, char** argv) {
    // What it is asked, before any display is needed: --help and --version need none.
    const velmora::CommandLine line = velmora::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto status = velmora::answerCommandLine(line)) return *status;
    const bool throughXWayland = preferX11OnWayland(argc, argv);
    const std::unique_ptr<QApplication> qapp = startQt(argc, argv);
    // Said once in the log, by the copy that runs (one that only tells it a
    // command never gets to its event loop): the person has nothing to do about it.
    if (throughXWayland) {
        QTimer::singleShot(0,
                           [] { qInfo("velmora: a Wayland session: running through XWayland (Qt's xcb platform)"); });
    }
    QCoreApplication::setApplicationName("velmora");
    QGuiApplication::setDesktopFileName("io.github.velmora.Velmora");
    velmora::platform::qt::QtPlatform platform;
    velmora::Application app(platform);
    const EndOnSignals endOnSignals(app);
    return app.run(line.command);
}
