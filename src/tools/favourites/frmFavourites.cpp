#include "tools/favourites/frmFavourites.h"

#include <algorithm>

#include "app/Application.h"
#include "tools/favourites/Favourites.h"

namespace velmora::tools {

namespace {
toolkit::LookDesign button(const char* text, int tab) { return {.text = text, .tabIndex = tab}; }
// A label that names the control after it and carries its mnemonic.
toolkit::LookDesign labelOf(const char* text, const char* control) {
    return {.text = text, .transparentBack = true, .labelFor = control};
}
}  // namespace

frmFavourites::frmFavourites(Application& app, Favourites& tool)
    : toolkit::Form(app, {.name = "frmFavourites",
                          .caption = kCaption,
                          .border = platform::BorderStyle::FixedDialog,
                          .minMaxButtons = false,
                          .client = {5400, 3600},
                          .closeOnEscape = true}),
      lblList(*this,
              {.name = "lblList", .at = {120, 120, 3120, 285}, .look = labelOf("Favour&ites:", "lstFavourites")}),
      lstFavourites(*this, {.name = "lstFavourites", .at = {120, 420, 3120, 2100}, .look = {.tabIndex = 0}}),
      cmdUse(*this, {.name = "cmdUse", .at = {3360, 420, 1815, 375}, .look = button("&Use", 1)}),
      cmdEarlier(*this, {.name = "cmdEarlier", .at = {3360, 840, 1815, 375}, .look = button("Move ear&lier", 2)}),
      cmdLater(*this, {.name = "cmdLater", .at = {3360, 1260, 1815, 375}, .look = button("Move lo&wer", 3)}),
      cmdRemove(*this, {.name = "cmdRemove", .at = {3360, 1680, 1815, 375}, .look = button("Remo&ve", 4)}),
      lblName(*this, {.name = "lblName", .at = {120, 2700, 900, 285}, .look = labelOf("&Name:", "txtName")}),
      txtName(*this, {.name = "txtName", .at = {1080, 2640, 2160, 315}, .look = {.tabIndex = 5}}),
      cmdAdd(*this, {.name = "cmdAdd", .at = {3360, 2610, 1815, 375}, .look = button("&Add the tint", 6)}),
      cmdRename(*this, {.name = "cmdRename", .at = {3360, 3030, 1815, 375}, .look = button("R&ename", 7)}),
      app_(app),
      tool_(tool) {
    lstFavourites.Change = [this] { chosen(); };
    cmdUse.Click = [this] { use(); };
    cmdEarlier.Click = [this] { move(-1); };
    cmdLater.Click = [this] { move(1); };
    cmdRemove.Click = [this] { remove(); };
    cmdAdd.Click = [this] { add(); };
    cmdRename.Click = [this] { rename(); };
}

void frmFavourites::Form_Load() { refresh(0); }

void frmFavourites::refresh(int chosen) {
    const auto list = favourites(app_);
    std::vector<std::string> names;
    for (const Favourite& f : list) names.push_back(f.name);
    lstFavourites.setItems(names);
    const int at = list.empty() ? -1 : std::clamp(chosen, 0, static_cast<int>(list.size()) - 1);
    lstFavourites.setListIndex(at);
    txtName.setText(at < 0 ? std::string{} : list[static_cast<std::size_t>(at)].name);
}

void frmFavourites::chosen() {
    const auto list = favourites(app_);
    const int at = lstFavourites.ListIndex();
    if (at >= 0 && at < static_cast<int>(list.size())) txtName.setText(list[static_cast<std::size_t>(at)].name);
}

// A blank name names it by its place.
void frmFavourites::add() {
    Favourite f = tool_.current();
    const std::string name = txtName.Text();
    const auto count = favourites(app_).size();
    f.name = name.find_first_not_of(' ') == std::string::npos ? "Favourite " + std::to_string(count + 1) : name;
    if (addFavourite(app_, f)) refresh(static_cast<int>(count));
}

void frmFavourites::rename() {
    auto list = favourites(app_);
    const int at = lstFavourites.ListIndex();
    const std::string name = txtName.Text();
    if (at < 0 || at >= static_cast<int>(list.size()) || name.find_first_not_of(' ') == std::string::npos) return;
    list[static_cast<std::size_t>(at)].name = name;
    storeFavourites(app_, list);
    refresh(at);
}

void frmFavourites::remove() {
    auto list = favourites(app_);
    const int at = lstFavourites.ListIndex();
    if (at < 0 || at >= static_cast<int>(list.size())) return;
    list.erase(list.begin() + at);
    storeFavourites(app_, list);
    refresh(at);
}

void frmFavourites::move(int by) {
    auto list = favourites(app_);
    const int at = lstFavourites.ListIndex();
    const int to = at + by;
    if (at < 0 || to < 0 || to >= static_cast<int>(list.size())) return;
    std::swap(list[static_cast<std::size_t>(at)], list[static_cast<std::size_t>(to)]);
    storeFavourites(app_, list);
    refresh(to);
}

void frmFavourites::use() {
    const auto list = favourites(app_);
    const int at = lstFavourites.ListIndex();
    if (at >= 0 && at < static_cast<int>(list.size())) tool_.use(list[static_cast<std::size_t>(at)]);
}

}  // namespace velmora::tools
