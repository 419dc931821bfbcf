// The program: the five single-instance windows, the settings store, start-up
// and the end of the program.
#pragma once

#include <memory>

#include "app/store.h"
#include "toolkit/runtime.h"

namespace velmora {

class FrmMain;
class Form1;
class Form2;
class frmAbout;
class frmSettings;

class Application : public toolkit::Runtime {
public:
    explicit Application(platform::Platform& platform);
    ~Application() override;

    // The window of that class, created (not loaded) on first reference.
    template <class Window>
    Window& form();

    Store& store() { return store_; }

    // Loads the start-up window, the overlay, and shows it unless its load handler hid it.
    void start();
    // start(), then the platform's event loop; returns the exit code.
    int run();

private:
    Store store_;
    std::unique_ptr<FrmMain> frmMain_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<frmAbout> frmAbout_;
    std::unique_ptr<frmSettings> frmSettings_;
};

}  // namespace velmora
