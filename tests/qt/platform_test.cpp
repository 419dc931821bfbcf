// The platform's operations on real widgets, driven as a person or the
// program would, with every event it reports recorded.
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWindow>
#include <cmath>

#include "../contract/platform_contract.h"
#include "fixture.h"
#include "platform/winapi.h"

namespace velmora::qttest {
namespace {

constexpr unsigned kInPlace = win::SWP_NOMOVE | win::SWP_NOSIZE;

TEST_F(PlatformTest, ScreenIsMeasuredAt15TwipsPerPixel) {
    EXPECT_DOUBLE_EQ(platform->desktop.twipsPerPixel(), 15.0) << "96 dots per inch";
    const auto size = platform->desktop.screenSize();
    EXPECT_GT(size.width, 0);
    EXPECT_GT(size.height, 0);
    const auto areas = platform->desktop.workAreas();
    ASSERT_FALSE(areas.empty());
    EXPECT_LE(areas.front().width, size.width) << "the primary screen's work area comes first";
}

TEST_F(PlatformTest, OuterGeometryHoldsOnceTheFrameIsKnown) {
    const Handle h = makeWindow();
    QWidget* w = platform->widget(h);
    platform->windows.setWindowRect(h, {10, 20, 480, 200});
    EXPECT_EQ(platform->windows.windowRect(h), (platform::Rect{10, 20, 480, 200}));
    platform->windows.setVisible(h, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_EQ(platform->windows.windowRect(h), (platform::Rect{10, 20, 480, 200}))
        << "the frame came out of the client";
    EXPECT_TRUE(w->frameGeometry().contains(w->geometry())) << "the client area lies inside the frame";

    sink.events.clear();
    platform->windows.setWindowRect(h, {10, 20, 0, 0});
    EXPECT_GE(w->width(), 100) << "never smaller than the platform's minimum";
    EXPECT_GE(w->height(), 20);
    EXPECT_EQ(sink.of(EventKind::Resize).size(), 1U) << "a changed size is reported once";
    platform->windows.setWindowRect(h, platform->windows.windowRect(h));
    EXPECT_EQ(sink.of(EventKind::Resize).size(), 1U) << "an unchanged one is not";
}

TEST_F(PlatformTest, StayingOnTopNeverReCreatesTheWindow) {
    const Handle h = makeWindow();
    QWidget* w = platform->widget(h);
    platform->windows.setVisible(h, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const WId before = w->winId();
    const QRect place = w->frameGeometry();
    EXPECT_TRUE(platform->native.setWindowPos(h, win::HWND_TOPMOST, 0, 0, 0, 0, kInPlace));
    EXPECT_TRUE(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->winId(), before);
    EXPECT_EQ(w->frameGeometry(), place) << "no move, no size";
    EXPECT_TRUE(platform->native.setWindowPos(h, win::HWND_NOTOPMOST, 0, 0, 0, 0, kInPlace));
    EXPECT_FALSE(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(w->winId(), before);
    EXPECT_FALSE(platform->native.setWindowPos(0x7777, win::HWND_TOPMOST, 0, 0, 0, 0, kInPlace)) << "no such window";
    EXPECT_FALSE(platform->native.setWindowPos(h, win::HWND_TOPMOST, 5, 5, 0, 0, win::SWP_NOSIZE))
        << "a window is placed through its rectangle, never here";
    EXPECT_EQ(w->frameGeometry(), place);
}

TEST_F(PlatformTest, LayeredStyleAndAlphaBecomeTheWindowsOpacity) {
    const Handle h = makeWindow();
    QWidget* w = platform->widget(h);
    EXPECT_FALSE(platform->native.setLayeredWindowAttributes(h, 0, 150, win::LWA_ALPHA)) << "not layered yet";
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 1.0);
    EXPECT_EQ(platform->native.getWindowLong(h, win::GWL_EXSTYLE), 0);
    EXPECT_EQ(platform->native.setWindowLong(h, win::GWL_EXSTYLE, win::WS_EX_LAYERED), 0);
    EXPECT_EQ(platform->native.getWindowLong(h, win::GWL_EXSTYLE), win::WS_EX_LAYERED);
    EXPECT_TRUE(platform->native.setLayeredWindowAttributes(h, 0x00D4C390, 150, win::LWA_ALPHA));
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 150 / 255.0);
    platform->native.setWindowLong(h, win::GWL_EXSTYLE, 0);
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 1.0) << "no longer layered: opaque again";
}

TEST_F(PlatformTest, ControlsReportClicksAfterTheyChange) {
    const Handle h = makeWindow();
    const Handle button = makeControl(h, ControlKind::CommandButton, "Button", {0, 0, 80, 25});
    const Handle label = makeControl(h, ControlKind::Label, "Label", {0, 30, 80, 20});
    const Handle box = makeControl(h, ControlKind::TextBox, "Box", {0, 55, 80, 20});
    const Handle check = makeControl(h, ControlKind::CheckBox, "Check", {90, 0, 100, 20});
    platform->windows.setVisible(h, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(platform->widget(h)));

    std::vector<int> valuesSeen;
    struct ValueSink : platform::EventSink {
        QtPlatform* p;
        Handle check;
        std::vector<int>* seen;
        std::vector<Handle> clicks;
        void onEvent(const platform::Event& e) override {
            if (e.kind != EventKind::Click) return;
            clicks.push_back(e.target);
            if (e.target == check) seen->push_back(p->controls.checkValue(check));
        }
    } values;
    values.p = platform.get();
    values.check = check;
    values.seen = &valuesSeen;
    platform->windows.setSink(&values);

    QTest::mouseClick(platform->widget(button), Qt::LeftButton);
    QTest::mouseClick(platform->widget(label), Qt::LeftButton);
    QTest::mouseClick(platform->widget(box), Qt::LeftButton);
    QTest::mouseClick(platform->widget(check), Qt::LeftButton, {}, {5, 10});
    platform->controls.setCheckValue(check, 2);
    EXPECT_EQ(platform->controls.checkValue(check), 2);
    QTest::mouseClick(platform->widget(check), Qt::LeftButton, {}, {5, 10});
    EXPECT_EQ((values.clicks), (std::vector<Handle>{button, label, box, check, check}));
    EXPECT_EQ(valuesSeen, (std::vector<int>{1, 1})) << "ticked by the click, and greyed goes to ticked";
    platform->controls.setCheckValue(check, 0);
    EXPECT_EQ(values.clicks.size(), 5U) << "a value set in code is no click";

    // A toggle shows what the program says; a click alone is only reported.
    ControlSpec toggleSpec;
    toggleSpec.toggle = true;
    const Handle toggle = makeControl(h, ControlKind::CommandButton, "Toggle", {0, 80, 80, 25}, toggleSpec);
    QTest::mouseClick(platform->widget(toggle), Qt::LeftButton);
    EXPECT_EQ(values.clicks.back(), toggle);
    EXPECT_EQ(platform->controls.checkValue(toggle), 0);
    platform->controls.setCheckValue(toggle, 1);
    EXPECT_TRUE(qobject_cast<QPushButton*>(platform->widget(toggle))->isChecked());
    QTest::mouseClick(platform->widget(toggle), Qt::LeftButton);
    EXPECT_EQ(platform->controls.checkValue(toggle), 1);

    platform->controls.setControlText(box, "typed");
    EXPECT_EQ(platform->controls.controlText(box), "typed");
    platform->controls.setControlText(label, "<b>plain</b>");
    EXPECT_EQ(qobject_cast<QLabel*>(platform->widget(label))->textFormat(), Qt::PlainText);
    EXPECT_EQ(platform->controls.controlText(label), "<b>plain</b>");
}

TEST_F(PlatformTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
    const Handle h = makeWindow();
    ControlSpec ok;
    ok.isDefault = true;
    ok.isCancel = true;
    ok.tabIndex = 1;
    const Handle okButton = makeControl(h, ControlKind::CommandButton, "OK", {0, 0, 80, 25}, ok);
    ControlSpec other;
    other.tabIndex = 0;
    const Handle otherButton = makeControl(h, ControlKind::CommandButton, "Other", {0, 30, 80, 25}, other);
    const Handle box = makeControl(h, ControlKind::TextBox, "Box", {0, 60, 80, 20});
    QWidget* w = platform->widget(h);
    platform->windows.setVisible(h, true);
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));

