// The global hotkeys: the tint on and off, clicks through it, the reading
// ruler, the ruler's steps while it stays where it is, and the notification
// menu for those who cannot use a mouse.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/keys.h"

namespace velmora {

class Application;

class Hotkeys {
public:
    enum Id { Tint = 1, ClickThrough, Ruler, RulerUp, RulerDown, Menu };

    explicit Hotkeys(Application& app);

    // Takes every key the settings name, and tells once which another program holds.
    void registerAll();
    // After one of them changed in the settings, or the ruler's mode changed.
    void refresh(Id id);
    void pressed(int id);
    // While the settings are open the keys are the person's to type into the
    // hotkey boxes, not the program's to act on.
    void pause();
    void resume();
    // The key as the settings show it: what is stored, the default, or empty for none.
    std::string textOf(Id id);

    static constexpr const char* kTaken =
        "Velmora could not take these keys, because another program already uses them: ";
    static constexpr const char* kNotPossible = "This desktop does not let any program take these keys: ";
    static constexpr const char* kTwice = "Velmora gives a key to one tool only. ";
    static constexpr const char* kChooseOthers = ". You can choose other keys in Settings.";

private:
    // What went wrong with the keys asked for, each told once per run.
    struct Trouble {
        std::vector<std::string> taken, impossible, twice;
    };
    void take(Id id, Trouble& trouble);
    std::optional<platform::Hotkey> keyOf(Id id);
    void tell(const Trouble& trouble);

    Application& app_;
    std::map<int, platform::Hotkey> held_;
    std::set<std::string> told_;
    bool paused_ = false;
};

}  // namespace velmora
