// The colour filter on Windows.
#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

class Win32Filter final : public OnState<ScreenFilter> {
public:
    using RoleOnState::RoleOnState;
    std::string unavailableReason() override { return "Windows offers no colour effect here"; }
    bool setGains(const Gains&) override { return false; }
    void clear() override {}
};

}  // namespace

std::unique_ptr<ScreenFilter> makeFilter(State& state) { return std::make_unique<Win32Filter>(state); }

}  // namespace velmora::platform::win32