    platform->widget(box)->setFocus();
    QTest::keyClick(platform->widget(box), Qt::Key_Return);
    QTest::keyClick(platform->widget(box), Qt::Key_Escape);
    platform->widget(otherButton)->setFocus();
    QTest::keyClick(platform->widget(otherButton), Qt::Key_Return);
    std::vector<Handle> clicked;
    for (const auto& e : sink.of(EventKind::Click)) clicked.push_back(e.target);
    EXPECT_EQ(clicked, (std::vector<Handle>{okButton, okButton, otherButton}))
        << "Enter and Escape from the text box, then Enter on the focused button";

    QTest::keyClick(platform->widget(otherButton), Qt::Key_Tab);
    EXPECT_EQ(w->focusWidget(), platform->widget(okButton)) << "tab order follows the tab index";
}

TEST_F(PlatformTest, PicturesReportTheMouseInsideTheirBorderAndAreSampled) {
    const Handle h = makeWindow();
    ControlSpec spec;
    spec.border = true;
    spec.picture.width = 4;
    spec.picture.height = 3;
    for (int i = 0; i < 12; ++i) spec.picture.pixels.push_back(static_cast<platform::Color>(0x010203 * i));
    const Handle picture = makeControl(h, ControlKind::PictureBox, "Picture", {10, 10, 6, 5}, spec);
    ControlSpec marker;
    marker.transparentBack = true;
    const Handle shape = makeControl(picture, ControlKind::Shape, "Marker", {0, 0, 3, 3}, marker);
    platform->windows.setVisible(h, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(platform->widget(h)));

    EXPECT_EQ(platform->widget(shape)->pos(), QPoint(1, 1)) << "placed inside the picture's border";
    QWidget* pic = platform->widget(picture);
    QTest::mousePress(pic, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(4, 3), pic->mapToGlobal(QPointF(4, 3)), Qt::NoButton, Qt::RightButton,
                     Qt::ControlModifier);
    QApplication::sendEvent(pic, &move);
    QTest::mouseRelease(pic, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 2));
    const auto downs = sink.of(EventKind::MouseDown);
    ASSERT_EQ(downs.size(), 1U) << "the marker lets the mouse through to the picture";
    EXPECT_EQ(downs[0].target, picture);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_EQ(downs[0].shift, 1);
    EXPECT_EQ(std::make_pair(downs[0].x, downs[0].y), std::make_pair(2, 1));
    const auto moves = sink.of(EventKind::MouseMove);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().button, 2);
    EXPECT_EQ(moves.back().shift, 2);

    const Handle dc = platform->controls.pictureDC(picture);
    EXPECT_NE(dc, 0);
    EXPECT_EQ(platform->native.getPixel(dc, 1, 2), 0x010203U * 9);
    EXPECT_EQ(platform->native.getPixel(dc, 4, 0), win::CLR_INVALID);
    EXPECT_EQ(platform->native.getPixel(dc, -1, 0), win::CLR_INVALID);
    EXPECT_EQ(platform->native.getPixel(dc + 1, 0, 0), win::CLR_INVALID);
    EXPECT_EQ(pixel(pic, {1 + 3, 1 + 2}), QColor(33, 22, 11)) << "painted inside its border, 0x00BBGGRR read right";

    platform->controls.setControlBackColor(makeControl(h, ControlKind::Label, "Swatch", {30, 30, 10, 10}), 0x000000FF);
    EXPECT_EQ(pixel(control<QWidget>("Probe", "Swatch"), {5, 5}), QColor(255, 0, 0));

    // With the keyboard there, arrows go to the program as their virtual keys; other keys to the window.
    pic->setFocusPolicy(Qt::StrongFocus);
    pic->setFocus();
    QTest::keyClick(pic, Qt::Key_Left);
    QTest::keyClick(pic, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(pic, Qt::Key_A);
    const auto keys = sink.of(EventKind::KeyDown);
    ASSERT_EQ(keys.size(), 2U);
    EXPECT_EQ(std::make_pair(keys[0].code, keys[0].shift), std::make_pair(win::VK_LEFT, 0));
    EXPECT_EQ(std::make_pair(keys[1].code, keys[1].shift), std::make_pair(win::VK_DOWN, 1));
}

