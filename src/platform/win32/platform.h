// The Windows platform, for the program's main and nothing else: no Win32 type
// shows here.
#pragma once

#include <memory>

#include "platform/types.h"

namespace velmora::platform::win32 {

// The platform of the running process. Only one may exist at a time.
std::unique_ptr<Platform> createPlatform();

}  // namespace velmora::platform::win32
