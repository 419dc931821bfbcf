#include "app/Hotkeys.h"

#include <utility>

#include "app/Application.h"
#include "overlay/FrmMain.h"

namespace velmora {

namespace {
inline constexpr tools::KeyDesign kTintKey{{"hotkeytint", "Ctrl+Alt+O"}, "lblKeyTint", "hkTint", "&Tint on or off:"};
inline constexpr tools::KeyDesign kMenuKey{{"hotkeymenu", "Ctrl+Alt+M"}, "lblKeyMenu", "hkMenu", "Notification &menu:"};
enum Own : std::size_t { kTint, kMenu };

// "Clic&ks through on or off:" names its key "Clicks through on or off".
std::string nameOf(const tools::KeyDesign& design) {
    std::string name;
    for (const char* c = design.caption; *c != '\0'; ++c) {
        if (*c != '&') name += *c;
    }
    if (!name.empty() && name.back() == ':') name.pop_back();
    return "\"" + name + "\"";
}

// A key's platform id: its place in the list, from 1.
int idOf(std::size_t key) { return static_cast<int>(key) + 1; }
}  // namespace

Hotkeys::Hotkeys(Application& app) : app_(app) {
    bindings_.push_back({kTintKey, nullptr, kTint});
    for (const auto& tool : app.readingTools()) {
        const auto designs = tool->keys();
        for (std::size_t i = 0; i < designs.size(); ++i) bindings_.push_back({designs[i], tool.get(), i});
    }
    bindings_.push_back({kMenuKey, nullptr, kMenu});
}

bool Hotkeys::wanted(const Binding& binding) const {
    return binding.tool == nullptr || binding.tool->keyWanted(binding.index);
}

void Hotkeys::registerAll() {
    registered_ = true;
    Trouble trouble;
    for (std::size_t key = 0; key < bindings_.size(); ++key) take(key, trouble);
    tell(trouble);
}

void Hotkeys::settingChanged(std::string_view setting) {
    if (!registered_) return;
    Trouble trouble;
    for (std::size_t key = 0; key < bindings_.size(); ++key) {
        const Binding& b = bindings_[key];
        if (setting == b.design.setting.key || b.wanted != wanted(b)) take(key, trouble);
    }
    tell(trouble);
}

void Hotkeys::take(std::size_t key, Trouble& trouble) {
    platform::Input& input = app_.platform().input;
    Binding& b = bindings_[key];
    input.unregisterHotkey(idOf(key));
    held_.erase(key);
    b.wanted = wanted(b);
    if (paused_ || !b.wanted) return;
    const auto hotkey = app_.model().get(b.design.setting);
    if (!hotkey) return;
    const std::string text = platform::hotkeyText(*hotkey);
    // The key that had it first keeps it.
    for (const auto& [other, held] : held_) {
        if (held != *hotkey) continue;
        const std::string first = nameOf(bindings_[other].design);
        trouble.twice.push_back(text + " is set for both " + first + " and " + nameOf(b.design) + ": only " + first +
                                " has it");
        return;
    }
    switch (input.registerHotkey(idOf(key), *hotkey)) {
        case platform::HotkeyGrab::Taken:
            held_[key] = *hotkey;
            break;
        case platform::HotkeyGrab::HeldElsewhere:
            trouble.taken.push_back(text);
            break;
        case platform::HotkeyGrab::NotPossible:
            trouble.impossible.push_back(text);
            break;
    }
}

std::string Hotkeys::textOf(std::size_t key) {
    const auto hotkey = app_.model().get(bindings_[key].design.setting);
    return hotkey ? platform::hotkeyText(*hotkey) : std::string{};
}

void Hotkeys::typed(std::size_t key, toolkit::HotkeyBox& box) {
    const std::string text = box.Text();
    const HotkeySetting& setting = bindings_[key].design.setting;
    if (const auto hotkey = platform::tryParseHotkey(text)) {
        app_.model().set(setting, hotkey);
    } else if (text.find_first_not_of(' ') == std::string::npos) {
        app_.model().set(setting, std::nullopt);
    } else {
        box.setText(textOf(key));  // no key this program can use: the one it had
    }
}

void Hotkeys::tell(const Trouble& trouble) {
    // Where no program may have a hotkey there is nothing to choose instead.
    if (!app_.platform().input.hotkeysPossible()) return;
    const auto untold = [this](const std::vector<std::string>& items, const char* separator) {
        std::string list;
        for (const std::string& item : items) {
            if (!told_.insert(item).second) continue;
            list += (list.empty() ? "" : separator) + item;
        }
        return list;
    };
    std::string message;
    if (const std::string list = untold(trouble.twice, ". "); !list.empty()) message += kTwice + list + kChooseOthers;
    if (const std::string list = untold(trouble.taken, ", "); !list.empty()) {
        message += (message.empty() ? "" : "\n") + (kTaken + list) + kChooseOthers;
    }
    if (const std::string list = untold(trouble.impossible, ", "); !list.empty()) {
        message += (message.empty() ? "" : "\n") + (kNotPossible + list) + kChooseOthers;
    }
    if (!message.empty()) app_.msgBox(message);
}

void Hotkeys::pause() {
    paused_ = true;
    for (std::size_t key = 0; key < bindings_.size(); ++key) app_.platform().input.unregisterHotkey(idOf(key));
    held_.clear();
}

void Hotkeys::resume() {
    if (!std::exchange(paused_, false)) return;
    registerAll();
}

void Hotkeys::pressed(int id) {
    if (id < 1 || static_cast<std::size_t>(id) > bindings_.size()) return;
    const Binding& b = bindings_[static_cast<std::size_t>(id - 1)];
    if (b.tool != nullptr) {
        b.tool->pressed(b.index);
    } else if (b.index == kTint) {
        app_.form<FrmMain>().toggleTint();
    } else {
        app_.form<FrmMain>().openNotificationMenu();
    }
}

}  // namespace velmora