TEST_F(PlatformTest, CloseRequestsAreReportedAndTheWindowMayGoFromItsOwnHandler) {
    const Handle h = makeWindow();
    platform->windows.createTimer(h, 10);
    platform->windows.setVisible(h, true);
    struct Destroyer : platform::EventSink {
        QtPlatform* p;
        int closes = 0;
        int ticks = 0;
        void onEvent(const platform::Event& e) override {
            if (e.kind == EventKind::TimerTick) ++ticks;
            if (e.kind != EventKind::CloseRequest) return;
            ++closes;
            p->windows.destroyWindow(e.target);
        }
    } destroyer;
    destroyer.p = platform.get();
    platform->windows.setSink(&destroyer);
    ASSERT_TRUE(waitFor([&] { return destroyer.ticks > 0; }));
    QPointer<QWidget> w = platform->widget(h);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(destroyer.closes, 1);
    EXPECT_EQ(platform->widget(h), nullptr);
    EXPECT_FALSE(platform->windows.isVisible(h));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull()) << "gone once its close had unwound";
    const int ticks = destroyer.ticks;
    QTest::qWait(60);
    EXPECT_EQ(destroyer.ticks, ticks) << "its timers died with it";
}

TEST_F(PlatformTest, PopupMenuReturnsTheChosenIndexAndMessageBoxesShowPlainText) {
    const Handle h = makeWindow();
    std::vector<std::string> shown;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions()) shown.push_back(a->isSeparator() ? "-" : a->text().toStdString());
        QAction* show = menu->actions().at(2);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(show).center());
    });
    EXPECT_EQ(platform->dialogs.popupMenu(h, {{"About"}, {"-"}, {"Show"}, {"E&xit"}}), 2);
    EXPECT_EQ(shown, (std::vector<std::string>{"About", "-", "Show", "E&xit"}));

    QTimer::singleShot(50, [] { QApplication::activePopupWidget()->close(); });
    EXPECT_EQ(platform->dialogs.popupMenu(h, {{"About"}}), std::nullopt) << "dismissed";

    EXPECT_EQ(platform->dialogs.messageBox(0, "<b>System</b> & more", "Velmora"), win::IDOK);
    ASSERT_EQ(boxes.texts.size(), 1U);
    EXPECT_EQ(boxes.texts[0], "<b>System</b> & more");
    EXPECT_EQ(boxes.titles[0], "Velmora");
}

