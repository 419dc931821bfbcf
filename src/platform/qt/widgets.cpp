#include "platform/qt/widgets.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "platform/qt/x11.h"
#include "platform/winapi.h"

namespace velmora::platform::qt {

QString toQString(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QColor toQColor(Color color) {
    return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
            static_cast<int>((color >> 16) & 0xFF)};
}

// Every & that is not the first of a doubled one marks a mnemonic.
QString withoutMnemonic(QString caption) {
    qsizetype kept = 0;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const bool marker = caption[i] == u'&' && (i + 1 == caption.size() || caption[i + 1] != u'&');
        if (!marker) caption[kept++] = caption[i];
    }
    caption.truncate(kept);
    return caption;
}

// The sizes tried go down from the designed one in half points, never below 6:
// every size measured loads a font of its own, so the search measures few.
void fitText(QWidget& widget, const QString& text, qreal points, bool wrap, QSize padding) {
    constexpr qreal kSmallest = 6;
    constexpr qreal kStep = 0.5;
    QFont font = widget.font();
    if (points < kSmallest) return;
    const QRect box(QPoint(0, 0), widget.size() - padding);
    const QString shown = withoutMnemonic(text);  // a mnemonic's marker takes no room
    const int flags = wrap ? Qt::TextWordWrap : 0;
    const auto sizeAt = [&](int step) { return points - step * kStep; };
    QRect need;
    const auto fits = [&](int step) {
        font.setPointSizeF(sizeAt(step));
        need = QFontMetrics(font).boundingRect(box, flags, shown);
        return need.width() <= box.width() && need.height() <= box.height();
    };
    const int last = static_cast<int>((points - kSmallest) / kStep);
    int hi = 0;
    if (!fits(0) && last > 0) {
        // The step wanted is in [lo, hi], the last when none fits.
        int lo = 1;
        hi = last;
        // Text grows with its font, wrapped text in both directions: the first
        // size tried beyond the designed one is the one this measurement suggests.
        const auto shrink = [](int room, int needed, bool area) {
            if (needed <= room) return 1.0;
            const qreal by = room <= 0 ? 0.0 : qreal(room) / needed;
            return area ? std::sqrt(by) : by;
        };
        const qreal ratio =
            std::min(shrink(box.width(), need.width(), false), shrink(box.height(), need.height(), wrap));
        int probe = std::clamp(static_cast<int>(std::ceil((points - points * ratio) / kStep)), lo, hi);
        bool first = true;
        while (lo < hi) {
            const bool fit = fits(probe);
            if (fit) {
                hi = probe;
            } else {
                lo = probe + 1;
            }
            // Next to the guess is the likeliest answer; after that, halves.
            probe = first ? std::clamp(fit ? probe - 1 : probe + 1, lo, hi) : lo + (hi - lo) / 2;
            first = false;
        }
    }
    font.setPointSizeF(sizeAt(hi));
    widget.setFont(font);
}

int buttonMask(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftMask(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

void fillBackground(QWidget& widget, Color color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, toQColor(color));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QImage toQImage(const Image& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width; ++x) line[x] = toQColor(image.at(x, y)).rgb();
    }
    return out;
}

void drawFocusMark(QWidget& widget, const QRect& box) {
    QPainter painter(&widget);
    const QRect mark = box.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(mark);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(mark);
}

namespace {

bool leftReleaseInside(const QWidget& widget, const QMouseEvent* event) {
    return event->button() == Qt::LeftButton && widget.rect().contains(event->position().toPoint());
}

// Below this a framed window would be no use; a borderless one (a ruler's pane)
// may be as thin as a line, though a window of no size is never shown.
QSize minimumClientOf(BorderStyle border) { return border == BorderStyle::None ? QSize(1, 1) : QSize(120, 30); }

// A window a person can maximise lays itself out to any size, and the program
// keeps its outer rectangle (the overlay's, stored as such). Any other holds
// designed content: its design's client area, under whatever frame it gets.
std::optional<QSize> designClientOf(const WindowSpec& spec, QSize minimum) {
    if (spec.border == BorderStyle::Sizable && spec.maxButton) return std::nullopt;
    return QSize(spec.clientSize.width, spec.clientSize.height).expandedTo(minimum);
}
}  // namespace

WindowWidget::WindowWidget(Reporter& reporter, Handle handle, const WindowSpec& spec, Qt::WindowFlags flags)
    : QWidget(nullptr, flags),
      reporter_(reporter),
      handle_(handle),
      // A borderless window has nothing a person could size it by, and the program sizes it freely.
      fixed_(spec.border == BorderStyle::FixedSingle || spec.border == BorderStyle::FixedDialog),
      dialog_(spec.border == BorderStyle::FixedDialog),
      closeOnEscape_(spec.closeOnEscape),
      activateOnShow_(spec.activateOnShow),
      minimumClient_(minimumClientOf(spec.border)),
      designClient_(designClientOf(spec, minimumClient_)) {
    setObjectName(toQString(spec.name));
    if (showsQuietly()) setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(toQString(spec.caption));
    fillBackground(*this, spec.backColor);
}

