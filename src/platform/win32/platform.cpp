#include "platform/win32/platform.h"

#include "platform/backend.h"
#include "platform/win32/state.h"
#include "platform/win32/store.h"

namespace velmora::platform::win32 {

namespace {

struct Win32Roles : BackendRoles<State> {
    explicit Win32Roles(const Options& options) : BackendRoles(GetModuleHandleA(nullptr), options) {}
    RegistryStore store;
};

class Win32Platform final : private Win32Roles, public Platform {
public:
    explicit Win32Platform(const Options& options)
        : Win32Roles(options),
          Platform(*windowsRole, *controlsRole, *dialogsRole, *desktopRole, *nativeRole, *inputRole, *filterRole,
                   store) {}
};

}  // namespace

std::unique_ptr<Platform> createPlatform(const Options& options) { return std::make_unique<Win32Platform>(options); }

}  // namespace velmora::platform::win32
