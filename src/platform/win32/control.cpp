// Controls of the Windows platform: buttons, check boxes, labels, text boxes,
// sliders and hotkey boxes are the system's own controls; picture boxes and
// frames are panes of ours; shapes and lines have no window and are painted by
// their container.
#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/keys.h"
#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

// What a control is as a native window: its class and styles.
struct NativeKind {
    const char* windowClass = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
};

NativeKind labelKind(const ControlSpec& spec) {
    const DWORD border = spec.border ? WS_BORDER : 0;
    if (isLink(spec)) return NativeKind{"SysLink", WS_TABSTOP | border};
    // Its window text is its name (accessible.cpp): it paints only its colour (events.cpp).
    if (namedByText(spec)) return NativeKind{"STATIC", SS_NOTIFY | SS_OWNERDRAW | border};
    const DWORD alignment = spec.alignment == Alignment::Center ? SS_CENTER : SS_LEFT;
    return NativeKind{"STATIC", SS_NOTIFY | alignment | border};
}

// A link's text is its one link; its colour is the one the parent gives (WM_CTLCOLORSTATIC).
void setLinkText(HWND link, const std::string& text) {
    SetWindowTextA(link, ("<a>" + text + "</a>").c_str());
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_STATE;
    item.state = item.stateMask = LIS_DEFAULTCOLORS;
    SendMessageA(link, LM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
}

NativeKind paneKind(const ControlSpec& spec) {
    NativeKind kind{kPaneClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    if (spec.kind != ControlKind::PictureBox) return kind;
    if (spec.border) kind.style |= WS_BORDER;
    if (takesKeys(spec)) {
        // The dialog manager walks into a control parent and never gives it the focus itself.
        kind.style |= WS_TABSTOP;
        kind.exStyle = 0;
    }
    return kind;
}

// The hotkey control's modifier flags beside the ones RegisterHotKey takes.
constexpr struct {
    unsigned hotkeyFlag;
    unsigned modifier;
} kHotkeyModifiers[] = {{HOTKEYF_SHIFT, MOD_SHIFT}, {HOTKEYF_CONTROL, MOD_CONTROL}, {HOTKEYF_ALT, MOD_ALT}};

// The keys of the block beside the letters, which the control names apart from the keypad's.
bool extendedKey(unsigned key) { return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE; }

// None for shapes and lines.
std::optional<NativeKind> nativeKindOf(const ControlSpec& spec) {
    switch (spec.kind) {
        case ControlKind::CommandButton:
            // A toggle is a check box that looks like a button: it shows itself pressed while
            // checked, and a screen reader tells its state. The program checks it, not a click.
            if (spec.toggle) return NativeKind{"BUTTON", WS_TABSTOP | BS_PUSHLIKE | BS_CHECKBOX};
            return NativeKind{"BUTTON",
                              WS_TABSTOP | static_cast<DWORD>(spec.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)};
        case ControlKind::CheckBox:
            // Not an automatic box: the platform toggles it, then reports the click.
            return NativeKind{"BUTTON", WS_TABSTOP | BS_3STATE};
        case ControlKind::Label:
            return labelKind(spec);
        case ControlKind::TextBox:
            // ES_NUMBER refuses other keys as they are typed; the platform refuses the rest (events.cpp).
            return NativeKind{"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | (spec.wholeNumberMax >= 0 ? ES_NUMBER : 0U),
                              WS_EX_CLIENTEDGE};
        case ControlKind::Slider:
            return NativeKind{TRACKBAR_CLASSA, WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS};
        case ControlKind::HotkeyBox:
            return NativeKind{HOTKEY_CLASSA, WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::ListBox:
            return NativeKind{"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
        case ControlKind::PictureBox:
        case ControlKind::Frame:
            return paneKind(spec);
        case ControlKind::Shape:
        case ControlKind::Line:
            break;
    }
    return std::nullopt;
}

// Its container repaints where a shape or line is, with room for its pen.
void invalidateWindowless(State& state, const ControlRecord& record) {
    const Rect r = zoomed(record.rect, zoomOf(state, record.topLevel));
    RECT area{r.left, r.top, r.left + r.width, r.top + r.height};
    if (record.spec.kind == ControlKind::Line) {
        area = {std::min(r.left, r.width), std::min(r.top, r.height), std::max(r.left, r.width),
                std::max(r.top, r.height)};
    }
    const int margin = std::max(1, record.spec.lineWidth) + 1;
    InflateRect(&area, margin, margin);
    InvalidateRect(record.parent, &area, TRUE);
}

Font createFont(const platform::Font& f, const char* face, int height) {
    return Font(CreateFontA(height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, f.underline ? TRUE : FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, face));
}

int emPixels(float points, int dpi) { return static_cast<int>(std::lround(points * dpi / 72.0)); }

// A font as the system realises it, and how wide a line of letters is in it.
struct Realised {
    TEXTMETRICA metrics{};
    int width = 0;
    std::string face;
};

Realised realise(HDC dc, HFONT font) {
    static constexpr char kLetters[] = "The quick brown fox jumps over the lazy dog";
    const Selection in(dc, font);
    Realised r;
    GetTextMetricsA(dc, &r.metrics);
    SIZE size{};
    GetTextExtentPoint32A(dc, kLetters, static_cast<int>(sizeof kLetters - 1), &size);
    r.width = size.cx;
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    r.face = face;
    return r;
}

// Microsoft Sans Serif, drawn to MS Sans Serif's measure, where it is installed; else Tahoma.
const std::string& scalableFace(State& state, HDC dc) {
    if (state.scalableFace.empty()) {
        constexpr const char* kTwin = "Microsoft Sans Serif";
        const Font twin = createFont({}, kTwin, -11);
        state.scalableFace = realise(dc, twin.get()).face == kTwin ? kTwin : "Tahoma";
    }
    return state.scalableFace;
}

// The design's font at that density. A bitmap face (MS Sans Serif) has a few sizes,
// and the font mapper stops at its largest: on a screen of another density the text
// is drawn in a scalable face, no larger than the design face is drawn at 96 DPI,
// scaled, and no wider for its size, so the design's controls hold it there too.
// Which sizes the bitmap face has depends on the screen's density, so its width is
// taken for its size, not as it is at 96 DPI.
Font fontAt(State& state, const platform::Font& f, int dpi) {
    Font design = createFont(f, f.name.c_str(), -emPixels(f.points, dpi));
    if (dpi == 96) return design;
    const MemoryDC dc(CreateCompatibleDC(nullptr));
    const Font at96 = createFont(f, f.name.c_str(), -emPixels(f.points, 96));
    const Realised look = dc ? realise(dc.get(), at96.get()) : Realised{};
    const int lookEm = look.metrics.tmHeight - look.metrics.tmInternalLeading;
    const bool scalable = (look.metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0;
    if (!dc || lookEm <= 0 || look.width <= 0 || scalable) return design;
    const double em = std::min(f.points * dpi / 72.0, lookEm * dpi / 96.0);
    const std::string& face = scalableFace(state, dc.get());
    Font font = createFont(f, face.c_str(), -static_cast<int>(std::lround(em)));
    const double widthForSize = em * look.width / lookEm;
    const int width = realise(dc.get(), font.get()).width;
    if (width <= widthForSize) return font;
    return createFont(f, face.c_str(), -static_cast<int>(std::lround(em * widthForSize / width)));
}

class Win32Controls final : public OnState<Controls> {
public:
    using RoleOnState::RoleOnState;

    Handle createControl(Handle parent, const ControlSpec& spec) override {
        const HWND parentHwnd = parentWindowOf(parent);
        if (parentHwnd == nullptr) return 0;
        auto record = std::make_unique<ControlRecord>();
        record->spec = spec;
        record->rect = spec.rect;
        record->parent = parentHwnd;
        record->topLevel = GetAncestor(parentHwnd, GA_ROOT);
        record->backBrush.reset(CreateSolidBrush(spec.backColor));
        const auto kind = nativeKindOf(spec);
        if (!kind) {
            // Painted by the parent: a handle of our own, no window.
            record->handle = s_.newSyntheticHandle();
            invalidateWindowless(s_, *record);
            return keep(std::move(record));
        }
        if (!createNative(*record, *kind)) return 0;
        ControlRecord& placed = *record;
        const Handle handle = keep(std::move(record));
        applyFont(s_, placed);  // kept first: a label paints from its record
        placeInTabOrder(placed);
        announce(s_, placed);  // after its place in z-order, where a text box's name goes before it
        return handle;
    }

    void setControlRect(Handle handle, const Rect& rect) override {
        ControlRecord* record = s_.control(handle);
        if (record == nullptr) return;
        if (record->hwnd == nullptr) {
            invalidateWindowless(s_, *record);
            record->rect = rect;
            invalidateWindowless(s_, *record);
            return;
        }
        record->rect = rect;
        const Rect at = zoomed(rect, zoomOf(s_, record->topLevel));
        MoveWindow(record->hwnd, at.left, at.top, at.width, at.height, TRUE);
    }

    void setControlText(Handle handle, const std::string& text) override {
        ControlRecord* record = s_.control(handle);
        if (record == nullptr) return;
        record->spec.text = text;
        if (record->hwnd == nullptr) return;
        if (isLink(record->spec)) {
            setLinkText(record->hwnd, text);
            return;
        }
        if (record->spec.kind == ControlKind::HotkeyBox) {
            setHotkeyBox(s_, *record, text);
            return;
        }
        if (record->spec.kind == ControlKind::ListBox) {
            SendMessageA(record->hwnd, LB_RESETCONTENT, 0, 0);
            for (std::size_t from = 0; from < text.size();) {
                const std::size_t end = std::min(text.find('\n', from), text.size());
                SendMessageA(record->hwnd, LB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(text.substr(from, end - from).c_str()));
                from = end + 1;
            }
            return;
        }
        {
            const ProgramsOwn guard(s_.programmaticText);
            SetWindowTextA(record->hwnd, text.c_str());
        }
        record->lastText = windowText(record->hwnd);
        // A frame paints its own caption.
        if (record->spec.kind == ControlKind::Frame) InvalidateRect(record->hwnd, nullptr, TRUE);
    }

    std::string controlText(Handle handle) override {
        const ControlRecord* record = s_.control(handle);
        if (record == nullptr) return {};
        // A link's window text is its markup; a hotkey box shows its key.
        if (record->hwnd == nullptr || isLink(record->spec)) return record->spec.text;
        if (record->spec.kind == ControlKind::HotkeyBox) return record->lastText;
        return windowText(record->hwnd);
    }

    void setControlBackColor(Handle handle, Color color) override {
        ControlRecord* record = s_.control(handle);
        if (record == nullptr) return;
        record->spec.backColor = color;
        record->backBrush.reset(CreateSolidBrush(color));
        if (record->hwnd == nullptr) {
            invalidateWindowless(s_, *record);
        } else {
            RedrawWindow(record->hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
    }

    void setControlForeColor(Handle handle, Color color) override {
        ControlRecord* record = s_.control(handle);
        if (record == nullptr) return;
        record->spec.foreColor = color;
        if (record->hwnd == nullptr) {
            invalidateWindowless(s_, *record);
        } else {
            RedrawWindow(record->hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
        }
    }

    void setControlVisible(Handle handle, bool visible) override {
        ControlRecord* record = s_.control(handle);
        if (record != nullptr && record->hwnd != nullptr) ShowWindow(record->hwnd, visible ? SW_SHOWNA : SW_HIDE);
    }

    void setCheckValue(Handle handle, int value) override {
        ControlRecord* record = s_.control(handle);
        if (record == nullptr || record->hwnd == nullptr) return;
        if (record->spec.kind == ControlKind::Slider) {
            // Set, not moved: the slider tells no one (events.cpp).
            record->lastValue = std::clamp(value, record->spec.minimum, record->spec.maximum);
            SendMessageA(record->hwnd, TBM_SETPOS, TRUE, record->lastValue);
            return;
        }
        if (record->spec.kind == ControlKind::ListBox) {
            SendMessageA(record->hwnd, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
            return;
        }
        const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
        SendMessageA(record->hwnd, BM_SETCHECK, state, 0);
    }

    int checkValue(Handle handle) override {
        const ControlRecord* record = s_.control(handle);
        if (record == nullptr || record->hwnd == nullptr) return 0;
        if (record->spec.kind == ControlKind::Slider) {
            return static_cast<int>(SendMessageA(record->hwnd, TBM_GETPOS, 0, 0));
        }
        if (record->spec.kind == ControlKind::ListBox) {
            return static_cast<int>(SendMessageA(record->hwnd, LB_GETCURSEL, 0, 0));
        }
        const LRESULT state = SendMessageA(record->hwnd, BM_GETCHECK, 0, 0);
        return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
    }

    void setAccessibleDescription(Handle handle, const std::string& text) override {
        ControlRecord* record = s_.control(handle);
        if (record == nullptr) return;
        record->spec.accessibleDescription = text;
        if (record->hwnd != nullptr) describe(s_, *record);
    }

    Handle pictureDC(Handle handle) override {
        const ControlRecord* record = s_.control(handle);
        return record == nullptr || !record->surface ? 0 : asHandle(record->surface->dc.get());
    }

private:
    // A window of the program, or a pane that holds controls; null for anything else.
    HWND parentWindowOf(Handle parent) {
        if (s_.window(parent) != nullptr) return asHwnd(parent);
        const ControlRecord* pane = s_.control(parent);
        return pane == nullptr ? nullptr : pane->hwnd;
    }

    Handle keep(std::unique_ptr<ControlRecord> record) {
        const Handle handle = record->handle;
        s_.controls[handle] = std::move(record);
        return handle;
    }

    bool createNative(ControlRecord& record, const NativeKind& kind) {
        const ControlSpec& spec = record.spec;
        record.id = s_.nextControlId++;
        if (spec.kind == ControlKind::PictureBox) {
            record.surface = surfaceFromImage(spec.picture);
            const WindowRecord* window = s_.window(record.topLevel);
            record.shown = pictureAt(spec.picture, window != nullptr ? window->dpi : s_.dpi);
        }
        // Overlapping controls show in z-order, the first in tab order on top.
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
        // Our own panes find the state through their creation data; the system's controls take none.
        void* const data = kind.windowClass == kPaneClass ? &s_ : nullptr;
        const Rect at = zoomed(spec.rect, zoomOf(s_, record.topLevel));
        record.hwnd = CreateWindowExA(kind.exStyle, kind.windowClass, spec.text.c_str(), style, at.left, at.top,
                                      at.width, at.height, record.parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(record.id)), s_.instance, data);
        if (record.hwnd == nullptr) return false;
        record.handle = asHandle(record.hwnd);
        const auto state = reinterpret_cast<DWORD_PTR>(&s_);
        if (spec.kind == ControlKind::TextBox) {
            // Clicks on a text box are reported; the edit control itself has no notification for them.
            SetWindowSubclass(record.hwnd, editProc, 0, state);
        } else if (isLink(spec)) {
            setLinkText(record.hwnd, spec.text);
            SetWindowSubclass(record.hwnd, linkProc, 0, state);
        } else if (spec.kind == ControlKind::Label && !namedByText(spec)) {
            SetWindowSubclass(record.hwnd, labelProc, 0, state);
        } else if (spec.kind == ControlKind::Slider) {
            SendMessageA(record.hwnd, TBM_SETRANGEMIN, FALSE, spec.minimum);
            SendMessageA(record.hwnd, TBM_SETRANGEMAX, FALSE, spec.maximum);
            SendMessageA(record.hwnd, TBM_SETTICFREQ, std::max(1, (spec.maximum - spec.minimum) / 9), 0);
            SendMessageA(record.hwnd, TBM_SETPOS, TRUE, spec.minimum);
            record.lastValue = spec.minimum;
        } else if (spec.kind == ControlKind::HotkeyBox) {
            SetWindowSubclass(record.hwnd, hotkeyProc, 0, state);
            setHotkeyBox(s_, record, spec.text);
        }
        if (spec.wholeNumberMax >= 0) {
            SendMessageA(record.hwnd, EM_LIMITTEXT, std::to_string(spec.wholeNumberMax).size(), 0);
            keepWholeNumber(record);  // text that is none goes back to nothing
        }
        if (spec.kind == ControlKind::TextBox) record.lastText = windowText(record.hwnd);
        return true;
    }

    // Siblings stand in z-order by tab index, which is the order Tab walks them; a
    // label that names a control stands right before it, where the dialog manager's
    // mnemonics and the screen readers look for it.
    void placeInTabOrder(const ControlRecord& record) {
        const auto key = [](const ControlRecord& c) { return c.spec.tabIndex < 0 ? INT_MAX : c.spec.tabIndex; };
        HWND after = HWND_TOP;
        int best = INT_MIN;
        for (const ControlRecord* other : siblingsOf(record)) {
            const int k = key(*other);
            if (other->spec.labelFor.empty() && k <= key(record) && k >= best) {
                best = k;
                after = other->hwnd;
            }
        }
        SetWindowPos(record.hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        for (const ControlRecord* other : siblingsOf(record)) {
            if (!record.spec.name.empty() && other->spec.labelFor == record.spec.name) standBefore(*other, record);
            if (!record.spec.labelFor.empty() && record.spec.labelFor == other->spec.name) standBefore(record, *other);
        }
    }

    // The native controls in the same parent.
    std::vector<const ControlRecord*> siblingsOf(const ControlRecord& record) {
        std::vector<const ControlRecord*> siblings;
        for (const auto& [handle, other] : s_.controls) {
            if (other.get() != &record && other->parent == record.parent && other->hwnd != nullptr) {
                siblings.push_back(other.get());
            }
        }
        return siblings;
    }

    static void standBefore(const ControlRecord& label, const ControlRecord& control) {
        nameByLabel(label, control);
        const HWND previous = GetWindow(control.hwnd, GW_HWNDPREV);
        if (previous == label.hwnd) return;
        SetWindowPos(label.hwnd, previous != nullptr ? previous : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
};

}  // namespace

std::string hotkeyBoxText(HWND box) {
    const auto value = static_cast<WORD>(SendMessageA(box, HKM_GETHOTKEY, 0, 0));
    Hotkey hotkey{0, LOBYTE(value)};
    if (hotkey.key == 0) return {};
    for (const auto& m : kHotkeyModifiers) {
        if ((HIBYTE(value) & m.hotkeyFlag) != 0) hotkey.modifiers |= m.modifier;
    }
    return hotkeyText(hotkey);
}

// The control has no Windows key: such a key is kept as text, and shown without it.
void setHotkeyBox(State& state, ControlRecord& record, const std::string& text) {
    const auto hotkey = tryParseHotkey(text);
    record.lastText = hotkey ? hotkeyText(*hotkey) : std::string{};
    BYTE flags = 0;
    if (hotkey) {
        for (const auto& m : kHotkeyModifiers) {
            if ((hotkey->modifiers & m.modifier) != 0) flags |= static_cast<BYTE>(m.hotkeyFlag);
        }
        if (extendedKey(hotkey->key)) flags |= HOTKEYF_EXT;
    }
    const ProgramsOwn guard(state.programmaticText);
    SendMessageA(record.hwnd, HKM_SETHOTKEY, hotkey ? MAKEWORD(hotkey->key, flags) : 0, 0);
}

void applyFont(State& state, ControlRecord& record) {
    const WindowRecord* window = state.window(record.topLevel);
    Font font = fontAt(state, record.spec.font, window != nullptr ? window->dpi : state.dpi);
    SendMessageA(record.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    record.font = std::move(font);  // the old one once the control has let go of it
    // Text and hotkey boxes centre their line in what the font leaves over (subclass.cpp).
    if (record.spec.kind == ControlKind::TextBox || record.spec.kind == ControlKind::HotkeyBox) {
        SetWindowPos(record.hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

std::unique_ptr<Controls> makeControls(State& state) { return std::make_unique<Win32Controls>(state); }

}  // namespace velmora::platform::win32