void WindowWidget::setBackColor(Color color) { fillBackground(*this, color); }

QMargins WindowWidget::frameMargins() const {
    if (extents_) return *extents_;
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

Rect WindowWidget::outerRect() const {
    const QRect r = geometry().marginsAdded(frameMargins());
    return {r.x(), r.y(), r.width(), r.height()};
}

// The frame is unknown until the window manager framed the window: a rectangle
// of the size the window reads now only moves it, and until the program gives
// it a size of its own a designed client area stays, under whatever frame.
void WindowWidget::setOuterRect(const Rect& rect, QMargins frame) {
    if (designClient_ && QSize(rect.width, rect.height) != geometry().marginsAdded(frame).size()) {
        designClient_.reset();
    }
    place(rect, frame);
}

void WindowWidget::place(const Rect& rect, QMargins frame) {
    wanted_ = rect;
    assumed_ = frame;
    placing_ = true;
    const QSize client(std::max(rect.width - frame.left() - frame.right(), minimumWidth()),
                       std::max(rect.height - frame.top() - frame.bottom(), minimumHeight()));
    if (fixed_) setFixedSize(client);
    // The client area, placed inside the frame: moving a hidden window by its
    // frame position is not reliable in Qt.
    setGeometry(QRect(QPoint(rect.left + frame.left(), rect.top + frame.top()), client));
    placing_ = false;
    reportSizeIfChanged();
}

// The frame is only known once the window is shown: give the program the outer
// size it asked for rather than that size plus the frame.
void WindowWidget::settleFrame() {
    if (!wanted_ || placing_) return;
    const QMargins now = frameMargins();
    if (now != assumed_) {
        Rect rect = *wanted_;
        if (designClient_) {
            rect.width = designClient_->width() + now.left() + now.right();
            rect.height = designClient_->height() + now.top() + now.bottom();
        }
        place(rect, now);
    } else if (outerRect() != *wanted_) {
        wanted_.reset();  // moved or sized by the person or the window manager since
    }
}

// A window manager may learn a window's input shape only from a change after
// it framed the window (openbox reads the bounding shape alone as it frames
// one): a window that lets the mouse through says so again.
void WindowWidget::framed() {
    settleFrame();
    if (windowFlags().testFlag(Qt::WindowTransparentForInput)) setInputShape(internalWinId(), true);
}

void WindowWidget::reportSizeIfChanged() {
    const QSize size = geometry().marginsAdded(frameMargins()).size();
    if (size == reported_) return;
    const bool first = !reported_.isValid();
    reported_ = size;
    if (!first) reporter_.report({EventKind::Resize, handle_});
}

void WindowWidget::closeEvent(QCloseEvent* event) {
    // The program decides whether the window goes; it destroys it itself.
    event->ignore();
    reporter_.report({EventKind::CloseRequest, handle_});
}

void WindowWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    settleFrame();
    reportSizeIfChanged();
}

void WindowWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    settleFrame();
    if (!placing_) reporter_.report({EventKind::Moved, handle_});
}

void WindowWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QWindow* native = windowHandle()) native->installEventFilter(this);
    settleFrame();
    reportSizeIfChanged();
}

// A window manager frames a window when it maps it, and Qt learns the frame's
// size then without telling the widget: the first exposure is the first moment
// to look again (on X11, x11.cpp also says whenever the frame changes).
bool WindowWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose) settleFrame();
    return QWidget::eventFilter(watched, event);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    reporter_.report(
        {EventKind::MouseMove, handle_, buttonMask(event->buttons()), shiftMask(event->modifiers()), at.x(), at.y()});
}

void WindowWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        // Enter presses the focused button, else the default one.
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        QPushButton* target = focused != nullptr ? focused : defaultButton.data();
        if (target != nullptr && target->isVisible() && target->isEnabled()) {
            target->click();
            return;
        }
    }
    if (key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton) {
            if (cancelButton->isEnabled()) cancelButton->click();
            return;
        }
        if (closeOnEscape_) {
            reporter_.report({EventKind::CloseRequest, handle_});
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

LabelWidget::LabelWidget(Reporter& reporter, Handle handle, QWidget* parent)
    : QLabel(parent), reporter_(reporter), handle_(handle) {}

void LabelWidget::follow() { reporter_.report({EventKind::Click, handle_}); }

void LabelWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (isLink() && event->modifiers() == Qt::NoModifier &&
        (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        follow();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LabelWidget::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) drawFocusMark(*this, rect());
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (leftReleaseInside(*this, event)) follow();
}

void ButtonWidget::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    // Styles may draw a focused button as they draw the default one.
    if (hasFocus()) drawFocusMark(*this, rect().adjusted(4, 4, -4, -4));
}

