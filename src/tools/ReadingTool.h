// A reading tool is one unit: its settings, its keys, its rows in the Settings
// dialog's "Reading tools" group, any notification-menu entries, and what it
// does. The program knows its tools from one list (makeReadingTools) and loops
// over it at start-up, for the keys, in Settings and in the menu.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "app/setting.h"
#include "toolkit/controls.h"

namespace velmora {

class Application;

namespace tools {

// A global key and the row in Settings that sets it.
struct KeyDesign {
    HotkeySetting setting;
    const char* label;    // the row's label control, "lblKeyRuler"
    const char* box;      // its hotkey box, "hkRuler"
    const char* caption;  // "R&uler on or off:"; without its & and colon it names the key in messages
};

// Where the next row of the "Reading tools" group goes, in twips, and its tab stop.
class RowLayout {
public:
    RowLayout(toolkit::Form& form, toolkit::Frame& group, float top, int tabIndex)
        : form(form), group(group), top_(top), tab_(tabIndex) {}
    // The top of a row of this height; the next row goes below it.
    float take(float height) {
        const float top = top_;
        top_ += height;
        return top;
    }
    int nextTab() { return tab_++; }
    float bottom() const { return top_; }

    toolkit::Form& form;
    toolkit::Frame& group;

private:
    float top_;
    int tab_;
};

// A tool's rows in the Settings dialog: made with the dialog, filled on each load.
class ToolRows {
public:
    virtual ~ToolRows() = default;
    // Shows what is stored; stores nothing.
    virtual void load() = 0;
};

// A row of one button, which opens a window of the tool's.
class ButtonRow final : public ToolRows {
public:
    ButtonRow(RowLayout& at, const char* name, const char* caption, toolkit::Handler<> opens)
        : button_(
              at.form,
              {.name = name, .at = {120, at.take(480), 2400, 375}, .look = {.text = caption, .tabIndex = at.nextTab()}},
              &at.group) {
        button_.Click = opens;
    }
    void load() override {}

private:
    toolkit::CommandButton button_;
};

class ReadingTool {
public:
    virtual ~ReadingTool() = default;

    // Its keys, in the order Settings lists them; key i of this list below.
    virtual std::vector<KeyDesign> keys() const { return {}; }
    // A key not wanted now is left to other programs.
    virtual bool keyWanted(std::size_t key) {
        (void)key;
        return true;
    }
    virtual void pressed(std::size_t key) { (void)key; }

    // Its rows in the group, above every tool's keys.
    virtual std::unique_ptr<ToolRows> makeRows(RowLayout& layout) {
        (void)layout;
        return nullptr;
    }
    // Notification-menu entries, between Settings and Exit, asked each time the menu opens.
    virtual std::vector<toolkit::Menu::Entry> menuEntries() { return {}; }

    // The overlay's load handler ran (at start and after a colour change).
    virtual void overlayLoaded() {}
    // The person brought the tint back from the menu or the icon.
    virtual void tintBroughtBack() {}
    // A setting changed, or the tint as shown (SettingsModel::kTintShown).
    virtual void settingChanged(std::string_view key) { (void)key; }
    // One of its commands (`velmora --<word>`, the words given in the list) arrived: which, from 0.
    virtual void commanded(std::size_t which) { (void)which; }
    // The program ends: put back whatever it changed beyond its own windows.
    virtual void programEnding() {}
    // The pointer moved, while a tool watches it (Input::watchPointer); in desktop pixels.
    virtual void pointerMoved(platform::Point at) { (void)at; }

    // A tool that lays the tint in place of the overlay's window (the colour
    // filter): while it wants to, showing and hiding the tint switch it, and the
    // overlay's window stays hidden.
    virtual bool presentsTint() { return false; }
    // False when it could not, and the window shows the tint after all.
    virtual bool presentTint(bool on) {
        (void)on;
        return false;
    }
    virtual bool tintPresented() const { return false; }
};

// The program's reading tools, in the order of their rows and keys.
std::vector<std::unique_ptr<ReadingTool>> makeReadingTools(Application& app);
// Every tool's commands: the tool by its place in that order, and which of its commands.
struct ToolCommand {
    std::size_t tool;
    std::size_t which;
    const char* word;
};
std::vector<ToolCommand> toolCommands();
// The words alone.
std::vector<const char*> commandWords();

}  // namespace tools
}  // namespace velmora
