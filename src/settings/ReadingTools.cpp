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
constexpr float kLineHeight = 250;

// "Clic&ks through on or off:" names its key "Clicks through on or off".
std::string nameOf(const tools::KeyDesign& design) {
    std::string name;
    for (const char* c = design.caption; *c != '\0'; ++c) {
        if (*c != '&') name += *c;
    }
    if (!name.empty() && name.back() == ':') name.pop_back();
    return name;
}
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
        // Room for the desktop's triggers, about two keys to a line.
        const float height =
            kKeysWhyHeight +
            (app.platform().input.hotkeysByDesktop() ? kLineHeight * static_cast<float>((hotkeys.count() + 1) / 2) : 0);
        lblKeysWhy = std::make_unique<toolkit::Label>(
            form,
            toolkit::ControlDesign{
                .name = "lblKeysWhy",
                .at = {120, layout.take(height) + 60, 5460, height},
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
    // The desktop answers in its own time: what it chose so far.
    if (lblKeysWhy) lblKeysWhy->setCaption(keysWhy());
}

std::string ReadingTools::keysWhy() const {
    platform::Input& input = app_.platform().input;
    if (!input.hotkeysByDesktop()) return kKeysInWayland;
    std::string chosen;
    bool told = false;
    const Hotkeys& hotkeys = app_.hotkeys();
    for (std::size_t key = 0; key < hotkeys.count(); ++key) {
        // A key's platform id is its place in the list, from 1.
        std::string trigger = input.desktopTrigger(static_cast<int>(key) + 1);
        told = told || !trigger.empty();
        chosen += (key == 0 ? "" : "; ") + nameOf(hotkeys.design(key)) + ": " + (trigger.empty() ? "none" : trigger);
    }
    if (!told) return kKeysByDesktop;
    return std::string(kKeysByDesktop) + " The desktop chose: " + chosen + ".";
}

}  // namespace velmora
