// Input from anywhere on the desktop: global hotkeys, which work whichever
// program has the focus, and where the pointer is.
#pragma once

#include <optional>

#include "platform/keys.h"
#include "platform/types.h"

namespace velmora::platform {

class Input {
public:
    virtual ~Input() = default;

    // The key reports Hotkey with this id until unregistered; false when another
    // program holds it or the desktop lets no program have one.
    virtual bool registerHotkey(int id, const Hotkey& key) = 0;
    virtual void unregisterHotkey(int id) = 0;
    // False where the desktop lets no program take keys from the others (a native
    // Wayland session): every key then fails, and no other program is to blame.
    virtual bool hotkeysPossible() { return true; }
    // In desktop pixels; none where the desktop does not tell.
    virtual std::optional<Point> tryPointerPosition() = 0;
};

}  // namespace velmora::platform
