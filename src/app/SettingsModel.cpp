#include "app/SettingsModel.h"

#include "app/Application.h"

namespace velmora {

std::optional<std::string> SettingsModel::stored(const char* key) const { return app_.store().tryGet(key); }

int SettingsModel::get(const NumberSetting& setting) const { return setting.read(stored(setting.key)); }
bool SettingsModel::get(const SwitchSetting& setting) const { return setting.read(stored(setting.key)); }
std::optional<platform::Hotkey> SettingsModel::get(const HotkeySetting& setting) const {
    return setting.read(stored(setting.key));
}

void SettingsModel::store(const char* key, const std::string& text) {
    app_.saveSetting(key, text);
    for (const Listener& listener : listeners_) listener(key);
}

void SettingsModel::set(const NumberSetting& setting, int value) { store(setting.key, setting.text(value)); }
void SettingsModel::set(const SwitchSetting& setting, bool on) { store(setting.key, setting.text(on)); }
void SettingsModel::set(const HotkeySetting& setting, const std::optional<platform::Hotkey>& hotkey) {
    store(setting.key, setting.text(hotkey));
}

void SettingsModel::tintShown(const Tint& tint) {
    if (tint == tint_) return;
    tint_ = tint;
    for (const Listener& listener : listeners_) listener(kTintShown);
}

}  // namespace velmora
