#include "app/Hotkeys.h"

#include <utility>

#include "app/Application.h"
#include "app/tools.h"
#include "overlay/FrmMain.h"
#include "ruler/ReadingRuler.h"

namespace velmora {

namespace {
struct Binding {
    Hotkeys::Id id;
    const char* key;
    const char* byDefault;  // chosen to clash with no common desktop's own shortcuts
    const char* name;       // as its box in Settings names it
};
constexpr Binding kBindings[] = {
    {Hotkeys::Tint, keys::hotkeytint, "Ctrl+Alt+O", "Tint on or off"},
    {Hotkeys::ClickThrough, keys::hotkeyclick, "Ctrl+Alt+P", "Clicks through on or off"},
    {Hotkeys::Ruler, keys::hotkeyruler, "Ctrl+Alt+R", "Ruler on or off"},
    {Hotkeys::RulerUp, keys::hotkeyrulerup, "Ctrl+Alt+PgUp", "Ruler up"},
    {Hotkeys::RulerDown, keys::hotkeyrulerdown, "Ctrl+Alt+PgDown", "Ruler down"},
    {Hotkeys::Menu, keys::hotkeymenu, "Ctrl+Alt+M", "Notification menu"},
};

const Binding& bindingOf(Hotkeys::Id id) { return kBindings[id - Hotkeys::Tint]; }
}  // namespace

Hotkeys::Hotkeys(Application& app) : app_(app) {}

void Hotkeys::registerAll() {
    Trouble trouble;
    for (const Binding& b : kBindings) take(b.id, trouble);
    tell(trouble);
}

void Hotkeys::refresh(Id id) {
    Trouble trouble;
    take(id, trouble);
    tell(trouble);
}

// The ruler's steps grab their keys from every program only while they do something.
void Hotkeys::take(Id id, Trouble& trouble) {
    platform::Input& input = app_.platform().input;
    input.unregisterHotkey(id);
    held_.erase(id);
    if (paused_) return;
    Store& store = app_.store();
    if (id == RulerUp || id == RulerDown) {
        const bool stepping = tools::storedSwitch(store.get(keys::ruler), false) &&
                              !tools::storedSwitch(store.get(keys::rulerfollow), true);
        if (!stepping) return;
    }
    const auto key = keyOf(id);
    if (!key) return;
    const std::string text = platform::hotkeyText(*key);
    // The tool that had the key first keeps it.
    for (const auto& [other, held] : held_) {
        if (held != *key) continue;
        const std::string first = std::string("\"") + bindingOf(static_cast<Id>(other)).name + "\"";
        trouble.twice.push_back(text + " is set for both " + first + " and \"" + bindingOf(id).name + "\": only " +
                                first + " has it");
        return;
    }
    switch (input.registerHotkey(id, *key)) {
        case platform::HotkeyGrab::Taken:
            held_[id] = *key;
            break;
        case platform::HotkeyGrab::HeldElsewhere:
            trouble.taken.push_back(text);
            break;
        case platform::HotkeyGrab::NotPossible:
            trouble.impossible.push_back(text);
            break;
    }
}

std::optional<platform::Hotkey> Hotkeys::keyOf(Id id) {
    const Binding& b = bindingOf(id);
    return tools::storedHotkey(app_.store().tryGet(b.key), *platform::tryParseHotkey(b.byDefault));
}

std::string Hotkeys::textOf(Id id) {
    const auto key = keyOf(id);
    return key ? platform::hotkeyText(*key) : std::string{};
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
    for (const Binding& b : kBindings) app_.platform().input.unregisterHotkey(b.id);
    held_.clear();
}

void Hotkeys::resume() {
    if (!std::exchange(paused_, false)) return;
    registerAll();
}

void Hotkeys::pressed(int id) {
    FrmMain& overlay = app_.form<FrmMain>();
    switch (id) {
        case Tint:
            overlay.toggleTint();
            break;
        case ClickThrough:
            overlay.setClickThrough(!overlay.clicksGoThrough());
            break;
        case Ruler:
            app_.ruler().toggle();
            refresh(RulerUp);
            refresh(RulerDown);
            break;
        case RulerUp:
            app_.ruler().step(-1);
            break;
        case RulerDown:
            app_.ruler().step(1);
            break;
        case Menu:
            overlay.openNotificationMenu();
            break;
        default:
            break;
    }
}

}  // namespace velmora
