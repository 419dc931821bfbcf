// The platform a program runs on: one backend's implementation of each role.
// Each main (and each test) builds one and hands it to the program, which
// reaches every role through it; it outlives everything built on it.
#pragma once

#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/filter.h"
#include "platform/input.h"
#include "platform/native.h"
#include "platform/store.h"
#include "platform/windows.h"

namespace velmora::platform {

class Platform {
public:
    virtual ~Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    Windows& windows;
    Controls& controls;
    Dialogs& dialogs;
    Desktop& desktop;
    NativeCalls& native;
    Input& input;
    ScreenFilter& filter;
    SettingsStore& settings;

protected:
    // A backend passes its own implementation of each role, which it owns and keeps alive.
    Platform(Windows& windows_, Controls& controls_, Dialogs& dialogs_, Desktop& desktop_, NativeCalls& native_,
             Input& input_, ScreenFilter& filter_, SettingsStore& settings_)
        : windows(windows_),
          controls(controls_),
          dialogs(dialogs_),
          desktop(desktop_),
          native(native_),
          input(input_),
          filter(filter_),
          settings(settings_) {}
};

}  // namespace velmora::platform
