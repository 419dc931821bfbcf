// The About box.
#pragma once

#include "toolkit/controls.h"

namespace velmora {

class Application;

class frmAbout : public toolkit::Form {
public:
    explicit frmAbout(Application& app);

private:
    Application& app_;
};

}  // namespace velmora
