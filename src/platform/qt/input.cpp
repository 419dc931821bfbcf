// Global hotkeys and the pointer on Qt. On X11 a hotkey is a passive grab of
// its key on the root window, made once for every combination of the lock
// modifiers, since the server matches modifiers exactly and CapsLock or NumLock
// would otherwise keep the key from us. A grab another client holds fails with
// BadAccess. In a Wayland session through XWayland a grab works only while an
// X window has the keyboard, so where the session offers the GlobalShortcuts
// portal the keys are asked of it instead, and the desktop decides them.
// Elsewhere (native Wayland, offscreen) no program may take keys from the
// others, and no hotkey can be had.
// The pointer's moves come as XInput 2 raw motion selected on the root, which
// the server sends from every real device wherever the pointer is, and as XI
// motion on the root, which also carries XTest's absolute moves (they make no
// raw motion) over the desktop and windows that take no motion themselves. A
// burst of them is one report, with the place read once after it.
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
#include <initializer_list>
#include <map>
#include <vector>

#include "platform/qt/portal.h"
#include "platform/qt/state.h"
#include "platform/qt/x11.h"
#include "platform/winapi.h"

namespace velmora::platform::qt {

namespace {

// The eight modifier bits; group and button bits are no part of a hotkey.
constexpr std::uint16_t kModifierBits = 0xFF;

// The keysym a virtual key makes unshifted; 0 for a key we have no name for.
xcb_keysym_t keysymOf(unsigned key) {
    if (key >= 'A' && key <= 'Z') return XK_a + (key - 'A');
    if (key >= '0' && key <= '9') return XK_0 + (key - '0');
    if (key >= win::VK_F1 && key <= win::VK_F24) return XK_F1 + (key - win::VK_F1);
    static constexpr std::pair<unsigned, xcb_keysym_t> kNamed[] = {
        {win::VK_SPACE, XK_space},   {win::VK_PRIOR, XK_Prior},   {win::VK_NEXT, XK_Next},
        {win::VK_END, XK_End},       {win::VK_HOME, XK_Home},     {win::VK_LEFT, XK_Left},
        {win::VK_UP, XK_Up},         {win::VK_RIGHT, XK_Right},   {win::VK_DOWN, XK_Down},
        {win::VK_INSERT, XK_Insert}, {win::VK_DELETE, XK_Delete}, {win::VK_PAUSE, XK_Pause},
        {win::VK_SNAPSHOT, XK_Print}};
    for (const auto& [virtualKey, sym] : kNamed) {
        if (virtualKey == key) return sym;
    }
    return 0;
}

// The keyboard as the server maps it now: which keycodes make which keysyms,
// and which modifier bit each modifier key sets.
class Keyboard {
public:
    explicit Keyboard(xcb_connection_t* c) {
        const xcb_setup_t* setup = xcb_get_setup(c);
        min_ = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        const ReplyPtr<xcb_get_keyboard_mapping_reply_t> keys(
            xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, min_, count), nullptr));
        if (keys) {
            perCode_ = keys->keysyms_per_keycode;
            const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(keys.get());
            syms_.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(keys.get()));
        }
        const ReplyPtr<xcb_get_modifier_mapping_reply_t> mods(
            xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
        if (mods) {
            const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mods.get());
            modifierCodes_.assign(codes, codes + xcb_get_modifier_mapping_keycodes_length(mods.get()));
            perModifier_ = mods->keycodes_per_modifier;
        }
    }

    // Every key that makes the keysym on its first or its shifted level.
    std::vector<xcb_keycode_t> codesOf(xcb_keysym_t sym) const {
        std::vector<xcb_keycode_t> codes;
        if (sym == 0 || perCode_ == 0) return codes;
        for (std::size_t i = 0; i < syms_.size(); ++i) {
            if (syms_[i] == sym && i % perCode_ < 2) {
                const auto code = static_cast<xcb_keycode_t>(min_ + i / perCode_);
                if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
            }
        }
        return codes;
    }

    // The modifier bit the keys of these keysyms are on, or the fallback when none is.
    std::uint16_t modifierOf(std::initializer_list<xcb_keysym_t> syms, std::uint16_t fallback) const {
        for (const xcb_keysym_t sym : syms) {
            for (const xcb_keycode_t code : codesOf(sym)) {
                for (std::size_t i = 0; i < modifierCodes_.size(); ++i) {
                    if (modifierCodes_[i] == code) return static_cast<std::uint16_t>(1U << (i / perModifier_));
                }
            }
        }
        return fallback;
    }

private:
    xcb_keycode_t min_ = 0;
    std::size_t perCode_ = 0;
    std::vector<xcb_keysym_t> syms_;
    std::vector<xcb_keycode_t> modifierCodes_;
    std::size_t perModifier_ = 1;
};

// A hotkey as grabbed: its keys, the modifiers it needs, and each lock
// combination grabbed beside them.
struct Grab {
    Hotkey key;
    std::vector<xcb_keycode_t> codes;
    std::uint16_t modifiers = 0;
    std::vector<std::uint16_t> locks;
};

