// The picker, the notification icon's menu, the settings dialog, the sponsor
// panel and the About box, through real widgets.
#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTextLayout>
#include <QtMath>
#include <optional>

#include "fixture.h"
#include "overlay/FrmMain.h"
#include "side/Form2.h"
#include "side/frmAbout.h"

namespace velmora::qttest {
namespace {

class WindowsTest : public QtTest {
protected:
    // Right-clicks the notification icon and chooses the entry at index with the keyboard.
    std::vector<std::string> chooseFromIconMenu(int index) {
        std::vector<std::string> entries;
        QTimer::singleShot(50, [&entries, index] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* a : menu->actions()) entries.push_back(a->isSeparator() ? "-" : a->text().toStdString());
            menu->setActiveAction(menu->actions().at(index));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        emit platform->trayIcon(platform->windowNamed("FrmMain"), 1)->activated(QSystemTrayIcon::Context);
        return entries;
    }
};

// A folder early on PATH whose xdg-open records the address it was given.
class FakeOpener {
public:
    FakeOpener() : saved_(qgetenv("PATH")) {
        QFile fake(bin_.path() + "/xdg-open");
        fake.open(QIODevice::WriteOnly);
        fake.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1/opened'\n").arg(bin_.path()).toUtf8());
        fake.close();
        QFile::setPermissions(fake.fileName(), QFile::ReadOwner | QFile::ExeOwner);
        qputenv("PATH", bin_.path().toUtf8() + ":" + saved_);
    }
    ~FakeOpener() { qputenv("PATH", saved_); }
    std::string opened() const {
        QFile file(bin_.path() + "/opened");
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

private:
    QTemporaryDir bin_;
    QByteArray saved_;
};

TEST_F(WindowsTest, DraggingOverTheSpectrumSamplesAndSetColorTintsTheOverlay) {
    seed("tint", " 1");
    start();
    control<QPushButton>("FrmMain", "Command1")->click();
    QWidget* spectrum = control("Form1", "Picture1");
    ASSERT_NE(spectrum, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window("Form1")));

