// Controls on Qt: one widget each, placed absolutely inside its window, frame
// or picture box. This desktop's fonts are not the designer's, so a caption
// that would not fit its box is shown smaller rather than cut off.
#include <QGroupBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <optional>

#include "platform/qt/accessible.h"
#include "platform/qt/hotkeybox.h"
#include "platform/qt/state.h"

namespace velmora::platform::qt {

namespace {

void applyFont(QWidget& widget, const Font& font) {
    QFont f = widget.font();
    // Fonts of the designer's system rarely exist here: keep the desktop's family then.
    static std::map<QString, bool> installed;
    const QString family = toQString(font.name);
    const auto known = installed.try_emplace(family, false);
    if (known.second) {
        known.first->second = QFontInfo(QFont(family)).family().compare(family, Qt::CaseInsensitive) == 0;
    }
    if (known.first->second) f.setFamily(family);
    if (font.points > 0) f.setPointSizeF(font.points);
    f.setBold(font.bold);
    f.setUnderline(font.underline);
    widget.setFont(f);
}

// The caption a control shows, whether it wraps, and the room its frame takes.
struct Caption {
    QString text;
    bool wrap = false;
    QSize padding;
};

std::optional<Caption> captionOf(const QWidget& w) {
    if (const auto* label = dynamic_cast<const QLabel*>(&w)) {
        const int frame = 2 * label->frameWidth();
        return Caption{label->text(), true, {frame, frame}};
    }
    if (const auto* button = dynamic_cast<const QPushButton*>(&w)) return Caption{button->text(), false, {12, 6}};
    if (const auto* box = dynamic_cast<const QCheckBox*>(&w)) return Caption{box->text(), true, {24, 0}};
    if (const auto* keys = dynamic_cast<const HotkeyEdit*>(&w)) {
        return Caption{keys->keySequence().toString(QKeySequence::NativeText), false, {12, 0}};
    }
    return std::nullopt;
}

// Shrinks a caption that would not fit its box, never beyond the designed size.
// A move or the same text set again needs no new measuring: only a new box,
// text or font does.
void fitControl(State::Control& c) {
    QWidget& w = *c.widget;
    const std::optional<Caption> caption = captionOf(w);
    if (!caption) return;
    State::Fitted& fitted = c.fitted;
    if (fitted.size == w.size() && fitted.text == caption->text && fitted.font == w.font()) return;
    fitText(w, caption->text, c.points, caption->wrap, caption->padding);
    fitted = {w.size(), caption->text, w.font()};
}

// Buttons, check boxes, labels and text boxes all keep their text in Qt's "text" property.
bool hasText(const QWidget& w) { return w.metaObject()->indexOfProperty("text") >= 0; }

// A new control's widget, and whether it takes the focus at all.
struct Made {
    QWidget* widget = nullptr;
    bool focusable = false;
};

class QtControls final : public Controls {
public:
    explicit QtControls(State& state) : s_(state) {}

    Handle createControl(Handle parent, const ControlSpec& spec) override {
        State::Control c;
        QWidget* container = containerOf(parent, c);
        if (container == nullptr) return 0;
        const Handle h = s_.newHandle();
        c.spec = spec;
        const Made made = make(h, spec, *container, c);
        if (made.widget == nullptr) return 0;
        made.widget->setObjectName(toQString(spec.name));
        if (!spec.accessibleName.empty()) made.widget->setAccessibleName(toQString(spec.accessibleName));
        made.widget->setAccessibleDescription(toQString(spec.accessibleDescription));
        applyFont(*made.widget, spec.font);
        c.points = made.widget->font().pointSizeF();
        c.widget = made.widget;
        s_.controls[h] = c;
        setControlRect(h, spec.rect);
        if (made.focusable) joinTabOrder(c.window, spec.tabIndex, *made.widget);
        linkLabels(h);
        forgetAccessibleInterface(made.widget);
        made.widget->show();
        return h;
    }

    void setControlRect(Handle h, const Rect& rect) override {
        State::Control* c = s_.control(h);
        if (c == nullptr) return;
        if (auto* line = dynamic_cast<LineWidget*>(c->widget.data())) {
            line->setEnds(rect, c->origin);
            return;
        }
        c->widget->setGeometry(c->origin.x() + rect.left, c->origin.y() + rect.top, std::max(0, rect.width),
                               std::max(0, rect.height));
        fitControl(*c);
    }

    void setControlText(Handle h, const std::string& value) override {
        if (auto* box = s_.controlAs<HotkeyEdit>(h)) return box->setText(value);
        if (auto* list = s_.controlAs<QListWidget>(h)) {
            const QSignalBlocker quiet(list);
            list->clear();
            if (!value.empty()) list->addItems(toQString(value).split(QLatin1Char('\n')));
            return;
        }
        State::Control* c = s_.control(h);
        if (c == nullptr || !hasText(*c->widget)) return;
        c->widget->setProperty("text", toQString(value));
        fitControl(*c);
    }

