// The program: the five single-instance windows, the settings store, start-up
// and the end of the program.
#pragma once

#include <memory>
#include <tuple>
#include <vector>

#include "app/SettingsModel.h"
#include "app/store.h"
#include "toolkit/runtime.h"
#include "tools/ReadingTool.h"

namespace velmora {

class FrmMain;
class Form1;
class Form2;
class frmAbout;
class frmSettings;
class Hotkeys;

class Application : public toolkit::Runtime {
public:
    explicit Application(platform::Platform& platform);
    ~Application() override;

    // The window of that class, created (not loaded) on first reference.
    template <class Window>
    Window& form() {
        auto& slot = std::get<std::unique_ptr<Window>>(windows_);
        if (!slot) slot = std::make_unique<Window>(*this);
        return *slot;
    }

    Store& store() { return store_; }
    SettingsModel& model() { return model_; }
    const std::vector<std::unique_ptr<tools::ReadingTool>>& readingTools() const { return tools_; }
    Hotkeys& hotkeys() { return *hotkeys_; }
    // Who tells the person that a setting could not be saved.
    enum class Tell { OncePerRun, ByCaller };
    // The one way the program saves a setting. The first write that fails in a
    // run tells the person once, so a store that cannot be written is never
    // silent; a caller with a message of its own says it instead.
    bool saveSetting(const char* key, const std::string& value, Tell tell = Tell::OncePerRun);

    // Loads the start-up window, the overlay, and shows it unless its load handler
    // hid it. Without a notification area yet, it waits a little for one.
    void start();
    // Known to have no notification area: the overlay is then the only way back in.
    bool notificationAreaMissing() const { return notificationAreaMissing_; }
    // start(), then the platform's event loop; returns the exit code. A later
    // copy only tells the running one the command (to show itself, for a plain
    // start), and leaves; with none running, --quit and --hide start nothing and
    // the others start and then act.
    int run(const std::string& command = {});
    // A command word of the command line, as its menu entry, hotkey or button does.
    void command(const std::string& word);

    void onEvent(const platform::Event& event) override;

    // Shown once when the desktop has nowhere to put the notification icon.
    static constexpr const char* kNoNotificationArea =
        "Velmora found no notification area on this desktop, so it cannot show its icon there. "
        "The tint window stays open instead: its Exit button ends Velmora. "
        "If you close the tint window, start Velmora again to bring it back. "
        "Settings, the colour picker and the rest are in Velmora's entry in the desktop's menu of programs "
        "(right-click it for its actions), and are commands too, such as velmora --settings "
        "(velmora --help lists them).";
    static constexpr const char* kStoreUnwritable =
        "Velmora could not save its settings, so changes made now will be lost when it ends.";

protected:
    void atEnd() override;

private:
    // A change reaches the tools first, then the keys they want.
    void settingChanged(std::string_view key);

    Store store_;
    SettingsModel model_;
    bool toldStoreFailure_ = false;
    bool waitingForNotificationArea_ = false;
    bool notificationAreaMissing_ = false;
    std::vector<std::unique_ptr<tools::ReadingTool>> tools_;
    std::unique_ptr<Hotkeys> hotkeys_;
    std::tuple<std::unique_ptr<frmSettings>, std::unique_ptr<frmAbout>, std::unique_ptr<Form2>, std::unique_ptr<Form1>,
               std::unique_ptr<FrmMain>>
        windows_;
};

}  // namespace velmora
