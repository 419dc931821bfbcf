// The settings dialog.
#pragma once

#include "toolkit/controls.h"

namespace velmora {

class Application;

class frmSettings : public toolkit::Form {
public:
    explicit frmSettings(Application& app);

private:
    Application& app_;
};

}  // namespace velmora