TEST_F(PlatformTest, ClipboardTakesAndClearsPlainText) {
    platform->desktop.clipboardSetText("128");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "128");
    platform->desktop.clipboardClear();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
}

TEST_F(PlatformTest, NotificationIconIsAddedOnceReportsItsMouseMessagesAndGoes) {
    EXPECT_FALSE(platform->desktop.notificationAreaAvailable()) << "the offscreen platform has none";
    const Handle h = makeWindow();
    platform::NotifyIconData data;
    data.window = h;
    data.id = 1;
    data.flags = win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP;
    data.callbackMessage = win::WM_MOUSEMOVE;
    data.icon = platform->windows.windowIcon(h);
    data.tip = "Velmora" + std::string(57, ' ');
    platform->native.shellNotifyIcon(win::NIM_ADD, data);
    EXPECT_FALSE(platform->native.shellNotifyIcon(win::NIM_ADD, data)) << "one icon per window and id";
    EXPECT_EQ(platform->trayIconCount(), 1);
    QSystemTrayIcon* tray = platform->trayIcon(h, 1);
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->toolTip(), "Velmora");
    EXPECT_FALSE(tray->icon().isNull());

    emit tray->activated(QSystemTrayIcon::DoubleClick);
    emit tray->activated(QSystemTrayIcon::Context);
    const auto calls = sink.of(EventKind::NotifyIcon);
    ASSERT_EQ(calls.size(), 2U);
    EXPECT_EQ(calls[0].target, h);
    EXPECT_EQ(calls[0].code, win::WM_LBUTTONDBLCLK);
    EXPECT_EQ(calls[1].code, win::WM_RBUTTONUP);

    EXPECT_TRUE(platform->native.shellNotifyIcon(win::NIM_DELETE, data));
    EXPECT_FALSE(platform->native.shellNotifyIcon(win::NIM_DELETE, data));
    EXPECT_EQ(platform->trayIconCount(), 0);
}

