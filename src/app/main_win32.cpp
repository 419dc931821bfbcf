// The Windows program: the program's windows on user32, gdi32 and shell32.
#include "app/Application.h"
#include "platform/win32/platform.h"

int main() {
    const auto platform = velmora::platform::win32::createPlatform();
    velmora::Application app(*platform);
    return app.run();
}
