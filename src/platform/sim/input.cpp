// Hotkeys and the pointer of the simulated desktop, as a test sets them.
#include <algorithm>

#include "platform/sim/state.h"

namespace velmora::platform::sim {

namespace {

struct SimInput final : OnState<Input> {
    using RoleOnState::RoleOnState;

    bool registerHotkey(int id, const Hotkey& key) override {
        const auto& held = s_.heldElsewhere;
        if (std::find(held.begin(), held.end(), key) != held.end()) return false;
        for (const auto& [other, registered] : s_.hotkeys) {
            if (other != id && registered == key) return false;
        }
        s_.hotkeys[id] = key;
        return true;
    }

    void unregisterHotkey(int id) override { s_.hotkeys.erase(id); }
    std::optional<Point> tryPointerPosition() override { return s_.pointer; }
};

}  // namespace

std::unique_ptr<Input> makeInput(State& state) { return std::make_unique<SimInput>(state); }

}  // namespace velmora::platform::sim
