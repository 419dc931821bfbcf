// A DLL the end-to-end tests hook into velmora.exe (WH_CALLWNDPROC): on
// kProbeMessage, in the program's own thread, it measures where each shown
// control of that window draws its text, with the control's own font and, where
// the control wraps or draws its own way, its own painting (WM_PRINTCLIENT), and
// writes it to the tests' mapping.
#include "text_probe.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <initializer_list>

namespace velmora::e2e {
namespace {

// A 32-bit picture a control paints itself into.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<const DWORD*>(bits);
        if (dc_ != nullptr && bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        if (old_ != nullptr) SelectObject(dc_, old_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    bool ready() const { return old_ != nullptr && pixels_ != nullptr; }
    HDC dc() const { return dc_; }
    DWORD at(int x, int y) const { return pixels_[y * width_ + x] & 0xFFFFFF; }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    const DWORD* pixels_ = nullptr;
};

// The control painted by itself, in bands of `band` rows from the top: the ink of
// each band that has any (whatever differs from the bottom right corner's colour).
int inkBands(HWND control, int width, int height, int band, RECT* lines) {
    Canvas canvas(width, height);
    if (!canvas.ready()) return 0;
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const DWORD back = canvas.at(width - 1, height - 1);
    int count = 0;
    for (int top = 0; top < height && count < kMaxLines; top += band) {
        RECT ink{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = top; y < std::min(top + band, height); ++y) {
            for (int x = 0; x < width; ++x) {
                if (canvas.at(x, y) == back) continue;
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
            }
        }
        if (ink.left != INT_MAX) lines[count++] = ink;
    }
    return count;
}

// A label or link painted with room below it for all its lines: its own height again
// while it paints, so a line it cannot show is found too.
int wrappedLines(HWND control, const RECT& frame, const SIZE& client, int lineHeight, RECT* lines) {
    const int room = lineHeight * kMaxLines;
    constexpr UINT kQuiet = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(control, nullptr, 0, 0, width, height + room, kQuiet);
    const int count = inkBands(control, client.cx, client.cy + room, lineHeight, lines);
    SetWindowPos(control, nullptr, 0, 0, width, height, kQuiet);
    InvalidateRect(control, nullptr, TRUE);
    return count;
}

void copyText(char* to, std::size_t size, const char* from) {
    std::strncpy(to, from, size - 1);
    to[size - 1] = '\0';
}

// A link's text without its markup.
void dropMarkup(char* text) {
    for (const char* tag : {"<a>", "</a>"}) {
        while (char* at = std::strstr(text, tag))
            std::memmove(at, at + std::strlen(tag), std::strlen(at + std::strlen(tag)) + 1);
    }
}

void measureText(HWND control, ShownControl& c) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    const bool isStatic = std::strcmp(c.className, "Static") == 0;
    const bool isButton = std::strcmp(c.className, "Button") == 0;
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (font == nullptr || c.text[0] == '\0' || (isStatic && (style & SS_TYPEMASK) == SS_OWNERDRAW)) return;
    if (std::strcmp(c.className, "msctls_trackbar32") == 0 || std::strcmp(c.className, "ListBox") == 0) return;
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    c.lineHeight = tm.tmHeight;
    RECT r{};
    const UINT prefix = isStatic || isButton ? 0 : DT_NOPREFIX;
    DrawTextA(dc, c.text, -1, &r, DT_CALCRECT | DT_SINGLELINE | prefix);
    c.extent = {r.right, r.bottom};
    SelectObject(dc, old);
    ReleaseDC(control, dc);

    const SIZE client{c.client.right - c.client.left, c.client.bottom - c.client.top};
    const int kind = style & BS_TYPEMASK;
    if (isStatic || std::strcmp(c.className, "SysLink") == 0) {
        c.lineCount = wrappedLines(control, c.frame, client, c.lineHeight, c.lines);
        const RECT& last = c.lines[std::max(0, c.lineCount - 1)];
        const int lastCell = c.lineCount == 0 ? 0 : last.top / c.lineHeight + 1;
        c.fits = lastCell * c.lineHeight <= client.cy;
        for (int i = 0; i < c.lineCount; ++i) c.fits = c.fits && c.lines[i].right < client.cx;
    } else if (isButton && ((style & BS_PUSHLIKE) != 0 || kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)) {
        // Centred on the face, inside its edges.
        const LONG left = (client.cx - c.extent.cx) / 2;
        const LONG top = (client.cy - c.extent.cy) / 2;
        c.lines[0] = {left, top, left + c.extent.cx, top + c.extent.cy};
        c.lineCount = 1;
        c.fits = c.extent.cx <= client.cx - 4 && c.extent.cy <= client.cy - 4;
    } else if (isButton || std::strcmp(c.className, "msctls_hotkey32") == 0) {
        // A check box with its box, or the key a hotkey box shows: all its ink as one line.
        c.lineCount = inkBands(control, client.cx, client.cy, client.cy, c.lines);
        c.fits = c.lineHeight <= client.cy && (c.lineCount == 0 || c.lines[0].right < client.cx);
    } else if (std::strcmp(c.className, "Edit") == 0) {
        RECT format{};
        SendMessageA(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        c.lines[0] = {format.left, format.top, format.left + c.extent.cx, format.top + c.lineHeight};
        c.lineCount = 1;
        c.fits = c.lineHeight <= client.cy && c.extent.cx <= format.right - format.left;
    } else {
        // A frame: its caption along the top, where the platform draws it.
        c.lines[0] = {8, 0, 8 + c.extent.cx, c.extent.cy};
        c.lineCount = 1;
        c.fits = 8 + c.extent.cx <= client.cx;
    }
    for (int i = 0; i < c.lineCount; ++i) OffsetRect(&c.lines[i], c.client.left, c.client.top);
}

struct Walk {
    HWND window;
    ProbeResults* results;
};

BOOL CALLBACK measureControl(HWND control, LPARAM param) {
    auto& walk = *reinterpret_cast<Walk*>(param);
    ProbeResults& out = *walk.results;
    if (!IsWindowVisible(control) || out.count >= kMaxControls) return TRUE;
    ShownControl& c = out.controls[out.count++];
    c = {};
    GetClassNameA(control, c.className, sizeof c.className);
    char text[sizeof c.text] = {};
    GetWindowTextA(control, text, sizeof text);
    copyText(c.text, sizeof c.text, text);
    dropMarkup(c.text);
    c.parent = reinterpret_cast<unsigned long long>(GetParent(control));
    for (HWND above = GetWindow(control, GW_HWNDPREV); above != nullptr; above = GetWindow(above, GW_HWNDPREV))
        ++c.zOrder;
    GetWindowRect(control, &c.frame);
    MapWindowPoints(nullptr, walk.window, reinterpret_cast<POINT*>(&c.frame), 2);
    GetClientRect(control, &c.client);
    MapWindowPoints(control, walk.window, reinterpret_cast<POINT*>(&c.client), 2);
    measureText(control, c);
    return TRUE;
}

void measureWindow(HWND window) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kProbeMapping);
    if (mapping == nullptr) return;
    if (auto* results =
            static_cast<ProbeResults*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeResults)))) {
        results->count = 0;
        Walk walk{window, results};
        EnumChildWindows(window, measureControl, reinterpret_cast<LPARAM>(&walk));
        UnmapViewOfFile(results);
    }
    CloseHandle(mapping);
}

}  // namespace
}  // namespace velmora::e2e

extern "C" __declspec(dllexport) LRESULT CALLBACK probeHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT message = RegisterWindowMessageA(velmora::e2e::kProbeMessage);
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call != nullptr && call->message == message) velmora::e2e::measureWindow(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