    std::string controlText(Handle h) override {
        if (const auto* box = s_.controlAs<HotkeyEdit>(h)) return box->text();
        if (const auto* list = s_.controlAs<QListWidget>(h)) {
            QStringList lines;
            for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
            return lines.join(QLatin1Char('\n')).toStdString();
        }
        const State::Control* c = s_.control(h);
        if (c == nullptr || !hasText(*c->widget)) return {};
        return c->widget->property("text").toString().toStdString();
    }

    void setControlForeColor(Handle h, Color color) override {
        State::Control* c = s_.control(h);
        if (c == nullptr || !c->widget) return;
        c->spec.foreColor = color;
        QPalette palette = c->widget->palette();
        palette.setColor(QPalette::WindowText, toQColor(color));
        c->widget->setPalette(palette);
    }

    void setControlVisible(Handle h, bool visible) override {
        if (State::Control* c = s_.control(h); c != nullptr && c->widget) c->widget->setVisible(visible);
    }

    void setControlBackColor(Handle h, Color color) override {
        State::Control* c = s_.control(h);
        if (c == nullptr) return;
        c->spec.backColor = color;
        QWidget* widget = c->widget;
        if (auto* picture = dynamic_cast<PictureWidget*>(widget)) {
            picture->setBackColor(color);
        } else if (auto* shape = dynamic_cast<ShapeWidget*>(widget)) {
            shape->setBackColor(color);
        } else if (!c->spec.transparentBack &&
                   (c->spec.kind == ControlKind::Label || c->spec.kind == ControlKind::Frame)) {
            fillBackground(*widget, color);
        }
    }

    void setCheckValue(Handle h, int value) override {
        if (auto* box = s_.controlAs<CheckWidget>(h)) box->setValue(value);
        if (auto* list = s_.controlAs<QListWidget>(h)) {
            const QSignalBlocker quiet(list);
            list->setCurrentRow(value);
        }
        if (auto* toggle = s_.controlAs<ToggleButton>(h)) toggle->setChecked(value == 1);
        if (auto* slider = s_.controlAs<QSlider>(h)) {
            // Only a person's move is a change.
            const QSignalBlocker quiet(slider);
            slider->setValue(value);
        }
    }

    int checkValue(Handle h) override {
        if (const auto* toggle = s_.controlAs<ToggleButton>(h)) return toggle->isChecked() ? 1 : 0;
        if (const auto* slider = s_.controlAs<QSlider>(h)) return slider->value();
        if (const auto* list = s_.controlAs<QListWidget>(h)) return list->currentRow();
        const auto* box = s_.controlAs<CheckWidget>(h);
        return box == nullptr ? 0 : box->value();
    }

    Handle pictureDC(Handle h) override {
        const State::Control* c = s_.control(h);
        return c == nullptr ? 0 : c->dc;
    }

    void setAccessibleDescription(Handle h, const std::string& text) override {
        if (State::Control* c = s_.control(h)) c->widget->setAccessibleDescription(toQString(text));
    }

private:
    // The widget a control goes into, noting in c the window it belongs to and
    // where the container's client area starts; null when the parent is no live
    // window or container.
    QWidget* containerOf(Handle parent, State::Control& c) {
        if (WindowWidget* w = s_.window(parent)) {
            c.window = parent;
            return w;
        }
        State::Control* outer = s_.control(parent);
        if (outer == nullptr) return nullptr;
        c.window = outer->window;
        if (const auto* picture = dynamic_cast<PictureWidget*>(outer->widget.data())) {
            c.origin = QPoint(picture->borderWidth(), picture->borderWidth());
        }
        return outer->widget;
    }

    Made make(Handle h, const ControlSpec& spec, QWidget& container, State::Control& c) {
        switch (spec.kind) {
            case ControlKind::CommandButton:
                return {button(h, spec, container, *s_.window(c.window)), true};
            case ControlKind::Label:
                return label(h, spec, container);
            case ControlKind::TextBox:
                return {textBox(h, spec, container), true};
            case ControlKind::CheckBox:
                return {clicking(new CheckWidget(toQString(spec.text), &container), h), true};
            case ControlKind::PictureBox:
                c.dc = s_.newHandle();
                s_.dcs[c.dc] = h;
                // One with a tab stop takes the keyboard.
                return {new PictureWidget(s_, h, spec, &container), spec.tabIndex >= 0};
            case ControlKind::Shape:
                return {new ShapeWidget(spec, &container)};
            case ControlKind::Frame:
                return {frame(spec, container)};
            case ControlKind::Line:
                return {new LineWidget(spec, &container)};
            case ControlKind::Slider:
                return {slider(h, spec, container), true};
            case ControlKind::HotkeyBox:
                return {hotkeyBox(h, container), true};
            case ControlKind::ListBox: {
                auto* list = new QListWidget(&container);
                // Only a person's choice is a change.
                QObject::connect(list, &QListWidget::currentRowChanged, list, [&s = s_, h] {
                    s.report({EventKind::Change, h});
                });
                return {list, true};
            }
        }
        return {};
    }

