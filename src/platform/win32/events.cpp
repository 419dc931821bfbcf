// How the Windows platform hears the system: the window procedure of every
// window of ours and the handlers that turn its messages into the program's events.
#include <cmath>

#include "platform/text.h"
#include "platform/win32/state.h"

namespace velmora::platform::win32 {

// Shift, Ctrl and Alt as the mouse reports them, for a key.
int keyShiftMask() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

bool windowsKeyHeld() { return GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0; }

// A click from a control's own procedure, which the system called.
void reportClick(State& state, HWND hwnd) {
    try {
        state.send({EventKind::Click, asHandle(hwnd)});
    } catch (...) {
        // The sink runs every handler inside its own catch-all, so what could arrive here
        // is at most an out-of-memory while it told of an error. It must not unwind through
        // the system's frames that called this procedure: the click is dropped.
    }
}

namespace {

int buttonMask(WPARAM keys) {
    return ((keys & MK_LBUTTON) != 0 ? 1 : 0) | ((keys & MK_RBUTTON) != 0 ? 2 : 0) | ((keys & MK_MBUTTON) != 0 ? 4 : 0);
}

int shiftMask(WPARAM keys) {
    return ((keys & MK_SHIFT) != 0 ? 1 : 0) | ((keys & MK_CONTROL) != 0 ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

// The pointer in the program's pixels, unzoomed on a screen of another density.
Event mouseEvent(State& state, EventKind kind, HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const double zoom = zoomOf(state, GetAncestor(hwnd, GA_ROOT));
    const auto unzoomed = [zoom](int at) { return static_cast<int>(std::floor(at / zoom)); };
    return {kind,
            asHandle(hwnd),
            buttonMask(wParam),
            shiftMask(wParam),
            unzoomed(GET_X_LPARAM(lParam)),
            unzoomed(GET_Y_LPARAM(lParam))};
}

// The messages of one window or pane of ours. Each handler answers with the
// message's result, or with none when the system's default answers it.
class Messages {
public:
    explicit Messages(State& state) : s_(state) {}

    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (s_.host && hwnd == s_.host.get()) return hostMessage(hwnd, message, wParam, lParam);
        std::optional<LRESULT> result;
        if (WindowRecord* window = s_.window(hwnd)) {
            result = windowMessage(*window, hwnd, message, wParam, lParam);
        } else if (const ControlRecord* pane = s_.control(hwnd)) {
            result = paneMessage(*pane, hwnd, message, wParam, lParam);
        }
        return result ? *result : DefWindowProcA(hwnd, message, wParam, lParam);
    }

private:
    LRESULT hostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == s_.anotherInstanceMessage && s_.anotherInstanceMessage != 0) {
            s_.commands.push_back("show");
            s_.send({EventKind::AnotherInstance, 0});
            return 0;
        }
        // Another copy's command: a short word of letters, or nothing is taken.
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (data == nullptr || data->dwData != kCommandData || data->cbData > Desktop::kCommandLength) return FALSE;
            const std::string word(static_cast<const char*>(data->lpData), data->cbData);
            if (!isCommandWord(word)) return FALSE;
            s_.commands.push_back(word);
            s_.send({EventKind::AnotherInstance, 0});
            return TRUE;
        }
        // Explorer started (again): its notification area forgot our icons, or never had them.
        if (message == s_.taskbarCreatedMessage && s_.taskbarCreatedMessage != 0) {
            readdTrayIcons(s_);
            endTrayWatch(s_, true);
            return 0;
        }
        if (message == WM_TIMER && wParam == kTrayWaitTimer) {
            endTrayWatch(s_, false);
            return 0;
        }
        if (message == WM_HOTKEY) {
            Event e{EventKind::Hotkey, 0};
            e.code = static_cast<unsigned>(wParam);
            s_.send(e);
            return 0;
        }
        if (message == kPointerPlace) {
            const std::optional<Point> place = takePointerPlace(s_);
            if (!place || s_.pointerTold == place) return 0;
            s_.pointerTold = place;
            Event e{EventKind::PointerMoved, 0};
            e.x = place->x;
            e.y = place->y;
            s_.send(e);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    std::optional<LRESULT> windowMessage(WindowRecord& window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message >= WM_USER && trayCallback(hwnd, message, lParam)) return 0;
        switch (message) {
            case DM_GETDEFID:
                return defaultButton(hwnd);
            case WM_CLOSE:
                // Asked, not done: the program decides whether the window goes.
                s_.send({EventKind::CloseRequest, asHandle(hwnd)});
                return 0;
            case WM_SIZE:
                reportResize(s_, hwnd);
                return 0;
            case WM_DPICHANGED:
                takeDensity(window, hwnd, LOWORD(wParam));
                takeSuggestedRect(hwnd, *reinterpret_cast<const RECT*>(lParam));
                return 0;
            case WM_MOVE:
                if (s_.programmaticMoves == 0 && !IsIconic(hwnd)) s_.send({EventKind::Moved, asHandle(hwnd)});
                return 0;
            case WM_MOUSEMOVE:
                s_.send(mouseEvent(s_, EventKind::MouseMove, hwnd, wParam, lParam));
                return 0;
            case WM_ACTIVATE:
                return activate(window, hwnd, wParam);
            case WM_NEXTDLGCTL:
                nextControl(hwnd, wParam, lParam);
                return 0;
            default:
                return anyMessage(hwnd, window.backBrush.get(), message, wParam, lParam);
        }
    }

