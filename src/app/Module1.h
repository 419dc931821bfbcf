// Procedures the windows share.
#pragma once

#include <cstdint>

#include "toolkit/runtime.h"

namespace velmora::Module1 {

// Makes a window layered and draws it at one alpha. Traps its own errors: they are
// shown in a message box and the window keeps what was set before the error.
void MakeTranslucent(toolkit::Runtime& runtime, platform::Handle hwnd, platform::Color color, std::int16_t alpha,
                     std::uint8_t flags);

// Lets the mouse through a layered window to what lies beneath it, or stops that.
// What the call returns is ignored, as for the translucency.
void SetClickThrough(toolkit::Runtime& runtime, platform::Handle hwnd, bool through);

// Makes the program start when the person logs in, naming the executable where
// it is now. A failure is told, so the box never promises a start that won't come.
void RegisterStartupEntry(toolkit::Runtime& runtime);
inline constexpr const char* kStartupEntryFailed =
    "Velmora could not add itself to the programs that start when you log in.";

// SetWindowPos that changes only the z-order band: HWND_TOPMOST or HWND_NOTOPMOST,
// position and size kept (flags 3, and any extra flags). The result is ignored.
void setZOrder(toolkit::Runtime& runtime, platform::Handle hwnd, platform::Handle insertAfter, unsigned extraFlags = 0);

}  // namespace velmora::Module1