class QtInput final : public Input, public QAbstractNativeEventFilter {
public:
    explicit QtInput(State& state) : s_(state), connection_(x11Connection()) {
        if (connection_ == nullptr) return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        QCoreApplication::instance()->installNativeEventFilter(this);
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            portal_ = tryShortcutsPortal([this](int id) { reportHotkey(id); });
        }
    }
    ~QtInput() override {
        if (connection_ == nullptr) return;
        QCoreApplication::instance()->removeNativeEventFilter(this);
        if (watching_) selectRawMotion(false);
        for (const auto& [id, grab] : grabs_) ungrab(grab);
        xcb_flush(connection_);
    }
    QtInput(const QtInput&) = delete;
    QtInput& operator=(const QtInput&) = delete;

    HotkeyGrab registerHotkey(int id, const Hotkey& key) override {
        unregisterHotkey(id);
        if (connection_ == nullptr) return HotkeyGrab::NotPossible;
        if (portal_) return bindThroughPortal(id, key);
        // One of ours already, under another id: the key can do only one thing.
        for (const auto& [other, grab] : grabs_) {
            if (grab.key == key) return HotkeyGrab::HeldElsewhere;
        }
        const Keyboard keyboard(connection_);
        Grab grab{key, keyboard.codesOf(keysymOf(key.key))};
        if (grab.codes.empty()) return HotkeyGrab::NotPossible;
        const std::uint16_t alt = keyboard.modifierOf({XK_Alt_L, XK_Alt_R}, XCB_MOD_MASK_1);
        const std::uint16_t super = keyboard.modifierOf({XK_Super_L, XK_Super_R}, XCB_MOD_MASK_4);
        if ((key.modifiers & win::MOD_CONTROL) != 0) grab.modifiers |= XCB_MOD_MASK_CONTROL;
        if ((key.modifiers & win::MOD_SHIFT) != 0) grab.modifiers |= XCB_MOD_MASK_SHIFT;
        if ((key.modifiers & win::MOD_ALT) != 0) grab.modifiers |= alt;
        if ((key.modifiers & win::MOD_WIN) != 0) grab.modifiers |= super;
        // NumLock and ScrollLock are on whichever bits the keyboard puts them; ScrollLock often on none.
        std::vector<std::uint16_t> lockBits{XCB_MOD_MASK_LOCK, keyboard.modifierOf({XK_Num_Lock}, 0),
                                            keyboard.modifierOf({XK_Scroll_Lock}, 0)};
        std::erase_if(lockBits, [&grab](std::uint16_t bit) { return bit == 0 || (bit & grab.modifiers) != 0; });
        lockMask_ = 0;
        for (const std::uint16_t bit : lockBits) lockMask_ |= bit;
        for (unsigned subset = 0; subset < (1U << lockBits.size()); ++subset) {
            std::uint16_t locks = 0;
            for (std::size_t i = 0; i < lockBits.size(); ++i) {
                if ((subset & (1U << i)) != 0) locks |= lockBits[i];
            }
            grab.locks.push_back(locks);
        }
        if (!grabAll(grab)) return HotkeyGrab::HeldElsewhere;
        grabs_[id] = std::move(grab);
        return HotkeyGrab::Taken;
    }

    void unregisterHotkey(int id) override {
        if (portal_) {
            portal_->unbind(id);
            portalKeys_.erase(id);
        }
        const auto it = grabs_.find(id);
        if (it == grabs_.end()) return;
        ungrab(it->second);
        xcb_flush(connection_);
        grabs_.erase(it);
    }

    bool hotkeysPossible() override { return connection_ != nullptr; }
    bool hotkeysByDesktop() override { return portal_ != nullptr; }
    std::string desktopTrigger(int id) override { return portal_ ? portal_->trigger(id) : std::string(); }

    // Where Qt places windows and measures screens, so the ruler lands where the pointer is.
    std::optional<Point> tryPointerPosition() override {
        // A Wayland client learns the pointer only over its own windows, and the ruler lets it pass.
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return std::nullopt;
        const QPoint at = QCursor::pos();
        return Point{at.x(), at.y()};
    }

    bool watchPointer(bool on) override {
        if (on == watching_) return true;
        if (!on) {
            selectRawMotion(false);
            watching_ = false;
            return true;
        }
        if (connection_ == nullptr) return false;
        // Qt has asked for XInput 2 on this connection when the server has it; without it the request fails.
        const xcb_query_extension_reply_t* xi = xcb_get_extension_data(connection_, &xcb_input_id);
        if (xi == nullptr || xi->present == 0) return false;
        xiOpcode_ = xi->major_opcode;
        told_.reset();
        watching_ = selectRawMotion(true);
        return watching_;
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const std::uint8_t kind = event->response_type & 0x7F;
        if (kind == XCB_GE_GENERIC) return rawMotion(static_cast<const xcb_ge_generic_event_t*>(message));
        if (kind != XCB_KEY_PRESS && kind != XCB_KEY_RELEASE) return false;
        const auto* key = static_cast<const xcb_key_press_event_t*>(message);
        if (key->event != root_) return false;
        if (kind == XCB_KEY_RELEASE) {
            if (key->detail == held_) held_ = 0;
            return false;
        }
        const auto modifiers = static_cast<std::uint16_t>(key->state & kModifierBits & ~lockMask_);
        for (const auto& [id, grab] : grabs_) {
            if (grab.modifiers != modifiers ||
                std::find(grab.codes.begin(), grab.codes.end(), key->detail) == grab.codes.end()) {
                continue;
            }
            // Held down, the key repeats: it counts once, as on Windows.
            if (held_ == key->detail) return true;
            held_ = key->detail;
            // After the event: the program may open a box, and Qt's X event handling is not to be re-entered.
            QMetaObject::invokeMethod(
                &context_, [this, hotkey = id] { reportHotkey(hotkey); }, Qt::QueuedConnection);
            return true;
        }
        return false;
    }

