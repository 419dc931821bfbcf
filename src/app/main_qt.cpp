// The Linux program: Qt 6 Widgets on X11.
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/Application.h"
#include "platform/qt/platform.h"

namespace {
// On Wayland a program can neither place its own window, nor keep it above
// others, nor make the whole window translucent: the overlay needs all three,
// so it runs through XWayland unless the person chose a platform.
void preferX11OnWayland(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return;
    }
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY")) return;
    const bool wayland = qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland) qputenv("QT_QPA_PLATFORM", "xcb");
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
            std::fputs("Velmora needs a graphical desktop, and no display was found.\n", stderr);
            ::_exit(1);
        }
        held_.push_back({type, context.file, context.line, context.function, context.category, text});
    }

    QtMessageHandler previous_;
    static inline std::vector<Held> held_;
};

// The application, or the line above and exit code 1 when there is no display.
std::unique_ptr<QApplication> startQt(int& argc, char** argv) {
    const StartWatch watch;
    return std::make_unique<QApplication>(argc, argv);
}
}  // namespace

int main(int argc, char** argv) {
    preferX11OnWayland(argc, argv);
    const std::unique_ptr<QApplication> qapp = startQt(argc, argv);
    QCoreApplication::setApplicationName("velmora");
    QGuiApplication::setDesktopFileName("io.github.velmora.Velmora");
    velmora::platform::qt::QtPlatform platform;
    velmora::Application app(platform);
    return app.run();
}
