// The procedures of the controls the Windows platform listens to more closely
// than their notifications allow: text boxes, links and hotkey boxes.
#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {
// The control's own handling, and the subclass removed as its window goes.
LRESULT passOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, SUBCLASSPROC proc) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, proc, 0);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}
}  // namespace

LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR state) {
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

// Backspace and Delete clear a hotkey box, which the control alone does without a word.
// Alt with a key and nothing else is left to the window: a mnemonic, or Alt+F4. What
// the person left half pressed when the keyboard goes elsewhere is dropped.
LRESULT CALLBACK hotkeyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR state) {
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
