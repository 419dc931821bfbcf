// The colour picker.
#pragma once

#include "toolkit/controls.h"

namespace velmora {

class Application;

class Form1 : public toolkit::Form {
public:
    explicit Form1(Application& app);

private:
    Application& app_;
};

}  // namespace velmora
