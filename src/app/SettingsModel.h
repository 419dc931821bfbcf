// The reading tools' settings as values: whoever needs one asks here, whoever
// changes one says so here, and whoever shows one hears of the change. The
// windows that keep their own moments of reading and writing the store (the
// tint's colour and place, the start-up choices) keep doing so themselves.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/setting.h"
#include "platform/types.h"
#include "toolkit/handler.h"

namespace velmora {

class Application;

class SettingsModel {
public:
    // Hears every change once it is stored; key is the setting's, or kTintShown.
    using Listener = toolkit::Handler<std::string_view>;

    explicit SettingsModel(Application& app) : app_(app) {}

    int get(const NumberSetting& setting) const;
    bool get(const SwitchSetting& setting) const;
    std::optional<platform::Hotkey> get(const HotkeySetting& setting) const;
    std::optional<std::string> get(const TextSetting& setting) const { return stored(setting.key); }

    // Stored as the setting writes it, through the program's one way of saving;
    // a value the store could not keep is not taken (as reading it back shows).
    void set(const NumberSetting& setting, int value);
    void set(const SwitchSetting& setting, bool on);
    void set(const HotkeySetting& setting, const std::optional<platform::Hotkey>& hotkey);
    void set(const TextSetting& setting, const std::string& text) { store(setting.key, text); }

    // The tint as the overlay shows it now: its colour and strength, for those
    // that show it too.
    struct Tint {
        platform::Color color = 0;
        int alpha = 0;
        bool operator==(const Tint&) const = default;
    };
    const Tint& tint() const { return tint_; }
    void tintShown(const Tint& tint);
    static constexpr std::string_view kTintShown = "(tint shown)";

    void listen(Listener listener) { listeners_.push_back(listener); }

private:
    std::optional<std::string> stored(const char* key) const;
    void store(const char* key, const std::string& text);

    Application& app_;
    Tint tint_;
    std::vector<Listener> listeners_;
};

}  // namespace velmora
