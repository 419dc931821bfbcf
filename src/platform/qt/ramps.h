// The colour filter's arithmetic over X11 gamma ramps, and the record that
// lets a later start put back what a crash left on the screens. No X here.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/filter.h"

namespace velmora::platform::qt {

using Ramp = std::vector<std::uint16_t>;

// One CRTC's three ramps, as the X server holds them.
struct Ramps {
    Ramp red;
    Ramp green;
    Ramp blue;
    bool operator==(const Ramps&) const = default;
};

// Each ramp found multiplied by its gain. A ramp that never rises (a fresh
// Xvfb holds zeros) shows nothing as it stands, so it counts as the identity.
Ramps filtered(const Ramps& found, const Gains& gains);

// What the filter found on a CRTC before it wrote there, and what it wrote.
struct CrtcRamps {
    std::uint32_t crtc = 0;
    Ramps found;
    Ramps set;
    bool operator==(const CrtcRamps&) const = default;
};

QByteArray encodeRecord(const std::vector<CrtcRamps>& crtcs);
// Nothing when the bytes are not a whole record of ours.
std::optional<std::vector<CrtcRamps>> decodeRecord(const QByteArray& bytes);

}  // namespace velmora::platform::qt
