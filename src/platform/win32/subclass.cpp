// The procedures of the controls the Windows platform listens to more closely
// than their notifications allow, or draws itself: text boxes, links, labels and
// hotkey boxes.
#include <optional>

#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {
// The control's own handling, and the subclass removed as its window goes.
LRESULT passOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, SUBCLASSPROC proc) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, proc, 0);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

int lineHeight(HWND box) {
    const WindowDC dc(box);
    const Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(box, WM_GETFONT, 0, 0)));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    return tm.tmHeight;
}

// Inside its edge, in screen coordinates: where the box's client area would be.
RECT insideEdge(HWND box) {
    RECT r{};
    GetWindowRect(box, &r);
    DefSubclassProc(box, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

// A text or hotkey box draws its one line at the top of its client area, which on a
// dense screen leaves the text high in the box. Its client area is the line's
// height, centred inside the edge; the margins above and below are painted in the
// box's colour and take clicks as the box does.
std::optional<LRESULT> centredLine(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCALCSIZE: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            RECT& client = *reinterpret_cast<RECT*>(lParam);  // the first of NCCALCSIZE_PARAMS too
            // A pixel above and below the line, where the controls draw it a little lower.
            const int spare = client.bottom - client.top - lineHeight(box) - 2;
            if (spare > 1) {
                client.top += spare / 2;
                client.bottom -= spare - spare / 2;
            }
            return result;
        }
        case WM_NCPAINT: {
            const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
            RECT window{};
            GetWindowRect(box, &window);
            const RECT inside = insideEdge(box);
            RECT client{};
            GetClientRect(box, &client);
            MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
            const WindowDC dc(box, WindowDC::Area::Whole);
            if (dc.get() == nullptr) return result;
            auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
                GetParent(box), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(box)));
            if (brush == nullptr) brush = GetSysColorBrush(COLOR_WINDOW);
            const RECT margins[] = {{inside.left, inside.top, inside.right, client.top},
                                    {inside.left, client.bottom, inside.right, inside.bottom}};
            for (RECT m : margins) {
                OffsetRect(&m, -window.left, -window.top);
                if (m.top < m.bottom) FillRect(dc.get(), &m, brush);
            }
            return result;
        }
        case WM_NCHITTEST: {
            const LRESULT hit = DefSubclassProc(box, message, wParam, lParam);
            const RECT inside = insideEdge(box);
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            return hit != HTCLIENT && PtInRect(&inside, at) ? HTCLIENT : hit;
        }
        default:
            return std::nullopt;
    }
}
}  // namespace

LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR state) {
    if (const auto answered = centredLine(hwnd, message, wParam, lParam)) return *answered;
    const LRESULT result = passOn(hwnd, message, wParam, lParam, editProc);
    if (message == WM_LBUTTONUP) reportClick(*reinterpret_cast<State*>(state), hwnd);
    return result;
}

// A link is followed with the mouse (NM_CLICK, then kFollowLink), Enter or Space;
// the SysLink itself shows the focus and a hand over the link.
LRESULT CALLBACK linkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR state) {
    // The keys' codes are also their characters.
    const bool followKey = wParam == VK_RETURN || wParam == VK_SPACE;
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter is the link's, not the default button's.
            const auto* msg = reinterpret_cast<const MSG*>(lParam);
            if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
            break;
        }
        case WM_KEYDOWN:
            if (!followKey) break;
            reportClick(*reinterpret_cast<State*>(state), hwnd);
            return 0;
        case WM_KEYUP:
        case WM_CHAR:
            if (followKey) return 0;  // followed once, when the key goes down
            break;
        case kFollowLink:
            reportClick(*reinterpret_cast<State*>(state), hwnd);
            return 0;
        default:
            break;
    }
    return passOn(hwnd, message, wParam, lParam, linkProc);
}

// A label draws its own text (paint.cpp), so it wraps alike on every system.
LRESULT CALLBACK labelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR state) {
    switch (message) {
        case WM_PAINT: {
            const PaintScope ps(hwnd);
            paintLabel(*reinterpret_cast<State*>(state), hwnd, ps.dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            paintLabel(*reinterpret_cast<State*>(state), hwnd, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_SETTEXT: {
            // Kept as any window keeps its text, and painted later: the system's label would
            // paint its own way at once.
            const LRESULT result = IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                                         : DefWindowProcA(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        default:
            return passOn(hwnd, message, wParam, lParam, labelProc);
    }
}

// Backspace and Delete clear a hotkey box, which the control alone does without a word.
// Alt with a key and nothing else is left to the window: a mnemonic, or Alt+F4. What
// the person left half pressed when the keyboard goes elsewhere is dropped.
LRESULT CALLBACK hotkeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR state) {
    if (const auto answered = centredLine(hwnd, message, wParam, lParam)) return *answered;
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (wParam == VK_BACK || wParam == VK_DELETE) {
                SendMessageA(hwnd, HKM_SETHOTKEY, 0, 0);
                SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_CHANGE),
                             reinterpret_cast<LPARAM>(hwnd));
                return 0;
            }
            if (message == WM_SYSKEYDOWN && keyShiftMask() == 4 && !windowsKeyHeld() && wParam != VK_MENU) {
                return DefWindowProcA(hwnd, message, wParam, lParam);
            }
            break;
        case WM_KILLFOCUS: {
            auto& s = *reinterpret_cast<State*>(state);
            if (ControlRecord* record = s.control(hwnd)) setHotkeyBox(s, *record, record->lastText);
            break;
        }
        default:
            break;
    }
    return passOn(hwnd, message, wParam, lParam, hotkeyProc);
}

}  // namespace velmora::platform::win32
