// What a backend's platform is made of, built before the Platform that refers
// to it: the state its roles share, and one implementation of each role, made by
// the backend's own make functions, found beside its State. Destroyed the other
// way round: every role before the state it drives.
#pragma once

#include <memory>
#include <utility>

#include "platform/platform.h"

namespace velmora::platform {

// What each role's implementation is built on: the one state it shares with the others.
template <class State, class Role>
class RoleOnState : public Role {
public:
    explicit RoleOnState(State& state) : s_(state) {}

protected:
    State& s_;
};

template <class State>
struct BackendRoles {
    template <class... Args>
    explicit BackendRoles(Args&&... args) : state(std::forward<Args>(args)...) {}

    State state;
    std::unique_ptr<Windows> windowsRole = makeWindows(state);
    std::unique_ptr<Controls> controlsRole = makeControls(state);
    std::unique_ptr<Dialogs> dialogsRole = makeDialogs(state);
    std::unique_ptr<Desktop> desktopRole = makeDesktop(state);
    std::unique_ptr<NativeCalls> nativeRole = makeNative(state);
    std::unique_ptr<Input> inputRole = makeInput(state);
    std::unique_ptr<ScreenFilter> filterRole = makeFilter(state);
};

}  // namespace velmora::platform
