// The Windows program: the program's windows on user32, gdi32 and shell32.
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/commands.h"
#include "platform/win32/platform.h"

int main(int argc, char** argv) {
    const velmora::CommandLine line = velmora::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto status = velmora::answerCommandLine(line)) return *status;
    const auto platform = velmora::platform::win32::createPlatform();
    velmora::Application app(*platform);
    return app.run(line.command);
}
