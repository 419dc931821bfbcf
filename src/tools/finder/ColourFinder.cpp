#include "tools/finder/ColourFinder.h"

#include "app/Application.h"

namespace velmora::tools {

namespace {

class FinderRows final : public ToolRows {
public:
    FinderRows(ColourFinder& finder, RowLayout& at)
        : cmdFinder(at.form,
                    {.name = "cmdFinder",
                     .at = {120, at.take(480), 2400, 375},
                     .look = {.text = "Colour fi&nder...", .tabIndex = at.nextTab()}},
                    &at.group),
          finder_(finder) {
        cmdFinder.Click = [this] { finder_.open(); };
    }
    void load() override {}

private:
    toolkit::CommandButton cmdFinder;
    ColourFinder& finder_;
};

}  // namespace

ColourFinder::~ColourFinder() = default;

std::unique_ptr<ToolRows> ColourFinder::makeRows(RowLayout& layout) {
    return std::make_unique<FinderRows>(*this, layout);
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
