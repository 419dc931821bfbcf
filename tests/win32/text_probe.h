// What the text probe (text_probe.cpp, a DLL the end-to-end tests hook into
// velmora.exe) reports of a window: each shown control and where its text is
// drawn, measured in the program's own process with the control's own font.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

namespace velmora::e2e {

// Sent to a top-level window of the program: the probe measures it into the mapping.
inline constexpr const char* kProbeMessage = "Velmora.TextProbe";
inline constexpr const char* kProbeMapping = "Local\\VelmoraTextProbe";
inline constexpr const char* kProbeHook = "probeHook";

inline constexpr int kMaxLines = 6;
inline constexpr int kMaxControls = 96;

// One shown control, in its window's client coordinates.
struct ShownControl {
    char className[32];
    char text[128];             // as shown: a link's without its markup
    unsigned long long parent;  // the parent window's handle
    int zOrder;                 // among its siblings, 0 on top
    RECT frame;                 // the whole control
    RECT client;                // its client area
    int lineCount;              // 0: it shows no text of its own
    RECT lines[kMaxLines];      // where its text is drawn, a rectangle a line
    SIZE extent;                // the text on one line in the control's font
    int lineHeight;             // the font's
    bool fits;                  // the whole text inside the client area
};

struct ProbeResults {
    int count;
    ShownControl controls[kMaxControls];
};

}  // namespace velmora::e2e
