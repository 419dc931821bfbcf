// Painting what the system does not paint for us: a picture box's picture, a
// frame's group box, a label's text, and the shapes and lines, which have no
// window of their own.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

void paintPicture(HDC dc, const ControlRecord& pane, const RECT& client) {
    const PictureSurface& drawn = pane.shown ? *pane.shown : *pane.surface;
    const Size size = drawn.size;
    BitBlt(dc, 0, 0, size.width, size.height, drawn.dc.get(), 0, 0, SRCCOPY);
    // Whatever the picture does not cover shows the back colour.
    RECT right{size.width, 0, client.right, client.bottom};
    RECT below{0, size.height, std::min<LONG>(size.width, client.right), client.bottom};
    if (right.left < right.right) FillRect(dc, &right, pane.backBrush.get());
    if (below.top < below.bottom) FillRect(dc, &below, pane.backBrush.get());
}

// A group box: an etched outline, its caption breaking the top edge.
void paintGroupBox(HDC dc, const ControlRecord& pane, RECT edge) {
    const ControlSpec& s = pane.spec;
    if (s.text.empty()) {
        DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
        return;
    }
    TEXTMETRICA tm{};
    Selection font(dc, pane.font.get());
    GetTextMetricsA(dc, &tm);
    edge.top += tm.tmHeight / 2;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    SetBkColor(dc, s.backColor);
    SetTextColor(dc, s.foreColor);
    TextOutA(dc, 8, 0, s.text.c_str(), static_cast<int>(s.text.size()));
}

void paintShape(HDC dc, const ControlRecord& record, double zoom) {
    const ControlSpec& s = record.spec;
    const Rect r = zoomed(record.rect, zoom);
    // Windows draws dashes only with one-pixel pens.
    const bool dashed = s.lineStyle == LineStyle::Dash;
    Pen pen(CreatePen(dashed ? PS_DASH : PS_SOLID, dashed ? 1 : std::max(1, s.lineWidth), s.foreColor));
    Selection penIn(dc, pen.get());
    if (s.kind == ControlKind::Line) {
        MoveToEx(dc, r.left, r.top, nullptr);
        LineTo(dc, r.width, r.height);
        return;
    }
    const HBRUSH brush = s.transparentBack ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : record.backBrush.get();
    Selection brushIn(dc, brush);
    SetBkMode(dc, TRANSPARENT);
    if (s.shape == ShapeStyle::Oval) {
        Ellipse(dc, r.left, r.top, r.left + r.width, r.top + r.height);
    } else {
        Rectangle(dc, r.left, r.top, r.left + r.width, r.top + r.height);
    }
}

// How wide a stretch of a label's text is drawn, its mnemonic's & taken out.
int drawnWidth(HDC dc, const std::string& text, std::size_t from, std::size_t to) {
    RECT r{};
    DrawTextA(dc, text.c_str() + from, static_cast<int>(to - from), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    return r.right;
}

// A label's lines: its text broken at blanks into lines that fit the width (a word
// wider than that where it stops fitting), and at its own line ends. The blanks
// where a line breaks are not carried into the next: a run of them laid out blank by
// blank would put the words after it wherever the face's blank width takes them.
std::vector<std::string> labelLines(HDC dc, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t lineEnd = std::min(text.find('\n', start), text.size());
        std::size_t at = start;
        do {
            std::size_t end = at;  // the line ends after the last word that fits
            while (end < lineEnd) {
                const std::size_t wordStart = std::min(text.find_first_not_of(' ', end), lineEnd);
                const std::size_t wordEnd = std::min(text.find(' ', wordStart), lineEnd);
                if (drawnWidth(dc, text, at, wordEnd) > width) break;
                end = wordEnd;
            }
            if (end == at) {
                // Not one word fits: as many of the first one's letters as do, and at least one.
                end = std::min(text.find_first_not_of(' ', at), lineEnd) + 1;
                while (end < lineEnd && text[end] != ' ' && drawnWidth(dc, text, at, end + 1) <= width) ++end;
                end = std::min(end, lineEnd);
            }
            std::string line = text.substr(at, end - at);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(std::move(line));
            at = std::min(text.find_first_not_of(' ', end), lineEnd);
        } while (at < lineEnd);
        start = lineEnd + 1;
    }
    return lines;
}

}  // namespace

void paintLabel(State& state, HWND label, HDC dc) {
    const ControlRecord* record = state.control(label);
    if (record == nullptr) return;
    RECT client{};
    GetClientRect(label, &client);
    // The parent gives the colours and the background, as it does for the system's labels.
    auto back = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(label)));
    FillRect(dc, &client, back != nullptr ? back : GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    const Selection font(dc, record->font.get());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const bool hideMnemonic = (SendMessageA(label, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
    const UINT format = DT_SINGLELINE | DT_EXPANDTABS |
                        (record->spec.alignment == Alignment::Center ? DT_CENTER : DT_LEFT) |
                        (hideMnemonic ? DT_HIDEPREFIX : 0U);
    RECT line = client;
    for (const std::string& text : labelLines(dc, record->spec.text, client.right)) {
        if (line.top >= client.bottom) break;
        line.bottom = line.top + tm.tmHeight;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &line, format);
        line.top = line.bottom;
    }
}

void paint(State& state, HWND hwnd) {
    PaintScope ps(hwnd);
    const HDC dc = ps.dc();
    RECT client{};
    GetClientRect(hwnd, &client);
    if (const ControlRecord* pane = state.control(hwnd)) {
        if (pane->surface) {
            paintPicture(dc, *pane, client);
        } else if (pane->spec.kind == ControlKind::Frame) {
            paintGroupBox(dc, *pane, client);
        }
    }
    for (const auto& [handle, record] : state.controls) {
        if (record->hwnd == nullptr && record->parent == hwnd) paintShape(dc, *record, zoomOf(state, record->topLevel));
    }
    // Only a picture that takes the keyboard ever has it.
    if (GetFocus() == hwnd) DrawFocusRect(dc, &client);
}

}  // namespace velmora::platform::win32
