// What screen readers are told about our own widgets, where Qt's defaults
// would say too little: a window is a window or a dialog rather than a filler,
// a link label is a link that can be pressed, a picture a graphic, and the
// toggle button says whether it is pressed, and a hotkey box is a hotkey field
// whose value is its key.
#include "platform/qt/accessible.h"

#include <QAccessibleWidget>

#include "platform/qt/hotkeybox.h"
#include "platform/qt/widgets.h"

namespace velmora::platform::qt {

namespace {

class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(WindowWidget* w)
        : QAccessibleWidget(w, w->isDialog() ? QAccessible::Dialog : QAccessible::Window) {}
};

class LinkAccessible final : public QAccessibleWidget {
public:
    explicit LinkAccessible(LabelWidget* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return label()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            label()->follow();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    LabelWidget* label() const { return static_cast<LabelWidget*>(widget()); }
};

class ToggleAccessible final : public QAccessibleWidget {
public:
    explicit ToggleAccessible(ToggleButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return withoutMnemonic(button()->text());
        return QAccessibleWidget::text(t);
    }
    // Pressed while on, as a toggle button is announced.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        s.pressed = button()->isChecked() || button()->isDown();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction()) {
            button()->click();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    ToggleButton* button() const { return static_cast<ToggleButton*>(widget()); }
};

class HotkeyAccessible final : public QAccessibleWidget {
public:
    explicit HotkeyAccessible(HotkeyEdit* box) : QAccessibleWidget(box, QAccessible::HotkeyField) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return static_cast<HotkeyEdit*>(widget())->keySequence().toString(QKeySequence::NativeText);
        }
        return QAccessibleWidget::text(t);
    }
};

// Installed last, so asked first; anything else gets Qt's own.
QAccessibleInterface* ourInterface(const QString&, QObject* object) {
    if (auto* window = dynamic_cast<WindowWidget*>(object)) return new WindowAccessible(window);
    if (auto* label = dynamic_cast<LabelWidget*>(object); label != nullptr && label->isLink()) {
        return new LinkAccessible(label);
    }
    if (auto* toggle = dynamic_cast<ToggleButton*>(object)) return new ToggleAccessible(toggle);
    if (auto* picture = dynamic_cast<PictureWidget*>(object))
        return new QAccessibleWidget(picture, QAccessible::Graphic);
    if (auto* box = dynamic_cast<HotkeyEdit*>(object)) return new HotkeyAccessible(box);
    return nullptr;
}

}  // namespace

void installAccessibleInterfaces() { QAccessible::installFactory(ourInterface); }

// Qt asks for a widget's interface while the widget is still being built, before
// it is one of ours or knows whether it is a link, and keeps the answer: forget it.
void forgetAccessibleInterface(QObject* object) {
    if (QAccessibleInterface* early = QAccessible::queryAccessibleInterface(object)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
    }
}

}  // namespace velmora::platform::qt
