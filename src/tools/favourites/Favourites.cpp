#include "tools/favourites/Favourites.h"

#include <charconv>

#include "app/Application.h"
#include "app/numbers.h"
#include "overlay/FrmMain.h"
#include "tools/strength/Strength.h"

namespace velmora::tools {

namespace {
// A whole number within range, nothing else.
std::optional<int> tryWhole(std::string_view text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

// A name shown as written in a menu, where "&" would mark a mnemonic.
std::string menuText(const std::string& name) {
    std::string text;
    for (const char c : name) text += c == '&' ? std::string("&&") : std::string(1, c);
    return text;
}
}  // namespace

std::optional<Favourite> tryParseFavourite(const std::string& text) {
    int numbers[4] = {0, 0, 0, 0};
    std::size_t from = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',', from);
        if (comma == std::string::npos) return std::nullopt;
        const auto number = tryWhole(std::string_view(text).substr(from, comma - from), i < 3 ? 0 : kAlpha.lowest,
                                     i < 3 ? 255 : kAlpha.highest);
        if (!number) return std::nullopt;
        numbers[i] = *number;
        from = comma + 1;
    }
    const std::string name = text.substr(from);
    if (name.find_first_not_of(' ') == std::string::npos) return std::nullopt;
    return Favourite{numbers[0], numbers[1], numbers[2], numbers[3], name};
}

std::string favouriteText(const Favourite& f) {
    return std::to_string(f.red) + "," + std::to_string(f.green) + "," + std::to_string(f.blue) + "," +
           std::to_string(f.alpha) + "," + f.name;
}

std::vector<Favourite> favourites(Application& app) {
    std::vector<Favourite> list;
    for (const TextSetting& slot : kFavourites) {
        if (const auto text = app.model().get(slot)) {
            if (const auto favourite = tryParseFavourite(*text)) list.push_back(*favourite);
        }
    }
    return list;
}

void storeFavourites(Application& app, const std::vector<Favourite>& list) {
    for (std::size_t i = 0; i < std::size(kFavourites); ++i) {
        const std::string text = i < list.size() ? favouriteText(list[i]) : std::string{};
        // A slot never written and still empty stays unwritten.
        if (text.empty() && !app.model().get(kFavourites[i])) continue;
        app.model().set(kFavourites[i], text);
    }
}

bool addFavourite(Application& app, const Favourite& favourite) {
    auto list = favourites(app);
    if (list.size() >= std::size(kFavourites)) {
        app.msgBox(kFavouritesFull);
        return false;
    }
    list.push_back(favourite);
    storeFavourites(app, list);
    return true;
}

// The tint as the overlay shows it, which has read the stored colour by its own rules.
Favourite Favourites::current() {
    const SettingsModel::Tint& tint = app_.model().tint();
    return {static_cast<int>(tint.color & 0xFFU),
            static_cast<int>((tint.color >> 8) & 0xFFU),
            static_cast<int>((tint.color >> 16) & 0xFFU),
            tint.alpha,
            {}};
}

void Favourites::use(const Favourite& favourite) {
    app_.saveSetting(keys::red, std::to_string(favourite.red));
    app_.saveSetting(keys::green, std::to_string(favourite.green));
    app_.saveSetting(keys::blue, std::to_string(favourite.blue));
    app_.model().set(kAlpha, favourite.alpha);
    app_.form<FrmMain>().applyStoredTint();
}

std::vector<KeyDesign> Favourites::keys() const {
    return {{kFavouriteKey, "lblKeyFavourite", "hkFavourite", "Ne&xt favourite:"}};
}

// The next after the one in use, or the first.
void Favourites::pressed(std::size_t) {
    const auto list = favourites(app_);
    if (list.empty()) return;
    const Favourite now = current();
    std::size_t next = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        Favourite f = list[i];
        f.name.clear();
        if (f == now) {
            next = (i + 1) % list.size();
            break;
        }
    }
    use(list[next]);
}

std::vector<toolkit::Menu::Entry> Favourites::menuEntries() {
    toolkit::Menu::Entry menu{"mnuFavourites", "F&avourites", {}, false, {}};
    const auto list = favourites(app_);
    const Favourite now = current();
    for (std::size_t i = 0; i < list.size(); ++i) {
        Favourite plain = list[i];
        plain.name.clear();
        menu.items.push_back({"mnuFavourite" + std::to_string(i + 1),
                              menuText(list[i].name),
                              [this, i] {
                                  const auto all = favourites(app_);
                                  if (i < all.size()) use(all[i]);
                              },
                              plain == now,
                              {}});
    }
    if (list.empty()) menu.items.push_back({"mnuNoFavourite", "None yet: add them in Settings", {}, false, {}});
    return {std::move(menu)};
}

std::unique_ptr<ToolRows> Favourites::makeRows(RowLayout& layout) {
    return std::make_unique<ButtonRow>(layout, "cmdFavourites", "Favour&ites...", [this] { window().Show(); });
}

frmFavourites& Favourites::window() {
    if (!window_) window_ = std::make_unique<frmFavourites>(app_, *this);
    return *window_;
}

}  // namespace velmora::tools
