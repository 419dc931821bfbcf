// The settings dialog's "Reading tools": each tool's rows, then a row for each
// key, the program's own among them. Each is stored the moment it changes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/controls.h"
#include "tools/ReadingTool.h"

namespace velmora {

class Application;

class ReadingTools {
public:
    ReadingTools(toolkit::Form& form, Application& app);
    ~ReadingTools();

    // Shows what is stored, on every load of the dialog; storing nothing itself.
    void load();
    // The group's bottom edge in the dialog, in twips: as tall as its rows.
    float bottom() const { return bottom_; }

    toolkit::Frame fraReadingTools;

    // Under the keys in a Wayland session, where the desktop hands them to XWayland only while it has the keyboard.
    static constexpr const char* kKeysInWayland =
        "In a Wayland session these keys work only while an X11 window, such as Velmora's, has the keyboard. "
        "To use them anywhere, give the desktop a shortcut of its own that runs a command, such as "
        "velmora --toggle or velmora --ruler: in GNOME under Settings > Keyboard > Custom Shortcuts, "
        "in KDE under System Settings > Shortcuts > Custom Shortcuts.";
    // The same where the desktop takes the keys through its shortcuts portal.
    static constexpr const char* kKeysByDesktop =
        "In this Wayland session the desktop decides these keys: Velmora asks for the ones here, and the desktop "
        "may choose others. The desktop's own shortcut settings show the keys it chose and change them: "
        "in KDE under System Settings > Shortcuts, in GNOME under Settings > Keyboard.";

private:
    // What lblKeysWhy says: with the desktop's triggers where it decides the keys and has told them.
    std::string keysWhy() const;

    // A key's label, which names its box and carries its mnemonic, and the box.
    struct KeyRow {
        toolkit::Label label;
        toolkit::HotkeyBox box;
        std::size_t key;
    };

    Application& app_;
    std::vector<std::unique_ptr<tools::ToolRows>> rows_;
    std::vector<std::unique_ptr<KeyRow>> keys_;
    std::unique_ptr<toolkit::Label> lblKeysWhy;
    float bottom_ = 0;
};

}  // namespace velmora