    // Left button down on row 0 (white), then dragged to the pure hues' row.
    QTest::mousePress(spectrum, Qt::LeftButton, {}, {11, 1});
    QMouseEvent drag(QEvent::MouseMove, QPointF(1 + 171, 1 + 216), spectrum->mapToGlobal(QPointF(172, 217)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(spectrum, &drag);
    QTest::mouseRelease(spectrum, Qt::LeftButton, {}, {172, 217});
    const QString red = control<QLineEdit>("Form1", "Text2")->text();
    const QString green = control<QLineEdit>("Form1", "Text3")->text();
    const QString blue = control<QLineEdit>("Form1", "Text4")->text();
    const QColor sampled(red.toInt(), green.toInt(), blue.toInt());
    EXPECT_LT(sampled.red(), 40) << "column 171 at full strength is blue";
    EXPECT_GT(sampled.blue(), 200);
    EXPECT_EQ(pixel(control("Form1", "Label1"), {5, 5}), sampled) << "the swatch shows the sampled colour";

    QTest::mouseClick(control("Form1", "Text3"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), green) << "clicking a box copies it";

    boxes.texts.clear();
    control<QPushButton>("Form1", "Command1")->click();
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_EQ(boxes.texts.back(), "Settings saved");
    EXPECT_EQ(stored("red"), red.toStdString());
    EXPECT_EQ(stored("blue"), blue.toStdString());
    EXPECT_EQ(window("Form1"), nullptr) << "the picker closed";
    QWidget* overlay = window("FrmMain");
    EXPECT_TRUE(overlay->isVisible());
    EXPECT_EQ(pixel(overlay, {overlay->width() - 3, overlay->height() - 3}), sampled) << "the overlay took it at once";
}

TEST_F(WindowsTest, NotificationIconRestoresTheOverlayAndOpensItsMenu) {
    start();
    const platform::Handle overlayHandle = platform->windowNamed("FrmMain");
    QSystemTrayIcon* tray = platform->trayIcon(overlayHandle, 1);
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(platform->trayIconCount(), 1);
    EXPECT_EQ(tray->toolTip(), "Velmora");
    QWidget* overlay = window("FrmMain");
    overlay->hide();

    emit tray->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(overlay->isVisible()) << "a double-click brings it back";

    EXPECT_EQ(chooseFromIconMenu(3), (std::vector<std::string>{"About", "-", "Show", "Hide", "-", "Settings",
                                                               "Colour &finder", "F&avourites", "-", "E&xit"}));
    EXPECT_FALSE(overlay->isVisible());

    app->form<FrmMain>().Form_Load();
    EXPECT_EQ(platform->trayIconCount(), 1) << "loading again leaves one icon";
}

TEST_F(WindowsTest, SettingsStoreAtOnceAndOkWritesTheLoginEntry) {
    start();
    chooseFromIconMenu(5);
    auto* loadwin = control<QCheckBox>("frmSettings", "Check1");
    auto* tint = control<QCheckBox>("frmSettings", "Check2");
    ASSERT_TRUE(loadwin && tint);
    EXPECT_EQ(window("frmSettings")->windowTitle(), "Settings ");
    EXPECT_TRUE(window("frmSettings")->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    tint->click();
    EXPECT_EQ(stored("tint"), " 1");
    loadwin->click();
    EXPECT_EQ(stored("loadwin"), " 1");
    control<QPushButton>("frmSettings", "Command1")->click();
    EXPECT_EQ(window("frmSettings"), nullptr) << "OK closes the dialog";
    const QString entry = home.path() + "/autostart/velmora.desktop";
    ASSERT_TRUE(QFile::exists(entry));
    QFile file(entry);
    file.open(QIODevice::ReadOnly);
    EXPECT_TRUE(file.readAll().contains("Exec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\"\n"));
}

TEST_F(WindowsTest, SponsorLinkIsReachedByTabAndFollowedWithEnter) {
    FakeOpener opener;
    start();
    QWidget* panel = window("Form2");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    auto* link = control<QLabel>("Form2", "Label2");
    EXPECT_EQ(link->text().toStdString(), Form2::kSponsorPage);
    EXPECT_TRUE(link->font().underline());

    panel->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
    EXPECT_EQ(panel->focusWidget(), link) << "the link is the panel's one tab stop";
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(window("Form2"), nullptr) << "the panel closed";
    EXPECT_FALSE(window("FrmMain")->isVisible()) << "the overlay hid";
    EXPECT_TRUE(waitFor([&] { return opener.opened() == Form2::kSponsorPage; })) << opener.opened();
}

TEST_F(WindowsTest, AboutBoxWorksFromTheKeyboard) {
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", home.path().toUtf8());  // no system-information tool anywhere
    start();
    chooseFromIconMenu(0);
    QWidget* about = window("frmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About Velmora");
    EXPECT_EQ(control<QLabel>("frmAbout", "lblVersion")->text(), "Version 1.0.0");
    about->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));

    boxes.texts.clear();
    QTest::keyClick(about, Qt::Key_S, Qt::AltModifier);  // &System Info...
    EXPECT_TRUE(waitFor([&] { return !boxes.texts.empty(); }));
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_EQ(boxes.texts.back(), frmAbout::kUnavailable);

    about->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_EQ(window("frmAbout"), nullptr) << "Escape is OK";
    qputenv("PATH", savedPath);
}

// The window comes to the front with the keyboard on the control named, which
// shows that it has it; Escape then closes the window.
void expectKeyboardStartsAtAndEscapeCloses(QWidget* w, QWidget* first) {
    ASSERT_TRUE(w && first);
    SCOPED_TRACE(w->objectName().toStdString());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    EXPECT_EQ(QApplication::focusWidget(), first) << first->objectName().toStdString();
    const QImage marked = first->grab().toImage();
    first->clearFocus();
    EXPECT_NE(first->grab().toImage(), marked) << "a focus mark a person can see";
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return !w->isVisible(); })) << w->objectName().toStdString() << " closed by Escape";
}

TEST_F(WindowsTest, EveryWindowComesUpWithTheKeyboardOnItsFirstControlAndEscapeClosesIt) {
    seed("tint", " 1");
    start();
    QWidget* overlay = window("FrmMain");
    EXPECT_EQ(overlay->focusWidget(), control("FrmMain", "cmdExit"));
    QWidget* panel = window("Form2");
    EXPECT_EQ(panel->focusWidget(), control("Form2", "Label2"));
    panel->activateWindow();
    expectKeyboardStartsAtAndEscapeCloses(panel, control("Form2", "Label2"));

    control<QPushButton>("FrmMain", "Command1")->click();
    expectKeyboardStartsAtAndEscapeCloses(window("Form1"), control("Form1", "Picture1"));
    chooseFromIconMenu(5);
    expectKeyboardStartsAtAndEscapeCloses(window("frmSettings"), control("frmSettings", "Check1"));
    chooseFromIconMenu(0);
    expectKeyboardStartsAtAndEscapeCloses(window("frmAbout"), control("frmAbout", "cmdOK"));

    overlay->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(overlay));
    QTest::keyClick(overlay, Qt::Key_Escape);
    EXPECT_TRUE(overlay->isVisible()) << "the overlay has no use for Escape";
}

