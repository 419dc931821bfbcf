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
};
constexpr Binding kBindings[] = {
    {Hotkeys::Tint, keys::hotkeytint, "Ctrl+Alt+O"},
    {Hotkeys::ClickThrough, keys::hotkeyclick, "Ctrl+Alt+P"},
    {Hotkeys::Ruler, keys::hotkeyruler, "Ctrl+Alt+R"},
    {Hotkeys::RulerUp, keys::hotkeyrulerup, "Ctrl+Alt+PgUp"},
    {Hotkeys::RulerDown, keys::hotkeyrulerdown, "Ctrl+Alt+PgDown"},
};

const Binding& bindingOf(Hotkeys::Id id) { return kBindings[id - Hotkeys::Tint]; }
}  // namespace

Hotkeys::Hotkeys(Application& app) : app_(app) {}

void Hotkeys::registerAll() {
    std::vector<std::string> taken;
    for (const Binding& b : kBindings) take(b.id, taken);
    tell(taken);
}

void Hotkeys::refresh(Id id) {
    std::vector<std::string> taken;
    take(id, taken);
    tell(taken);
}

// The ruler's steps grab their keys from every program only while they do something.
bool Hotkeys::take(Id id, std::vector<std::string>& taken) {
    platform::Input& input = app_.platform().input;
    input.unregisterHotkey(id);
    if (paused_) return true;
    Store& store = app_.store();
    if (id == RulerUp || id == RulerDown) {
        const bool stepping = tools::storedSwitch(store.get(keys::ruler), false) &&
                              !tools::storedSwitch(store.get(keys::rulerfollow), true);
        if (!stepping) return true;
    }
    const auto key = keyOf(id);
    if (!key || input.registerHotkey(id, *key)) return true;
    taken.push_back(platform::hotkeyText(*key));
    return false;
}

std::optional<platform::Hotkey> Hotkeys::keyOf(Id id) {
    const Binding& b = bindingOf(id);
    return tools::storedHotkey(app_.store().tryGet(b.key), *platform::tryParseHotkey(b.byDefault));
}

std::string Hotkeys::textOf(Id id) {
    const auto key = keyOf(id);
    return key ? platform::hotkeyText(*key) : std::string{};
}

void Hotkeys::tell(const std::vector<std::string>& taken) {
    // Where no program may have a hotkey there is nothing to choose instead.
    if (!app_.platform().input.hotkeysPossible()) return;
    std::string list;
    for (const std::string& key : taken) {
        if (!told_.insert(key).second) continue;
        list += (list.empty() ? "" : ", ") + key;
    }
    if (!list.empty()) app_.msgBox(kTaken + list + ". You can choose other keys in Settings.");
}

void Hotkeys::pause() {
    paused_ = true;
    for (const Binding& b : kBindings) app_.platform().input.unregisterHotkey(b.id);
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
        default:
            break;
    }
}

}  // namespace velmora
