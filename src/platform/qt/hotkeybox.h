// The hotkey box on Qt: a QKeySequenceEdit that takes one combination, whose
// text is the portable text of platform/keys.h ("Ctrl+Alt+O").
#pragma once

#include <QKeySequenceEdit>
#include <optional>
#include <string>

#include "platform/keys.h"
#include "platform/qt/widgets.h"

namespace velmora::platform::qt {

// Qt's key and modifiers as a hotkey, none for a key without a portable name; and back.
std::optional<Hotkey> hotkeyOf(QKeyCombination combination);
QKeyCombination combinationOf(const Hotkey& hotkey);

// A person presses a combination and it is the box's at once; Backspace or
// Delete clears it to none. Tab, Enter and Escape stay the window's, so the
// keyboard never gets stuck here. Each change a person makes is reported.
class HotkeyEdit : public QKeySequenceEdit {
public:
    HotkeyEdit(Reporter& reporter, Handle handle, QWidget* parent);

    // The portable text, empty for none; text that names no key clears the box.
    std::string text() const;
    void setText(const std::string& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void take(const QKeySequence& keys);

    Reporter& reporter_;
    Handle handle_;
};

}  // namespace velmora::platform::qt
