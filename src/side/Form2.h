// The sponsor panel.
#pragma once

#include "toolkit/controls.h"

namespace velmora {

class Application;

class Form2 : public toolkit::Form {
public:
    explicit Form2(Application& app);

private:
    Application& app_;
};

}  // namespace velmora
