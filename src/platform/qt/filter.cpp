// The colour filter on Linux.
#include "platform/qt/state.h"

namespace velmora::platform::qt {

namespace {

class QtFilter final : public ScreenFilter {
public:
    explicit QtFilter(State&) {}
    std::string unavailableReason() override { return "this desktop offers no colour ramps"; }
    bool setGains(const Gains&) override { return false; }
    void clear() override {}
};

}  // namespace

std::unique_ptr<ScreenFilter> makeFilter(State& state) { return std::make_unique<QtFilter>(state); }

}  // namespace velmora::platform::qt