ToggleButton::ToggleButton(const QString& text, QWidget* parent) : ButtonWidget(text, parent) { setCheckable(true); }

QValidator::State WholeNumberValidator::validate(QString& input, int&) const {
    if (input.isEmpty()) return Intermediate;
    qint64 value = 0;
    for (const QChar c : input) {
        if (c < '0' || c > '9') return Invalid;
        value = value * 10 + (c.unicode() - '0');
        if (value > max_) return Invalid;
    }
    return Acceptable;
}

TextBoxWidget::TextBoxWidget(Reporter& reporter, Handle handle, QWidget* parent)
    : QLineEdit(parent), reporter_(reporter), handle_(handle) {}

void TextBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (leftReleaseInside(*this, event)) reporter_.report({EventKind::Click, handle_});
}

void CheckWidget::setValue(int value) {
    setTristate(value == 2);
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

int CheckWidget::value() const {
    switch (checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void CheckWidget::nextCheckState() {
    const bool tick = checkState() != Qt::Checked;
    setTristate(false);
    setCheckState(tick ? Qt::Checked : Qt::Unchecked);
}

PictureWidget::PictureWidget(Reporter& reporter, Handle handle, const ControlSpec& spec, QWidget* parent)
    : QWidget(parent),
      reporter_(reporter),
      handle_(handle),
      image_(spec.picture),
      back_(toQColor(spec.backColor)),
      border_(spec.border) {
    setMouseTracking(true);
    if (!image_.empty()) picture_ = toQImage(image_);
}

void PictureWidget::setBackColor(Color color) {
    back_ = toQColor(color);
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), back_);
    const int b = borderWidth();
    if (!picture_.isNull()) painter.drawImage(QPoint(b, b), picture_);
    if (border_) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    painter.end();
    if (hasFocus()) drawFocusMark(*this, rect().adjusted(b, b, -b, -b));
}

void PictureWidget::send(EventKind kind, QMouseEvent* event, Qt::MouseButtons buttons) {
    const QPoint at = event->position().toPoint() - QPoint(borderWidth(), borderWidth());
    reporter_.report({kind, handle_, buttonMask(buttons), shiftMask(event->modifiers()), at.x(), at.y()});
}

void PictureWidget::mousePressEvent(QMouseEvent* event) { send(EventKind::MouseDown, event, event->button()); }

void PictureWidget::mouseMoveEvent(QMouseEvent* event) { send(EventKind::MouseMove, event, event->buttons()); }

void PictureWidget::keyPressEvent(QKeyEvent* event) {
    static constexpr std::pair<int, unsigned> kArrows[] = {{Qt::Key_Left, win::VK_LEFT},
                                                           {Qt::Key_Up, win::VK_UP},
                                                           {Qt::Key_Right, win::VK_RIGHT},
                                                           {Qt::Key_Down, win::VK_DOWN}};
    for (const auto& [qtKey, virtualKey] : kArrows) {
        if (event->key() != qtKey) continue;
        Event e{EventKind::KeyDown, handle_, 0, shiftMask(event->modifiers())};
        e.code = virtualKey;
        reporter_.report(e);
        return;
    }
    // Tab, Enter and Escape belong to the window.
    QWidget::keyPressEvent(event);
}

namespace {
QPen outline(const ControlSpec& spec) {
    QPen pen(toQColor(spec.foreColor));
    pen.setWidth(std::max(1, spec.lineWidth));
    pen.setStyle(spec.lineStyle == LineStyle::Dash ? Qt::DashLine : Qt::SolidLine);
    return pen;
}
}  // namespace

ShapeWidget::ShapeWidget(const ControlSpec& spec, QWidget* parent) : QWidget(parent), spec_(spec) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setBackColor(Color color) {
    spec_.backColor = color;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(outline(spec_));
    painter.setBrush(spec_.transparentBack ? QBrush(Qt::NoBrush) : QBrush(toQColor(spec_.backColor)));
    const int inset = std::max(1, spec_.lineWidth) / 2;
    const QRect box = rect().adjusted(inset, inset, -1 - inset, -1 - inset);
    if (spec_.shape == ShapeStyle::Oval) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(box);
    } else {
        painter.drawRect(box);
    }
}

LineWidget::LineWidget(const ControlSpec& spec, QWidget* parent) : QWidget(parent), spec_(spec) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::setEnds(const Rect& ends, QPoint origin) {
    const int pad = std::max(1, spec_.lineWidth);
    const QPoint a = QPoint(ends.left, ends.top) + origin;
    const QPoint b = QPoint(ends.width, ends.height) + origin;
    const QRect box = QRect(a, b).normalized().adjusted(-pad, -pad, pad, pad);
    setGeometry(box);
    from_ = a - box.topLeft();
    to_ = b - box.topLeft();
    update();
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(outline(spec_));
    painter.drawLine(from_, to_);
}

}  // namespace velmora::platform::qt