    std::optional<LRESULT> paneMessage(const ControlRecord& pane, HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) {
        switch (message) {
            case WM_ERASEBKGND:
                if (pane.surface) return 1;  // painted whole in WM_PAINT
                break;
            case WM_GETDLGCODE:
                if (takesKeys(pane.spec)) return DLGC_WANTARROWS;
                break;
            case WM_GETFONT:
                // A frame's caption is drawn in it, as a group box's is.
                if (pane.spec.kind == ControlKind::Frame) return reinterpret_cast<LRESULT>(pane.font.get());
                break;
            case WM_KEYDOWN:
                if (!takesKeys(pane.spec)) break;
                keyDown(hwnd, wParam);
                return 0;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                InvalidateRect(hwnd, nullptr, FALSE);  // its focus mark
                return 0;
            case WM_MOUSEMOVE:
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
            case WM_MBUTTONUP:
                if (pane.spec.kind != ControlKind::PictureBox) return std::nullopt;
                if (message != WM_MOUSEMOVE && takesKeys(pane.spec)) SetFocus(hwnd);  // a click gives it the keys
                pictureMouse(hwnd, message, wParam, lParam);
                return 0;
            default:
                break;
        }
        return anyMessage(hwnd, pane.backBrush.get(), message, wParam, lParam);
    }

    // What windows and panes answer alike; back is the brush of their back colour.
    std::optional<LRESULT> anyMessage(HWND hwnd, HBRUSH back, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_ERASEBKGND: {
                if (back == nullptr) return std::nullopt;
                RECT r{};
                GetClientRect(hwnd, &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, back);
                return 1;
            }
            case WM_PAINT:
                paint(s_, hwnd);
                return 0;
            case WM_DRAWITEM: {
                // A label whose window text is only its name shows its colour alone.
                const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                const ControlRecord* label = s_.control(item->hwndItem);
                if (label == nullptr) return std::nullopt;
                FillRect(item->hDC, &item->rcItem, label->spec.transparentBack ? back : label->backBrush.get());
                return TRUE;
            }
            case WM_CTLCOLORSTATIC:
                return staticColours(back, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            case WM_COMMAND:
                command(hwnd, wParam, lParam);
                return 0;
            case WM_NOTIFY: {
                // Followed once the link's own handling of the click is over: following may close its window.
                const auto* note = reinterpret_cast<const NMHDR*>(lParam);
                const ControlRecord* from = s_.control(note->hwndFrom);
                if (note->code == NM_CLICK && from != nullptr && isLink(from->spec)) {
                    PostMessageA(note->hwndFrom, kFollowLink, 0, 0);
                }
                return 0;
            }
            case WM_TIMER:
                return timerTick(hwnd, wParam);
            case WM_HSCROLL:
                if (lParam == 0) return std::nullopt;  // a scroll bar of the window's own
                slid(reinterpret_cast<HWND>(lParam));
                return 0;
            default:
                return std::nullopt;
        }
    }

