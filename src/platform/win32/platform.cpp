#include "platform/win32/platform.h"

#include "platform/win32/state.h"
#include "platform/win32/store.h"

namespace velmora::platform::win32 {

namespace {

// What the platform is made of, built before the Platform that refers to it.
struct Win32Roles {
    explicit Win32Roles(const Options& options) : state_(GetModuleHandleA(nullptr), options) {}

    State state_;
    std::unique_ptr<Windows> windows_ = makeWindows(state_);
    std::unique_ptr<Controls> controls_ = makeControls(state_);
    std::unique_ptr<Dialogs> dialogs_ = makeDialogs(state_);
    std::unique_ptr<Desktop> desktop_ = makeDesktop(state_);
    std::unique_ptr<NativeCalls> native_ = makeNative(state_);
    std::unique_ptr<Input> input_ = makeInput(state_);
    RegistryStore store_;
};

class Win32Platform final : private Win32Roles, public Platform {
public:
    explicit Win32Platform(const Options& options)
        : Win32Roles(options), Platform(*windows_, *controls_, *dialogs_, *desktop_, *native_, *input_, store_) {}
};

}  // namespace

std::unique_ptr<Platform> createPlatform(const Options& options) { return std::make_unique<Win32Platform>(options); }

}  // namespace velmora::platform::win32
