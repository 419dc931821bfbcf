// The global hotkeys: the tint on and off, clicks through it, the reading
// ruler, and the ruler's steps while it stays where it is.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/keys.h"

namespace velmora {

class Application;

class Hotkeys {
public:
    enum Id { Tint = 1, ClickThrough, Ruler, RulerUp, RulerDown };

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

private:
    // False when the key is held elsewhere; the key's text then joins what to tell.
    bool take(Id id, std::vector<std::string>& taken);
    std::optional<platform::Hotkey> keyOf(Id id);
    void tell(const std::vector<std::string>& taken);

    Application& app_;
    std::set<std::string> told_;
    bool paused_ = false;
};

}  // namespace velmora
