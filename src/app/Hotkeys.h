// The global hotkeys: the program's own (the tint on and off, and the
// notification menu for those who cannot use a mouse) and each reading tool's,
// in the order Settings lists them: the tint's first, the menu's last.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/ReadingTool.h"

namespace velmora {

class Application;

class Hotkeys {
public:
    explicit Hotkeys(Application& app);

    // Takes every key the settings name, and tells once what it could not take.
    void registerAll();
    // A key was set, or a tool's settings changed which of its keys it wants.
    void settingChanged(std::string_view key);
    void pressed(int id);
    // While the settings are open the keys are the person's to type into the
    // hotkey boxes, not the program's to act on.
    void pause();
    void resume();

    // The keys as Settings lists them.
    std::size_t count() const { return bindings_.size(); }
    const tools::KeyDesign& design(std::size_t key) const { return bindings_[key].design; }
    // The key as the settings show it: what is stored, the default, or empty for none.
    std::string textOf(std::size_t key);
    // What a person set in a key's box: stored when it names a key or none;
    // anything else and the box shows the key it had.
    void typed(std::size_t key, toolkit::HotkeyBox& box);

    static constexpr const char* kTaken =
        "Velmora could not take these keys, because another program already uses them: ";
    static constexpr const char* kNotPossible = "This desktop does not let any program take these keys: ";
    static constexpr const char* kTwice = "Velmora gives a key to one tool only. ";
    static constexpr const char* kChooseOthers = ". You can choose other keys in Settings.";

private:
    struct Binding {
        tools::KeyDesign design;
        tools::ReadingTool* tool;  // none: the program's own
        std::size_t index;         // among its tool's keys, or the program's own
        bool wanted = false;       // as last taken
    };
    // What went wrong with the keys asked for, each told once per run.
    struct Trouble {
        std::vector<std::string> taken, impossible, twice;
    };
    bool wanted(const Binding& binding) const;
    void take(std::size_t key, Trouble& trouble);
    void tell(const Trouble& trouble);

    Application& app_;
    std::vector<Binding> bindings_;
    std::map<std::size_t, platform::Hotkey> held_;
    std::set<std::string> told_;
    bool paused_ = false;
    bool registered_ = false;  // no key is taken before start-up asks
};

}  // namespace velmora