QAccessibleInterface* accessible(QWidget* w) {
    return w == nullptr ? nullptr : QAccessible::queryAccessibleInterface(w);
}

TEST_F(WindowsTest, ScreenReadersHearNamesRolesAndStates) {
    FakeOpener opener;
    seed("tint", " 1");
    start();
    control<QPushButton>("FrmMain", "Command1")->click();
    chooseFromIconMenu(0);
    for (const char* name : {"FrmMain", "Form1", "Form2", "frmAbout"}) {
        QAccessibleInterface* w = accessible(window(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(w->role() == QAccessible::Window || w->role() == QAccessible::Dialog) << name << " " << w->role();
        EXPECT_EQ(w->text(QAccessible::Name), window(name)->windowTitle());
    }
    EXPECT_EQ(accessible(window("frmAbout"))->role(), QAccessible::Dialog);

    const std::pair<const char*, const char*> boxes[] = {{"Text2", "Red"}, {"Text3", "Green"}, {"Text4", "Blue"}};
    for (const auto& [box, name] : boxes) {
        QAccessibleInterface* a = accessible(control("Form1", box));
        EXPECT_EQ(a->role(), QAccessible::EditableText);
        EXPECT_EQ(a->text(QAccessible::Name), name);
        EXPECT_TRUE(a->text(QAccessible::Description).contains("0 to 255"));
    }
    QAccessibleInterface* spectrum = accessible(control("Form1", "Picture1"));
    EXPECT_EQ(spectrum->role(), QAccessible::Graphic);
    EXPECT_EQ(spectrum->text(QAccessible::Name), "Colour spectrum");
    EXPECT_TRUE(spectrum->state().focusable);
    QAccessibleInterface* swatch = accessible(control("Form1", "Label1"));
    EXPECT_EQ(swatch->text(QAccessible::Name), "Chosen colour");
    QTest::keyClick(control("Form1", "Picture1"), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(swatch->text(QAccessible::Description).toStdString(),
              "Red " + control<QLineEdit>("Form1", "Text2")->text().toStdString() + ", green " +
                  control<QLineEdit>("Form1", "Text3")->text().toStdString() + ", blue " +
                  control<QLineEdit>("Form1", "Text4")->text().toStdString())
        << "the colour the keys picked, as text";
    QAccessibleInterface* picture = accessible(control("frmAbout", "picIcon"));
    EXPECT_EQ(picture->role(), QAccessible::Graphic);
    EXPECT_EQ(picture->text(QAccessible::Name), "Picture of a computer");

    auto* front = control<QPushButton>("FrmMain", "Command2");
    QAccessibleInterface* toggle = accessible(front);
    EXPECT_EQ(toggle->role(), QAccessible::Button);
    EXPECT_EQ(toggle->text(QAccessible::Name), "Bring to front");
    EXPECT_TRUE(toggle->state().checkable);
    EXPECT_FALSE(toggle->state().pressed);
    front->click();
    EXPECT_TRUE(toggle->state().pressed && toggle->state().checked) << "on top now";
    EXPECT_EQ(toggle->text(QAccessible::Name), "Set to normal");
    toggle->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(toggle->state().pressed || toggle->state().checked) << "and back";
    EXPECT_EQ(stored("frontmost"), "0");

    QAccessibleInterface* link = accessible(control("Form2", "Label2"));
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name).toStdString(), Form2::kSponsorPage);
    ASSERT_TRUE(link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(waitFor([&] { return opener.opened() == Form2::kSponsorPage; })) << "pressing it follows it";
}

TEST_F(WindowsTest, PickerBoxesTakeOnlyWholeNumbersUpTo255) {
    start();
    control<QPushButton>("FrmMain", "Command1")->click();
    auto* red = control<QLineEdit>("Form1", "Text2");
    ASSERT_TRUE(QTest::qWaitForWindowActive(window("Form1")));
    red->setFocus();
    red->clear();
    QTest::keyClicks(red, "2-5x6 7");
    EXPECT_EQ(red->text(), "25") << "only digits, and nothing beyond 255";
    red->clear();
    QGuiApplication::clipboard()->setText("12abc");
    red->paste();
    EXPECT_EQ(red->text(), "") << "pasted text too";
    QGuiApplication::clipboard()->setText("200");
    red->paste();
    EXPECT_EQ(red->text(), "200");
}

// Where a control's text is drawn, line by line, in its window's coordinates; nothing for a
// control without text. A line past the control's edge is cut.
std::vector<QRect> textLines(QWidget* w) {
    QString text;
    QRect room = w->contentsRect();
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    bool wraps = false;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        text = label->text();
        align = label->alignment();
        wraps = label->wordWrap();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        text = button->text();
        align = Qt::AlignCenter;
        if (qobject_cast<QCheckBox*>(w) != nullptr) {
            room.setLeft(room.left() + w->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 4);
            align = Qt::AlignLeft | Qt::AlignVCenter;
        }
    } else if (auto* box = qobject_cast<QLineEdit*>(w)) {
        text = box->text();
        room = room.adjusted(2, 1, -2, -1);
        align = Qt::AlignLeft | Qt::AlignVCenter;
    }
    text.remove(QRegularExpression("&(?!&)"));
    if (text.trimmed().isEmpty()) return {};
    QTextLayout layout(text, w->font());
    QTextOption option(align);
    option.setWrapMode(wraps ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room.width());
        line.setPosition({0, y});
        y += line.height();
    }
    layout.endLayout();
    const qreal top = align & Qt::AlignVCenter ? (room.height() - y) / 2 : 0;
    std::vector<QRect> lines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        // Blanks drawn nothing: only the ink's run counts.
        const QString ink = text.mid(line.textStart(), line.textLength()).trimmed();
        if (ink.isEmpty()) continue;
        QRect drawn = line.naturalTextRect().translated(room.left(), room.top() + top).toAlignedRect();
        drawn.setWidth(qCeil(QFontMetricsF(w->font()).horizontalAdvance(ink)));
        if (align & Qt::AlignHCenter) drawn.moveLeft(room.left() + (room.width() - drawn.width()) / 2);
        if (!room.contains(drawn))
            ADD_FAILURE() << w->objectName().toStdString() << " cuts \"" << ink.toStdString() << "\"";
        lines.emplace_back(w->mapTo(w->window(), drawn.topLeft()), drawn.size());
    }
    return lines;
}

