// Hotkeys and the pointer of the simulated desktop, as a test sets them.
#include <algorithm>

#include "platform/sim/state.h"

namespace velmora::platform::sim {

namespace {

struct SimInput final : OnState<Input> {
    using RoleOnState::RoleOnState;

    HotkeyGrab registerHotkey(int id, const Hotkey& key) override {
        const auto& held = s_.heldElsewhere;
        if (std::find(held.begin(), held.end(), key) != held.end()) return HotkeyGrab::HeldElsewhere;
        const auto& impossible = s_.impossibleKeys;
        if (std::find(impossible.begin(), impossible.end(), key) != impossible.end()) return HotkeyGrab::NotPossible;
        for (const auto& [other, registered] : s_.hotkeys) {
            if (other != id && registered == key) return HotkeyGrab::HeldElsewhere;
        }
        s_.hotkeys[id] = key;
        return HotkeyGrab::Taken;
    }

    void unregisterHotkey(int id) override { s_.hotkeys.erase(id); }
    bool hotkeysByDesktop() override { return false; }
    std::optional<Point> tryPointerPosition() override { return s_.pointer; }
    bool watchPointer(bool on) override {
        s_.watchingPointer = on && s_.pointerWatchable;
        return s_.watchingPointer || !on;
    }
};

}  // namespace

std::unique_ptr<Input> makeInput(State& state) { return std::make_unique<SimInput>(state); }

}  // namespace velmora::platform::sim