    // The notification icon's callback: the mouse message arrives as the event's code.
    bool trayCallback(HWND hwnd, UINT message, LPARAM lParam) {
        for (const auto& [key, icon] : s_.trayIcons) {
            if (key.first == hwnd && icon.data.callbackMessage == message && (icon.data.flags & NIF_MESSAGE) != 0) {
                Event e{EventKind::NotifyIcon, asHandle(hwnd)};
                e.code = LOWORD(lParam);
                s_.send(e);
                return true;
            }
        }
        return false;
    }

    LRESULT defaultButton(HWND hwnd) {
        // A focused command button takes Enter; otherwise the window's default button does.
        const ControlRecord* focused = s_.control(GetFocus());
        const ControlRecord* target =
            focused != nullptr && focused->topLevel == hwnd && focused->spec.kind == ControlKind::CommandButton
                ? focused
                : s_.controlById(hwnd, IDOK);
        return target != nullptr ? MAKELRESULT(target->id, DC_HASDEFID) : 0;
    }

    // On a screen of another density the window's text is drawn at that density.
    // Fonts, controls and pictures at the new density; the program's pixels stay as they were.
    void takeDensity(WindowRecord& window, HWND hwnd, int dpi) {
        if (dpi <= 0 || dpi == window.dpi) return;
        window.dpi = dpi;
        for (const auto& [handle, control] : s_.controls) {
            if (control->topLevel != hwnd || control->hwnd == nullptr) continue;
            applyFont(s_, *control);
            const Rect r = zoomed(control->rect, zoomOf(s_, hwnd));
            MoveWindow(control->hwnd, r.left, r.top, r.width, r.height, FALSE);
            if (control->surface) control->shown = pictureAt(control->spec.picture, dpi);
        }
        RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

    // Dragged onto a screen of another density: take the rectangle the system suggests
    // for it, which the program then hears of like a person's move and resize.
    static void takeSuggestedRect(HWND hwnd, const RECT& suggested) {
        SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // As in a dialog: a label's mnemonic comes as the label (lParam set) and then the next control.
    static void nextControl(HWND hwnd, WPARAM wParam, LPARAM lParam) {
        const HWND target = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                                : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0 ? TRUE : FALSE);
        if (target != nullptr && IsChild(hwnd, target)) SetFocus(target);
    }

    // Like a dialog, a window gives the keyboard back to the control that had it.
    static std::optional<LRESULT> activate(WindowRecord& window, HWND hwnd, WPARAM wParam) {
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd, focus)) window.lastFocus = focus;
            return std::nullopt;
        }
        if (HIWORD(wParam) != 0) return std::nullopt;  // minimised
        // The keyboard focus shows however the window was reached, by mouse or by key.
        SendMessageA(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        HWND target = window.lastFocus;
        if (target == nullptr || !IsChild(hwnd, target) || !IsWindowVisible(target)) {
            target = GetNextDlgTabItem(hwnd, nullptr, FALSE);
        }
        if (target == nullptr) return std::nullopt;
        SetFocus(target);
        return 0;
    }

    std::optional<LRESULT> staticColours(HBRUSH back, HDC dc, HWND child) {
        const ControlRecord* record = s_.control(child);
        if (record == nullptr) return std::nullopt;
        SetTextColor(dc, record->spec.foreColor);
        if (record->spec.transparentBack) {
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(back);
        }
        SetBkColor(dc, record->spec.backColor);
        return reinterpret_cast<LRESULT>(record->backBrush.get());
    }

