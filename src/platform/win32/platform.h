// The Windows platform, for the program's main and the platform's own tests:
// no Win32 type shows here.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace velmora::platform::win32 {

// The platform of the running process. Only one may exist at a time: its window
// classes and its one running copy are the process's.
std::unique_ptr<Platform> createPlatform();

}  // namespace velmora::platform::win32