// Every text a window shows is whole and none lies over another, at the scale the test runs at
// (at 1x, and at 2x by QT_SCALE_FACTOR in a run of its own).
void expectTextsWhole(QWidget* window) {
    ASSERT_NE(window, nullptr);
    SCOPED_TRACE(window->objectName().toStdString());
    std::vector<std::pair<QWidget*, QRect>> texts;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        for (const QRect& line : textLines(w)) texts.emplace_back(w, line);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            if (texts[i].first == texts[j].first) continue;
            EXPECT_FALSE(texts[i].second.intersects(texts[j].second))
                << texts[i].first->objectName().toStdString() << " and " << texts[j].first->objectName().toStdString();
        }
    }
}

TEST_F(WindowsTest, EveryWindowsTextsReadWhole) {
    seed("tint", " 1");
    start();
    expectTextsWhole(window("FrmMain"));
    expectTextsWhole(window("Form2"));
    control<QPushButton>("FrmMain", "Command1")->click();
    expectTextsWhole(window("Form1"));
    chooseFromIconMenu(5);
    expectTextsWhole(window("frmSettings"));
    chooseFromIconMenu(0);
    expectTextsWhole(window("frmAbout"));
}

TEST_F(WindowsTest, ThePickerSamplesTheColourDrawnUnderThePointer) {
    start();
    control<QPushButton>("FrmMain", "Command1")->click();
    QWidget* spectrum = control("Form1", "Picture1");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window("Form1")));
    const int last = spectrum->width() - 3;  // the focus mark stands on the edge
    for (const QPoint at :
         {QPoint(2, 2), QPoint(last / 2, last / 3), QPoint(last * 9 / 10, last / 2), QPoint(last, 200)}) {
        QTest::mousePress(spectrum, Qt::LeftButton, {}, at);
        QTest::mouseRelease(spectrum, Qt::LeftButton, {}, at);
        const QImage drawn = spectrum->grab().toImage();
        const qreal scale = drawn.devicePixelRatio();
        const QColor sampled(control<QLineEdit>("Form1", "Text2")->text().toInt(),
                             control<QLineEdit>("Form1", "Text3")->text().toInt(),
                             control<QLineEdit>("Form1", "Text4")->text().toInt());
        EXPECT_EQ(drawn.pixelColor(QPointF(at * scale).toPoint()), sampled) << at.x() << "," << at.y();
    }
}

}  // namespace
}  // namespace velmora::qttest