private:
    void reportHotkey(int id) {
        Event e{EventKind::Hotkey, 0};
        e.code = static_cast<unsigned>(id);
        s_.report(e);
    }

    // The desktop may give the key another trigger, or none, and tells no one here.
    HotkeyGrab bindThroughPortal(int id, const Hotkey& key) {
        if (portalTrigger(key).empty()) return HotkeyGrab::NotPossible;
        for (const auto& [other, held] : portalKeys_) {
            if (held == key) return HotkeyGrab::HeldElsewhere;
        }
        portalKeys_[id] = key;
        portal_->bind(id, key);
        return HotkeyGrab::Taken;
    }

    bool selectRawMotion(bool on) {
        struct {
            xcb_input_event_mask_t head;
            std::uint32_t bits;
        } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
               on ? std::uint32_t{XCB_INPUT_XI_EVENT_MASK_RAW_MOTION | XCB_INPUT_XI_EVENT_MASK_MOTION} : 0U};
        const ReplyPtr<xcb_generic_error_t> error(
            xcb_request_check(connection_, xcb_input_xi_select_events_checked(connection_, root_, 1, &mask.head)));
        return !error;
    }

    // The first motion of a burst asks for the place once Qt has handled what the
    // server sent meanwhile; the rest of the burst adds nothing.
    bool rawMotion(const xcb_ge_generic_event_t* event) {
        if (!watching_ || event->extension != xiOpcode_) return false;
        if (event->event_type != XCB_INPUT_RAW_MOTION && event->event_type != XCB_INPUT_MOTION) return false;
        if (placePending_) return true;
        placePending_ = true;
        QTimer::singleShot(0, &context_, [this] {
            placePending_ = false;
            if (!watching_) return;
            const auto at = tryPointerPosition();
            if (!at || at == told_) return;
            told_ = at;
            Event e{EventKind::PointerMoved, 0};
            e.x = at->x;
            e.y = at->y;
            s_.report(e);
        });
        return true;
    }

    // Every key with every lock combination, or none: a key another client holds
    // even with one combination is not ours.
    bool grabAll(const Grab& grab) {
        std::vector<xcb_void_cookie_t> cookies;
        for (const xcb_keycode_t code : grab.codes) {
            for (const std::uint16_t locks : grab.locks) {
                const auto modifiers = static_cast<std::uint16_t>(grab.modifiers | locks);
                cookies.push_back(xcb_grab_key_checked(connection_, 0, root_, modifiers, code, XCB_GRAB_MODE_ASYNC,
                                                       XCB_GRAB_MODE_ASYNC));
            }
        }
        bool all = true;
        for (const xcb_void_cookie_t cookie : cookies) {
            const ReplyPtr<xcb_generic_error_t> error(xcb_request_check(connection_, cookie));
            // BadAccess: another client has it. Any other error leaves it no more ours.
            if (error) all = false;
        }
        if (!all) {
            ungrab(grab);
            xcb_flush(connection_);
        }
        return all;
    }

    // Ungrabbing what another client holds leaves its grab alone.
    void ungrab(const Grab& grab) {
        for (const xcb_keycode_t code : grab.codes) {
            for (const std::uint16_t locks : grab.locks) {
                xcb_ungrab_key(connection_, code, root_, static_cast<std::uint16_t>(grab.modifiers | locks));
            }
        }
    }

    State& s_;
    xcb_connection_t* const connection_;
    xcb_window_t root_ = 0;
    std::map<int, Grab> grabs_;
    std::unique_ptr<ShortcutsPortal> portal_;  // none: the keys are grabbed
    std::map<int, Hotkey> portalKeys_;
    std::uint16_t lockMask_ = 0;
    xcb_keycode_t held_ = 0;
    bool watching_ = false;
    bool placePending_ = false;
    std::uint8_t xiOpcode_ = 0;
    std::optional<Point> told_;  // the place last reported
    QObject context_;            // what posted reports run in, and die with
};

}  // namespace

std::unique_ptr<Input> makeInput(State& state) { return std::make_unique<QtInput>(state); }

}  // namespace velmora::platform::qt