    void command(HWND hwnd, WPARAM wParam, LPARAM lParam) {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        ControlRecord* record = lParam != 0 ? s_.control(reinterpret_cast<HWND>(lParam)) : nullptr;
        // Enter and Escape from the dialog manager name the default or cancel button by id only.
        const HWND root = GetAncestor(hwnd, GA_ROOT);
        if (record == nullptr) record = s_.controlById(root, id);
        if (record == nullptr && id == IDCANCEL && lParam == 0) return escape(root);
        if (record == nullptr) return;
        if (code == EN_CHANGE) return edited(*record);
        if (record->spec.kind == ControlKind::ListBox) {
            if (code == LBN_SELCHANGE) s_.send({EventKind::Change, record->handle});
            return;
        }
        if (code != BN_CLICKED) return;  // STN_CLICKED is BN_CLICKED
        const Handle handle = record->handle;
        switch (record->spec.kind) {
            case ControlKind::CheckBox: {
                // A click ticks a clear or greyed box and clears a ticked one, then is reported.
                const bool ticked = SendMessageA(record->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
                SendMessageA(record->hwnd, BM_SETCHECK, ticked ? BST_UNCHECKED : BST_CHECKED, 0);
                s_.send({EventKind::Click, handle});
                break;
            }
            case ControlKind::CommandButton:
            case ControlKind::Label:
                s_.send({EventKind::Click, handle});
                break;
            default:
                break;
        }
    }

    // Only a person's edit is reported, and only what it changed: the program's own
    // text, a whole-number box taking back what it refused, or a hotkey box while
    // the person holds the modifiers of a key still to come, are not.
    void edited(ControlRecord& record) {
        std::string text;
        if (record.spec.kind == ControlKind::HotkeyBox) {
            text = hotkeyBoxText(record.hwnd);
            if (text.empty() && (keyShiftMask() != 0 || windowsKeyHeld())) return;
        } else {
            if (record.spec.wholeNumberMax >= 0 && !keepWholeNumber(record)) return;
            text = windowText(record.hwnd);
        }
        if (text == record.lastText) return;
        record.lastText = text;
        if (s_.programmaticText == 0) s_.send({EventKind::Change, record.handle});
    }

    // A slider reports each move of the person's that changed its value.
    void slid(HWND slider) {
        ControlRecord* record = s_.control(slider);
        if (record == nullptr || record->spec.kind != ControlKind::Slider) return;
        const int value = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
        if (value == record->lastValue) return;
        record->lastValue = value;
        s_.send({EventKind::Change, record->handle});
    }

    // Escape in a window without a cancel button: where it closes the window, as the close box.
    void escape(HWND root) {
        const WindowRecord* window = s_.window(root);
        if (window != nullptr && window->spec.closeOnEscape) s_.send({EventKind::CloseRequest, asHandle(root)});
    }

    void pictureMouse(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Event e = mouseEvent(s_, EventKind::MouseMove, hwnd, wParam, lParam);
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                // Held while dragging, so a drag past the edge still reports where the pointer is.
                SetCapture(hwnd);
                e.kind = EventKind::MouseDown;
                e.button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
                s_.send(e);
                break;
            case WM_MOUSEMOVE:
                s_.send(e);
                break;
            default:  // a button released
                if (e.button == 0 && GetCapture() == hwnd) ReleaseCapture();
                break;
        }
    }

    void keyDown(HWND hwnd, WPARAM key) {
        Event e{EventKind::KeyDown, asHandle(hwnd), 0, keyShiftMask()};
        e.code = static_cast<unsigned>(key);
        s_.send(e);
    }

    std::optional<LRESULT> timerTick(HWND hwnd, WPARAM id) {
        for (const auto& [handle, timer] : s_.timers) {
            if (timer.window == hwnd && timer.id == id) {
                s_.send({EventKind::TimerTick, handle});
                return 0;
            }
        }
        return std::nullopt;
    }

    State& s_;
};

}  // namespace

void reportResize(State& state, HWND hwnd) {
    WindowRecord* record = state.window(hwnd);
    if (record == nullptr) return;
    const Rect r = programRect(state, hwnd);
    if (r.width == record->lastSize.width && r.height == record->lastSize.height) return;
    record->lastSize = {r.width, r.height};
    state.send({EventKind::Resize, asHandle(hwnd)});
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Each window of ours carries the state as its user data, from its creation on.
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (state == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    try {
        return Messages(*state).handle(hwnd, message, wParam, lParam);
    } catch (...) {
        // The sink runs every handler inside its own catch-all, so what could arrive here is
        // an out-of-memory in the platform's own records. Nothing may unwind through the
        // system's frames that called us: the message is answered as if it were not ours,
        // except a close request, which must never close a window the program did not close.
        return message == WM_CLOSE ? 0 : DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace velmora::platform::win32
