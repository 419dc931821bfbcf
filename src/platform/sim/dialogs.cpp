// Modal boxes and popup menus of the simulated platform answer what the test
// queued: a box says OK and a menu is dismissed unless told otherwise.
#include "platform/sim/state.h"
#include "platform/winapi.h"

namespace velmora::platform::sim {

namespace {

struct SimDialogs final : OnState<Dialogs> {
    using RoleOnState::RoleOnState;

    std::optional<int> popupMenu(Handle owner, const std::vector<MenuItem>& items) override {
        s_.menus.push_back({owner, items});
        if (s_.menuAnswers.empty()) return std::nullopt;
        const auto answer = std::move(s_.menuAnswers.front());
        s_.menuAnswers.pop_front();
        return answer(items);
    }

    int messageBox(Handle owner, const std::string& text, const std::string& title) override {
        s_.messageBoxes.push_back({owner, text, title});
        if (s_.boxAnswers.empty()) return win::IDOK;
        const auto action = std::move(s_.boxAnswers.front());
        s_.boxAnswers.pop_front();
        // The box is "open" while the action runs, as a person's clicks meanwhile would be.
        return action(s_.messageBoxes.back());
    }
};

}  // namespace

std::unique_ptr<Dialogs> makeDialogs(State& state) { return std::make_unique<SimDialogs>(state); }

}  // namespace velmora::platform::sim
