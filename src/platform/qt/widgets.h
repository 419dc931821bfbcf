// The Qt widgets a window and its controls are made of. Each reports what a
// person does to it, at once, through the platform's Reporter.
#pragma once

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QValidator>
#include <QWidget>
#include <optional>
#include <string>

#include "platform/events.h"

namespace velmora::platform::qt {

class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void report(const Event& event) = 0;
};

QString toQString(const std::string& utf8);
QColor toQColor(Color color);
QImage toQImage(const Image& image);
// Where the keyboard is: black dots on white show on any colour.
void drawFocusMark(QWidget& widget, const QRect& box);
// A caption as shown and spoken: without the & that marks its mnemonic.
QString withoutMnemonic(QString caption);
void fillBackground(QWidget& widget, Color color);
// The largest font, no larger than the widget's own, at which text fits the
// widget's box (wrapped at word boundaries when wrap is set): every text
// stays readable whatever fonts this desktop has. padding: room for the frame.
void fitText(QWidget& widget, const QString& text, qreal points, bool wrap, QSize padding);

// Button mask (1 left, 2 right, 4 middle) and shift state (1 shift, 2 ctrl, 4 alt).
int buttonMask(Qt::MouseButtons buttons);
int shiftMask(Qt::KeyboardModifiers modifiers);

// A top-level window: reports close requests, resizes, moves and mouse drags,
// and gives Enter and Escape to its default and cancel buttons (Escape closes
// a window without one when its spec says so).
class WindowWidget : public QWidget {
public:
    WindowWidget(Reporter& reporter, Handle handle, const WindowSpec& spec, Qt::WindowFlags flags);

    Handle handle() const { return handle_; }
    bool fixedSize() const { return fixed_; }
    // The smallest client area the window takes.
    QSize minimumClient() const { return minimumClient_; }
    // A borderless window is never given the focus or activated.
    bool passive() const { return windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus); }
    // Shown and raised without being activated; a click still gives it the keyboard.
    bool showsQuietly() const { return passive() || !activateOnShow_; }
    bool isDialog() const { return dialog_; }
    void setBackColor(Color color);

    // The outer rectangle the program asked for; kept until the frame settles.
    // One of the size the window has only moves it (see designClient_).
    void setOuterRect(const Rect& rect, QMargins frame);
    Rect outerRect() const;
    // The frame as the window manager said it is, else as Qt sees it.
    QMargins frameMargins() const;
    void setFrameExtents(std::optional<QMargins> extents) { extents_ = extents; }
    // Reports Resize when the outer size differs from the one last reported.
    void reportSizeIfChanged();
    // Applies the outer rectangle asked for again if the frame turned out other
    // than assumed; once the window has moved since, it has the person's place.
    void settleFrame();
    // The window manager has framed the window (on X11, it set _NET_FRAME_EXTENTS).
    void framed();

    QPointer<QPushButton> defaultButton;
    QPointer<QPushButton> cancelButton;
    long exStyle = 0;
    Handle icon = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Sets the outer rectangle for the frame assumed.
    void place(const Rect& rect, QMargins frame);

    Reporter& reporter_;
    Handle handle_;
    bool fixed_;
    bool dialog_;
    bool closeOnEscape_;
    bool activateOnShow_;
    QSize minimumClient_;
    QSize reported_;
    std::optional<Rect> wanted_;
    QMargins assumed_;
    // The design's client area, kept under any frame until the program sizes the
    // window; none for a window a person can maximise.
    std::optional<QSize> designClient_;
    std::optional<QMargins> extents_;
    bool placing_ = false;
};

// A label that reports clicks; one that takes focus is a link that Enter or Space follows.
class LabelWidget : public QLabel {
public:
    LabelWidget(Reporter& reporter, Handle handle, QWidget* parent);
    bool isLink() const { return focusPolicy() != Qt::NoFocus; }
    // What Enter, Space, a click or a screen reader's press does to a link.
    void follow();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Reporter& reporter_;
    Handle handle_;
};

// A command button, which shows a focus mark of its own while it has the keyboard.
class ButtonWidget : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A command button that shows itself pressed while the program says it is on;
// a click alone never changes that, the program answers it.
class ToggleButton : public ButtonWidget {
public:
    explicit ToggleButton(const QString& text, QWidget* parent);

protected:
    void nextCheckState() override {}
};

// Takes whole numbers from 0 to max and nothing else, typed or pasted.
class WholeNumberValidator : public QValidator {
public:
    WholeNumberValidator(int max, QObject* parent) : QValidator(parent), max_(max) {}
    State validate(QString& input, int& pos) const override;

private:
    int max_;
};

// A one-line text box that reports clicks.
class TextBoxWidget : public QLineEdit {
public:
    TextBoxWidget(Reporter& reporter, Handle handle, QWidget* parent);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Reporter& reporter_;
    Handle handle_;
};

// A check box with the values 0 clear, 1 ticked, 2 greyed; a person's click
// always goes to ticked or clear.
class CheckWidget : public QCheckBox {
public:
    using QCheckBox::QCheckBox;
    void setValue(int value);
    int value() const;

protected:
    void nextCheckState() override;
};

// A picture box: paints its picture, reports mouse presses and moves in its
// client pixels (inside its border), and is sampled by GetPixel. One that takes
// the focus shows a mark while it has it and reports the arrow keys.
class PictureWidget : public QWidget {
public:
    PictureWidget(Reporter& reporter, Handle handle, const ControlSpec& spec, QWidget* parent);

    const Image& image() const { return image_; }
    int borderWidth() const { return border_ ? 1 : 0; }
    void setBackColor(Color color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void send(EventKind kind, QMouseEvent* event, Qt::MouseButtons buttons);

    Reporter& reporter_;
    Handle handle_;
    Image image_;
    QImage picture_;
    QColor back_;
    bool border_;
};

// Shapes and lines draw over their container and let the mouse through.
class ShapeWidget : public QWidget {
public:
    ShapeWidget(const ControlSpec& spec, QWidget* parent);
    void setBackColor(Color color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ControlSpec spec_;
};

class LineWidget : public QWidget {
public:
    LineWidget(const ControlSpec& spec, QWidget* parent);
    // x1, y1, x2, y2 in the container's pixels.
    void setEnds(const Rect& ends, QPoint origin);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ControlSpec spec_;
    QPoint from_;
    QPoint to_;
};

}  // namespace velmora::platform::qt