TEST_F(PlatformTest, ShellOpensAddressesAndStartsProgramsWithoutAShell) {
    QTemporaryDir bin;
    const QString record = bin.path() + "/opened";
    {
        QFile fake(bin.path() + "/xdg-open");
        ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
        fake.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\n").arg(record).toUtf8());
    }
    QFile::setPermissions(bin.path() + "/xdg-open", QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ":" + savedPath);
    EXPECT_EQ(platform->native.shellExecute(0, "open", "https://example.org/books?a=1&b=2", "", "", win::SW_SHOWNORMAL),
              win::kShellExecuteDone);
    // The file exists before the fake has written to it: wait for what it wrote.
    const auto opened = [&record] {
        QFile file(record);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_TRUE(waitFor([&] { return !opened().isEmpty(); }));
    EXPECT_EQ(opened(), "https://example.org/books?a=1&b=2");
    EXPECT_LE(platform->native.shellExecute(0, "print", "https://example.org", "", "", win::SW_SHOWNORMAL), 32)
        << "only open is known";
    qputenv("PATH", savedPath);

    const QString script = bin.path() + "/my tool; touch pwned";
    {
        QFile tool(script);
        ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
        tool.write(QString("#!/bin/sh\ntouch '%1/ran'\n").arg(bin.path()).toUtf8());
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(platform->desktop.startProgram(script.toStdString(), 1));
    EXPECT_TRUE(waitFor([&] { return QFile::exists(bin.path() + "/ran"); }));
    EXPECT_FALSE(QFile::exists("pwned"));
    EXPECT_FALSE(platform->desktop.startProgram((bin.path() + "/missing").toStdString(), 1));

    EXPECT_TRUE(platform->desktop.fileExists(script.toStdString()));
    EXPECT_FALSE(platform->desktop.fileExists(bin.path().toStdString())) << "a folder is not a file";
    EXPECT_FALSE(platform->desktop.fileExists(""));
}

TEST_F(PlatformTest, CaptionsShrinkToTheLargestHalfPointSizeThatFits) {
    EXPECT_EQ(platform::qt::withoutMnemonic("E&xit && &&&go&"), "Exit & &&go");
    // What trying every half point down from the designed size would choose.
    const auto scanned = [](const QString& text, QSize box, qreal points, bool wrap) {
        QFont font;
        qreal size = points;
        for (; size >= 6; size -= 0.5) {
            font.setPointSizeF(size);
            const QRect need = QFontMetrics(font).boundingRect(QRect({}, box), wrap ? Qt::TextWordWrap : 0, text);
            if (need.width() <= box.width() && need.height() <= box.height()) break;
        }
        return std::max(size, points - std::floor((points - 6) / 0.5) * 0.5);
    };
    const QString texts[] = {"Set screen color", "http://www.example.com/a/long/address", "a b c d e f g h i j k"};
    for (const QString& text : texts) {
        for (const QSize box : {QSize(400, 60), QSize(150, 30), QSize(90, 40), QSize(30, 10)}) {
            for (const bool wrap : {false, true}) {
                SCOPED_TRACE((text + QString(" %1x%2 %3").arg(box.width()).arg(box.height()).arg(wrap)).toStdString());
                QWidget widget;
                widget.resize(box);
                platform::qt::fitText(widget, text, 15, wrap, {});
                EXPECT_EQ(widget.font().pointSizeF(), scanned(text, box, 15, wrap));
            }
        }
    }
}

TEST_F(PlatformTest, BadCallsFailAsResultsLikeEveryPlatform) { contract::expectBadCallsFailAlike(*platform); }

}  // namespace
}  // namespace velmora::qttest
