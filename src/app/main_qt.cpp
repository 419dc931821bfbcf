// The Linux program: Qt 6 Widgets on X11.
#include <QApplication>
#include <cstring>

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
}  // namespace

int main(int argc, char** argv) {
    preferX11OnWayland(argc, argv);
    QApplication qapp(argc, argv);
    QCoreApplication::setApplicationName("velmora");
    QGuiApplication::setDesktopFileName("io.github.velmora.Velmora");
    velmora::platform::qt::QtPlatform platform;
    velmora::Application app(platform);
    return app.run();
}
