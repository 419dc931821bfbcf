// Input from anywhere on the desktop: global hotkeys, which work whichever
// program has the focus, and where the pointer is.
#pragma once

#include <optional>
#include <string>

#include "platform/keys.h"
#include "platform/types.h"

namespace velmora::platform {

// What became of a key asked for.
enum class HotkeyGrab {
    Taken,
    HeldElsewhere,  // another program holds it
    NotPossible,    // this desktop cannot give it to any program (no such key, no grabs at all)
};

class Input {
public:
    virtual ~Input() = default;

    // Once taken, the key reports Hotkey with this id until unregistered.
    virtual HotkeyGrab registerHotkey(int id, const Hotkey& key) = 0;
    virtual void unregisterHotkey(int id) = 0;
    // False where the desktop lets no program take keys from the others (a native
    // Wayland session): every key then fails, and no other program is to blame.
    virtual bool hotkeysPossible() { return true; }
    // True where the desktop decides which keys reach the program (a Wayland
    // session's shortcuts portal): the keys asked for are only what we would like.
    virtual bool hotkeysByDesktop() = 0;
    // The trigger the desktop chose for the key under this id, as it words it
    // ("Ctrl+Alt+O"); empty where it decides none or has not told yet.
    virtual std::string desktopTrigger(int) { return {}; }
    // In desktop pixels; none where the desktop does not tell.
    virtual std::optional<Point> tryPointerPosition() = 0;
    // While on, each burst of pointer motion reports one PointerMoved, with the
    // place read once after it. False where the desktop cannot tell (then poll).
    virtual bool watchPointer(bool on) = 0;
};

}  // namespace velmora::platform
