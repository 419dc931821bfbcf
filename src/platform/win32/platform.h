// The Windows platform, for the program's main and the platform's own tests:
// no Win32 type shows here.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace velmora::platform::win32 {

// What the platform's own tests change, to see the roads a desktop takes without waiting for them.
struct Options {
    // How long a watch for the notification area waits before it tells there is none.
    int notificationAreaWaitMs = 5000;
    // The window class of the taskbar, which holds the notification area.
    const char* taskbarClass = "Shell_TrayWnd";
    // Wine shows notification icons in a window of its own when the desktop has no area for them.
    bool wineTrayCounts = true;
};

// The platform of the running process. Only one may exist at a time: its window
// classes and its one running copy are the process's.
std::unique_ptr<Platform> createPlatform(const Options& options = {});

}  // namespace velmora::platform::win32
