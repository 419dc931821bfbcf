// What the reading tools need of the platform: sliders, hotkey boxes, labels
// that name their controls, borderless panes that let the mouse through, and
// input where there is no X server.
#include <QAccessible>
#include <QCursor>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QWindow>

#include "fixture.h"
#include "platform/winapi.h"

namespace velmora::qttest {
namespace {

QString accessibleName(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

TEST_F(PlatformTest, SlidersHotkeyBoxesAndTextBoxesReportOnlyWhatAPersonChanges) {
    const Handle h = makeWindow();
    ControlSpec spec;
    spec.minimum = 10;
    spec.maximum = 100;
    spec.tabIndex = 0;
    const Handle slider = makeControl(h, ControlKind::Slider, "Slider", {0, 0, 150, 20}, spec);
    spec.tabIndex = 1;
    const Handle keys = makeControl(h, ControlKind::HotkeyBox, "Keys", {0, 30, 150, 22}, spec);
    spec.tabIndex = 2;
    const Handle box = makeControl(h, ControlKind::TextBox, "Box", {0, 60, 80, 20}, spec);
    platform->windows.setVisible(h, true);
    ASSERT_TRUE(QTest::qWaitForWindowActive(platform->widget(h)));

    auto* bar = qobject_cast<QSlider*>(platform->widget(slider));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(std::make_pair(bar->minimum(), bar->maximum()), std::make_pair(10, 100));
    platform->controls.setCheckValue(slider, 59);
    EXPECT_EQ(platform->controls.checkValue(slider), 59);
    platform->controls.setControlText(keys, "ctrl + alt + pgup");
    EXPECT_EQ(platform->controls.controlText(keys), "Ctrl+Alt+PgUp") << "portable text, read back as written";
    platform->controls.setControlText(box, "48");
    EXPECT_TRUE(sink.of(EventKind::Change).empty()) << "what the program sets is no change";

    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(platform->controls.checkValue(slider), 60);
    QWidget* edit = platform->widget(keys);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(platform->controls.controlText(keys), "Ctrl+Alt+O") << "one combination, taken at once";
    QTest::keyClick(edit, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier);
    EXPECT_EQ(platform->controls.controlText(keys), "Ctrl+Shift+Meta+F12");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(platform->controls.controlText(keys), "") << "Backspace clears it to none";
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), platform->widget(box)) << "Tab leaves the box";
    QTest::keyClicks(platform->widget(box), "7");

    std::vector<Handle> changed;
    for (const auto& e : sink.of(EventKind::Change)) changed.push_back(e.target);
    EXPECT_EQ(changed, (std::vector<Handle>{slider, keys, keys, keys, box}))
        << "clearing what is clear already changes nothing";
}

TEST_F(PlatformTest, LabelsNameTheirControlsAndTheirMnemonicsLeadThere) {
    const Handle h = makeWindow();
    ControlSpec group;
    group.text = "Reading tools";
    const Handle frame = makeControl(h, ControlKind::Frame, "Group", {0, 0, 200, 100}, group);
    ControlSpec named;
    named.text = "&Strength:";
    named.labelFor = "Slider";
    const Handle before = makeControl(frame, ControlKind::Label, "Before", {5, 20, 60, 20}, named);
    ControlSpec stop;
    stop.tabIndex = 0;
    const Handle slider = makeControl(frame, ControlKind::Slider, "Slider", {70, 20, 100, 20}, stop);
    stop.tabIndex = 1;
    const Handle box = makeControl(frame, ControlKind::TextBox, "Box", {70, 50, 60, 20}, stop);
    named.text = "Ruler &height:";
    named.labelFor = "Box";
    const Handle after = makeControl(frame, ControlKind::Label, "After", {5, 50, 60, 20}, named);

    auto* box_ = qobject_cast<QGroupBox*>(platform->widget(frame));
    ASSERT_NE(box_, nullptr) << "a frame with a caption is a group box";
    EXPECT_EQ(box_->title(), "Reading tools");
    EXPECT_EQ(qobject_cast<QLabel*>(platform->widget(before))->buddy(), platform->widget(slider));
    EXPECT_EQ(qobject_cast<QLabel*>(platform->widget(after))->buddy(), platform->widget(box))
        << "whichever comes first";
    EXPECT_EQ(accessibleName(platform->widget(slider)), "Strength:");
    EXPECT_EQ(accessibleName(platform->widget(box)), "Ruler height:");

    QWidget* w = platform->widget(h);
    platform->windows.setVisible(h, true);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), platform->widget(box));
    QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), platform->widget(slider));
}

TEST_F(PlatformTest, BorderlessPanesAreSmallPassiveAndLetTheMouseThroughWhileAsked) {
    const Handle pane = makeWindow(platform::BorderStyle::None);
    QWidget* w = platform->widget(pane);
    const Qt::WindowFlags flags = w->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool) << "no taskbar button";
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(w->testAttribute(Qt::WA_ShowWithoutActivating));
    platform->windows.setWindowRect(pane, {0, 300, 640, 8});
    platform->windows.setVisible(pane, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_EQ(platform->windows.windowRect(pane), (platform::Rect{0, 300, 640, 8})) << "no minimum size";
    platform->windows.setWindowRect(pane, {0, 300, 640, 4});
    EXPECT_EQ(platform->windows.windowRect(pane).height, 4) << "and it shrinks";

    const WId id = w->winId();
    EXPECT_TRUE(platform->native.setWindowPos(pane, win::HWND_TOPMOST, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE));
    platform->native.setWindowLong(pane, win::GWL_EXSTYLE, win::WS_EX_LAYERED | win::WS_EX_TRANSPARENT);
    EXPECT_TRUE(platform->native.setLayeredWindowAttributes(pane, 0, 200, win::LWA_ALPHA));
    const auto through = [w] { return w->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput); };
    EXPECT_TRUE(through());
    EXPECT_TRUE(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 200 / 255.0);
    platform->native.setWindowLong(pane, win::GWL_EXSTYLE, win::WS_EX_LAYERED);
    EXPECT_FALSE(through()) << "cleared, the mouse comes back";
    platform->native.setWindowLong(pane, win::GWL_EXSTYLE, win::WS_EX_TRANSPARENT);
    EXPECT_FALSE(through()) << "only beside the layered style, as on Windows";
    EXPECT_EQ(w->winId(), id) << "never re-created";
    EXPECT_TRUE(w->isVisible());
}

TEST_F(PlatformTest, WithoutAnXServerNoHotkeyCanBeHadAndThePointerIsQts) {
    EXPECT_FALSE(platform->input.hotkeysPossible());
    EXPECT_EQ(platform->input.registerHotkey(1, *platform::tryParseHotkey("Ctrl+Alt+O")),
              platform::HotkeyGrab::NotPossible);
    platform->input.unregisterHotkey(1);
    QCursor::setPos(300, 200);
    EXPECT_EQ(platform->input.tryPointerPosition(), (platform::Point{300, 200}));
    const auto screens = platform->desktop.screens();
    ASSERT_FALSE(screens.empty());
    const auto size = platform->desktop.screenSize();
    EXPECT_EQ(screens.front(), (platform::Rect{0, 0, size.width, size.height})) << "the primary screen first";
}

}  // namespace
}  // namespace velmora::qttest
