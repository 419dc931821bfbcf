#include "platform/qt/hotkeybox.h"

#include <QKeyEvent>
#include <utility>

#include "platform/winapi.h"

namespace velmora::platform::qt {

namespace {

constexpr std::pair<Qt::Key, unsigned> kNamedKeys[] = {
    {Qt::Key_Space, win::VK_SPACE},   {Qt::Key_PageUp, win::VK_PRIOR},  {Qt::Key_PageDown, win::VK_NEXT},
    {Qt::Key_End, win::VK_END},       {Qt::Key_Home, win::VK_HOME},     {Qt::Key_Left, win::VK_LEFT},
    {Qt::Key_Up, win::VK_UP},         {Qt::Key_Right, win::VK_RIGHT},   {Qt::Key_Down, win::VK_DOWN},
    {Qt::Key_Insert, win::VK_INSERT}, {Qt::Key_Delete, win::VK_DELETE}, {Qt::Key_Pause, win::VK_PAUSE},
    {Qt::Key_Print, win::VK_SNAPSHOT}};

constexpr std::pair<Qt::KeyboardModifier, unsigned> kModifiers[] = {{Qt::ControlModifier, win::MOD_CONTROL},
                                                                    {Qt::AltModifier, win::MOD_ALT},
                                                                    {Qt::ShiftModifier, win::MOD_SHIFT},
                                                                    {Qt::MetaModifier, win::MOD_WIN}};

constexpr int kLastFunctionKey = win::VK_F24 - win::VK_F1;

std::optional<unsigned> virtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return static_cast<unsigned>(key);  // the same codes as the virtual keys
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F1 + kLastFunctionKey) {
        return win::VK_F1 + static_cast<unsigned>(key - Qt::Key_F1);
    }
    for (const auto& [qtKey, virtualKey] : kNamedKeys) {
        if (qtKey == key) return virtualKey;
    }
    return std::nullopt;
}

std::optional<Qt::Key> qtKeyOf(unsigned key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return static_cast<Qt::Key>(key);
    if (key >= win::VK_F1 && key <= win::VK_F24) return static_cast<Qt::Key>(Qt::Key_F1 + (key - win::VK_F1));
    for (const auto& [qtKey, virtualKey] : kNamedKeys) {
        if (virtualKey == key) return qtKey;
    }
    return std::nullopt;
}

bool isModifierKey(int key) {
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_Super_L || key == Qt::Key_Super_R || key == Qt::Key_unknown;
}

// Keys that move through the window, pressed without a modifier that makes them a hotkey.
bool isWindowKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    switch (event.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return mods == Qt::NoModifier;
        case Qt::Key_Backtab:
            return (mods & ~Qt::ShiftModifier) == Qt::NoModifier;
        default:
            return false;
    }
}

}  // namespace

std::optional<Hotkey> hotkeyOf(QKeyCombination combination) {
    const auto key = virtualKeyOf(combination.key());
    if (!key) return std::nullopt;
    Hotkey hotkey{0, *key};
    for (const auto& [qtModifier, modifier] : kModifiers) {
        if (combination.keyboardModifiers().testFlag(qtModifier)) hotkey.modifiers |= modifier;
    }
    return hotkey;
}

QKeyCombination combinationOf(const Hotkey& hotkey) {
    Qt::KeyboardModifiers mods;
    for (const auto& [qtModifier, modifier] : kModifiers) {
        if ((hotkey.modifiers & modifier) != 0) mods |= qtModifier;
    }
    return QKeyCombination(mods, qtKeyOf(hotkey.key).value_or(Qt::Key_unknown));
}

HotkeyEdit::HotkeyEdit(Reporter& reporter, Handle handle, QWidget* parent)
    : QKeySequenceEdit(parent), reporter_(reporter), handle_(handle) {}

std::string HotkeyEdit::text() const {
    if (keySequence().isEmpty()) return {};
    const auto hotkey = hotkeyOf(keySequence()[0]);
    return hotkey ? hotkeyText(*hotkey) : std::string{};
}

void HotkeyEdit::setText(const std::string& text) {
    const auto hotkey = tryParseHotkey(text);
    setKeySequence(hotkey ? QKeySequence(combinationOf(*hotkey)) : QKeySequence());
}

bool HotkeyEdit::event(QEvent* event) {
    // Qt's box would record Tab and keep the keyboard: it moves on, as from any box.
    if (event->type() == QEvent::KeyPress && isWindowKey(*static_cast<QKeyEvent*>(event))) {
        return QWidget::event(event);
    }
    return QKeySequenceEdit::event(event);
}

void HotkeyEdit::keyPressEvent(QKeyEvent* event) {
    if (isWindowKey(*event)) return QWidget::keyPressEvent(event);  // to the window: Enter, Escape
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    event->accept();
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && mods == Qt::NoModifier) return take({});
    // The modifiers alone are no key yet, and a key without a portable name is none we can keep.
    if (isModifierKey(key) || !virtualKeyOf(key)) return;
    take(QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key))));
}

void HotkeyEdit::take(const QKeySequence& keys) {
    if (keys == keySequence()) return;
    setKeySequence(keys);
    reporter_.report({EventKind::Change, handle_});
}

}  // namespace velmora::platform::qt