    // A button or check box reports its click once it has changed.
    template <class Button>
    Button* clicking(Button* button, Handle h) {
        QObject::connect(button, &QAbstractButton::clicked, button, [&s = s_, h] { s.report({EventKind::Click, h}); });
        return button;
    }

    QPushButton* button(Handle h, const ControlSpec& spec, QWidget& container, WindowWidget& owner) {
        const QString text = toQString(spec.text);
        auto* button =
            clicking(spec.toggle ? new ToggleButton(text, &container) : new ButtonWidget(text, &container), h);
        if (spec.isDefault) {
            button->setDefault(true);
            owner.defaultButton = button;
        }
        if (spec.isCancel) owner.cancelButton = button;
        return button;
    }

    Made label(Handle h, const ControlSpec& spec, QWidget& container) {
        auto* label = new LabelWidget(s_, h, &container);
        // Plain text: a caption is shown as written, never read as markup.
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment((spec.alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        label->setText(toQString(spec.text));
        if (spec.border) label->setFrameStyle(QFrame::Box | QFrame::Plain);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, toQColor(spec.foreColor));
        label->setPalette(palette);
        if (!spec.transparentBack) fillBackground(*label, spec.backColor);
        // A label with a tab stop is a link: Tab reaches it, Enter or Space follows it.
        const bool link = spec.tabIndex >= 0;
        if (link) {
            label->setFocusPolicy(Qt::StrongFocus);
            label->setCursor(Qt::PointingHandCursor);
        }
        return {label, link};
    }

    TextBoxWidget* textBox(Handle h, const ControlSpec& spec, QWidget& container) {
        auto* box = new TextBoxWidget(s_, h, &container);
        box->setText(toQString(spec.text));
        if (spec.wholeNumberMax >= 0) {
            box->setValidator(new WholeNumberValidator(spec.wholeNumberMax, box));
            box->setMaxLength(static_cast<int>(std::to_string(spec.wholeNumberMax).size()));
        }
        // What a person types, never what the program sets.
        QObject::connect(box, &QLineEdit::textEdited, box, [&s = s_, h] { s.report({EventKind::Change, h}); });
        return box;
    }

    QSlider* slider(Handle h, const ControlSpec& spec, QWidget& container) {
        auto* slider = new QSlider(Qt::Horizontal, &container);
        slider->setRange(spec.minimum, spec.maximum);
        QObject::connect(slider, &QSlider::valueChanged, slider, [&s = s_, h] { s.report({EventKind::Change, h}); });
        return slider;
    }

    // A key a person sets is shown whole, as one the program sets is.
    HotkeyEdit* hotkeyBox(Handle h, QWidget& container) {
        auto* box = new HotkeyEdit(s_, h, &container);
        QObject::connect(box, &QKeySequenceEdit::keySequenceChanged, box, [&s = s_, h] {
            if (State::Control* c = s.control(h)) fitControl(*c);
        });
        return box;
    }

    // A frame with a caption is a group box, its caption drawn in the top edge.
    static QWidget* frame(const ControlSpec& spec, QWidget& container) {
        QWidget* frame = spec.text.empty() ? new QWidget(&container) : new QGroupBox(toQString(spec.text), &container);
        if (!spec.transparentBack) fillBackground(*frame, spec.backColor);
        return frame;
    }

    // A label names the control after it and gives it its mnemonic, whichever of the two comes first.
    void linkLabels(Handle made) {
        const State::Control& c = s_.controls[made];
        const auto link = [](const State::Control& label, const State::Control& target) {
            auto* widget = qobject_cast<QLabel*>(label.widget.data());
            if (widget != nullptr && !label.spec.labelFor.empty() && label.spec.labelFor == target.spec.name) {
                widget->setBuddy(target.widget);
            }
        };
        for (const auto& [h, other] : s_.controls) {
            if (h == made || other.window != c.window || other.widget.isNull()) continue;
            link(other, c);
            link(c, other);
        }
    }

    // Tab walks a window's stops by tab index; a control without one takes
    // the focus only from a click.
    void joinTabOrder(Handle window, int tabIndex, QWidget& widget) {
        if (tabIndex < 0) {
            widget.setFocusPolicy(Qt::ClickFocus);
            return;
        }
        if (widget.focusPolicy() == Qt::NoFocus) widget.setFocusPolicy(Qt::StrongFocus);
        auto& stops = s_.windows[window].tabStops;
        std::erase_if(stops, [](const auto& stop) { return stop.second.isNull(); });
        stops.emplace_back(tabIndex, &widget);
        std::stable_sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
    }

    State& s_;
};

}  // namespace

std::unique_ptr<Controls> makeControls(State& state) { return std::make_unique<QtControls>(state); }

}  // namespace velmora::platform::qt
