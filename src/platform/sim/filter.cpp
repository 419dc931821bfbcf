// The simulated desktop's colour filter: the gains as a test reads them.
#include "platform/sim/state.h"

namespace velmora::platform::sim {

namespace {

struct SimFilter final : OnState<ScreenFilter> {
    using RoleOnState::RoleOnState;

    std::string unavailableReason() override { return s_.filterUnavailable; }
    bool setGains(const Gains& gains) override {
        if (!s_.filterUnavailable.empty() || s_.filterRefuses) return false;
        s_.screenGains = gains;
        return true;
    }
    void clear() override { s_.screenGains.reset(); }
};

}  // namespace

std::unique_ptr<ScreenFilter> makeFilter(State& state) { return std::make_unique<SimFilter>(state); }

}  // namespace velmora::platform::sim
