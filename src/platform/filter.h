// A colour filter over the whole screen: every channel of what the screens
// show multiplied by a gain, so white takes a colour and black stays black.
#pragma once

#include <string>

namespace velmora::platform {

// Each within 0..1; 1 leaves the channel as it is.
struct Gains {
    double red = 1;
    double green = 1;
    double blue = 1;
    bool operator==(const Gains&) const = default;
};

class ScreenFilter {
public:
    virtual ~ScreenFilter() = default;

    // Empty when this desktop can filter the whole screen; otherwise why not, in a
    // few words for the person ("this is a Wayland session").
    virtual std::string unavailableReason() = 0;
    // Applies the gains to every screen, multiplied into what the screens showed
    // before the first of them; false when the desktop did not take them.
    virtual bool setGains(const Gains& gains) = 0;
    // Puts back what the screens showed before; nothing when no gains are set.
    virtual void clear() = 0;
};

}  // namespace velmora::platform
