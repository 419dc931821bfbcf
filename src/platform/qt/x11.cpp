// Qt reads _NET_FRAME_EXTENTS only if the window manager listed it as supported
// when Qt started, so a program started with the session, before its window
// manager is ready, never learns its frame and places it as if there were none.
// We read the property ourselves whenever the window manager sets it.
#include "platform/qt/x11.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QGuiApplication>

#include "platform/qt/widgets.h"

namespace velmora::platform::qt {

namespace {

class FrameExtentsWatch final : public QAbstractNativeEventFilter {
public:
    FrameExtentsWatch(xcb_connection_t* connection, xcb_atom_t atom) : connection_(connection), atom_(atom) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (change->atom != atom_) return false;
        auto* w = dynamic_cast<WindowWidget*>(QWidget::find(change->window));
        if (w == nullptr) return false;
        w->setFrameExtents(read(change->window));
        // Placed again once the event that said so has been handled.
        QMetaObject::invokeMethod(
            w, [w] { w->framed(); }, Qt::QueuedConnection);
        return false;
    }

private:
    std::optional<QMargins> read(xcb_window_t window) const {
        const auto cookie = xcb_get_property(connection_, 0, window, atom_, XCB_ATOM_CARDINAL, 0, 4);
        const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection_, cookie, nullptr));
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16) return std::nullopt;
        // Left, right, top, bottom.
        const auto* v = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
        return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]), static_cast<int>(v[3]));
    }

    xcb_connection_t* connection_;
    xcb_atom_t atom_;
};

}  // namespace

xcb_connection_t* x11Connection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The offscreen platform answers the interface, without a connection.
    return x11 == nullptr ? nullptr : x11->connection();
}

void setInputShape(unsigned long window, bool mouseGoesThrough) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr || window == 0) return;
    const auto id = static_cast<xcb_window_t>(window);
    if (mouseGoesThrough) {
        xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, id, 0, 0, 0,
                             nullptr);
    } else {
        xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, id, 0, 0, XCB_PIXMAP_NONE);
    }
    xcb_flush(connection);
}

std::unique_ptr<QAbstractNativeEventFilter> watchFrameExtents() {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) return nullptr;
    constexpr char kName[] = "_NET_FRAME_EXTENTS";
    const auto cookie = xcb_intern_atom(connection, 0, sizeof kName - 1, kName);
    const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    if (!reply) return nullptr;
    return std::make_unique<FrameExtentsWatch>(connection, reply->atom);
}

}  // namespace velmora::platform::qt
