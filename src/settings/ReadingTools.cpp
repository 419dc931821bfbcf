#include "settings/ReadingTools.h"

#include "app/Application.h"
#include "app/Hotkeys.h"

namespace velmora {

namespace {
// The group's design before any row; rows start below its caption.
constexpr toolkit::TwipsRect kGroup{240, 2280, 5745, 0};
constexpr float kFirstRow = 300;
constexpr float kKeyRow = 420;
constexpr float kBelowLastRow = 255;
constexpr float kKeysWhyHeight = 1500;  // six lines of text
constexpr int kFirstTab = 4;
}  // namespace

ReadingTools::ReadingTools(toolkit::Form& form, Application& app)
    : fraReadingTools(form,
                      {.name = "fraReadingTools", .at = kGroup, .look = {.text = "Reading tools", .tabIndex = 3}}),
      app_(app) {
    tools::RowLayout layout(form, fraReadingTools, kFirstRow, kFirstTab);
    for (const auto& tool : app.readingTools()) {
        if (auto rows = tool->makeRows(layout)) rows_.push_back(std::move(rows));
    }
    Hotkeys& hotkeys = app.hotkeys();
    for (std::size_t key = 0; key < hotkeys.count(); ++key) {
        const tools::KeyDesign& design = hotkeys.design(key);
        const float top = layout.take(kKeyRow);
        auto row = std::unique_ptr<KeyRow>(
            new KeyRow{{form,
                        {.name = design.label,
                         .at = {120, top + 60, 2760, 285},
                         .look = {.text = design.caption, .transparentBack = true, .labelFor = design.box}},
                        &fraReadingTools},
                       {form,
                        {.name = design.box, .at = {2940, top, 2640, 315}, .look = {.tabIndex = layout.nextTab()}},
                        &fraReadingTools},
                       key});
        row->box.Change = [this, r = row.get()] { app_.hotkeys().typed(r->key, r->box); };
        keys_.push_back(std::move(row));
    }
    if (app.platform().desktop.waylandSessionThroughXWayland()) {
        lblKeysWhy = std::make_unique<toolkit::Label>(
            form,
            toolkit::ControlDesign{
                .name = "lblKeysWhy",
                .at = {120, layout.take(kKeysWhyHeight) + 60, 5460, kKeysWhyHeight},
                .look = {.text = app.platform().input.hotkeysByDesktop() ? kKeysByDesktop : kKeysInWayland,
                         .transparentBack = true}},
            &fraReadingTools);
    }
    const float height = layout.bottom() + kBelowLastRow;
    fraReadingTools.setDesignHeight(height);
    bottom_ = kGroup.top + height;
}

ReadingTools::~ReadingTools() = default;

void ReadingTools::load() {
    for (const auto& rows : rows_) rows->load();
    for (std::size_t key = 0; key < keys_.size(); ++key) keys_[key]->box.setText(app_.hotkeys().textOf(key));
}

}  // namespace velmora
