// Global shortcuts through the desktop's GlobalShortcuts portal, where a Wayland
// session offers it: the desktop then decides the keys, and the ones we store
// are only what we would like.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/keys.h"

namespace velmora::platform::qt {

class ShortcutsPortal {
public:
    virtual ~ShortcutsPortal() = default;
    // Asks for the key under this id; it reaches the program whenever the desktop's trigger for it is pressed.
    virtual void bind(int id, const Hotkey& key) = 0;
    virtual void unbind(int id) = 0;
    // The trigger the desktop chose for the id, as it words it; empty until it tells.
    virtual std::string trigger(int id) const = 0;
};

// None where the session bus has no GlobalShortcuts portal.
std::unique_ptr<ShortcutsPortal> tryShortcutsPortal(std::function<void(int id)> activated);

// The key as the portal writes a trigger ("CTRL+ALT+o"); empty for a key it has no name for.
std::string portalTrigger(const Hotkey& key);

}  // namespace velmora::platform::qt
