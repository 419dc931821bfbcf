// Painting what the system does not paint for us: a picture box's picture, a
// frame's group box, and the shapes and lines, which have no window of their own.
#include <algorithm>

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

void paintShape(HDC dc, const ControlRecord& record) {
    const ControlSpec& s = record.spec;
    const Rect& r = record.rect;
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

}  // namespace

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
        if (record->hwnd == nullptr && record->parent == hwnd) paintShape(dc, *record);
    }
    // Only a picture that takes the keyboard ever has it.
    if (GetFocus() == hwnd) DrawFocusRect(dc, &client);
}

}  // namespace velmora::platform::win32
