#include "tools/finder/ColourFinder.h"

#include "app/Application.h"

namespace velmora::tools {

ColourFinder::~ColourFinder() = default;

std::unique_ptr<ToolRows> ColourFinder::makeRows(RowLayout& layout) {
    return std::make_unique<ButtonRow>(layout, "cmdFinder", "Colour fi&nder...", [this] { open(); });
}

std::vector<toolkit::Menu::Entry> ColourFinder::menuEntries() {
    return {{"mnuFinder", "Colour &finder", [this] { open(); }, false, {}}};
}

// A finder already open starts again: a new page and a new search.
void ColourFinder::open() {
    if (!window_) window_ = std::make_unique<frmFinder>(app_);
    window_->Unload();
    window_->Show();
}

}  // namespace velmora::tools
