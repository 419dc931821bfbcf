// The overlay's behaviours, through real widgets and the real INI file.
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <cmath>

#include "app/Module1.h"
#include "fixture.h"
#include "overlay/FrmMain.h"

namespace velmora::qttest {
namespace {

using OverlayTest = QtTest;

// Where no button stands, whatever the window's size.
QColor corner(QWidget* overlay) { return pixel(overlay, {overlay->width() - 3, overlay->height() - 3}); }

TEST_F(OverlayTest, EmptyStoreGivesTheDefaultTintAtAlpha150) {
    start();
    QWidget* overlay = window("FrmMain");
    ASSERT_NE(overlay, nullptr);
    EXPECT_FALSE(app->ended());
    EXPECT_EQ(overlay->windowTitle(), "Velmora v1.0");
    EXPECT_DOUBLE_EQ(overlay->windowOpacity(), 150 / 255.0);
    EXPECT_EQ(corner(overlay), QColor(144, 195, 212)) << "the tint fills the window";
    // Nothing stored: the designer's size, buttons and all, in the middle of the screen.
    EXPECT_EQ(overlay->frameGeometry().size(), QSize(559, 201));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(overlay->frameGeometry().center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(overlay->frameGeometry().center().y() - area.center().y()), 1);
}

TEST_F(OverlayTest, WithoutANotificationAreaTheOverlayShowsAndSaysWhyOnce) {
    ASSERT_FALSE(platform->desktop.notificationAreaAvailable());
    start();
    EXPECT_TRUE(window("FrmMain")->isVisible()) << "tint absent, yet nothing else would bring it back";
    ASSERT_EQ(boxes.texts.size(), 1U);
    EXPECT_EQ(boxes.texts[0], Application::kNoNotificationArea);
    EXPECT_EQ(boxes.titles[0], "Velmora");
    EXPECT_FALSE(app->ended());

    // Showing it again from the store's point of view changes nothing about the box.
    app->form<FrmMain>().Form_Load();
    QTest::qWait(50);
    EXPECT_EQ(boxes.texts.size(), 1U) << "told once";
}

TEST_F(OverlayTest, TintOnShowsTheOverlayTranslucent) {
    seed("tint", " 1");
    start();
    QWidget* overlay = window("FrmMain");
    ASSERT_TRUE(overlay->isVisible());
    ASSERT_NE(overlay->windowHandle(), nullptr);
    EXPECT_DOUBLE_EQ(overlay->windowHandle()->opacity(), 150 / 255.0) << "the native window carries the alpha";
}

TEST_F(OverlayTest, StoredColourIsPaintedAndAbsurdValuesAreClamped) {
    const struct {
        const char* red;
        const char* green;
        const char* blue;  // nullptr: absent
        QColor expected;
    } cases[] = {
        {"255", "10", nullptr, QColor(255, 10, 0)},
        {"127.5", "&H80", "1 2", QColor(128, 128, 12)},
        {"-7", "99999", "1e308", QColor(0, 255, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("red=") + c.red);
        TearDown();
        SetUp();
        seed("red", c.red);
        seed("green", c.green);
        if (c.blue != nullptr) seed("blue", c.blue);
        start();
        ASSERT_FALSE(app->ended());
        QWidget* overlay = window("FrmMain");
        EXPECT_EQ(corner(overlay), c.expected);
    }
}

TEST_F(OverlayTest, GeometryIsRestoredFromTheIniFileAndWrittenBackUnchanged) {
    seed("width", " 7200");
    seed("height", "3000.4");
    seed("top", " 1500");
    seed("left", " 300");  // the offscreen platform shifts windows left of the screen
    seed("tint", " 1");
    start();
    QWidget* overlay = window("FrmMain");
    ASSERT_TRUE(overlay->isVisible());
    EXPECT_EQ(overlay->frameGeometry(), QRect(20, 100, 480, 200)) << "the outer size, frame included";

    ASSERT_TRUE(waitFor([&] { return stored("height") == " 3000.4"; })) << stored("height");
    EXPECT_EQ(stored("width"), " 7200");
    EXPECT_EQ(stored("top"), " 1500");
    EXPECT_EQ(stored("left"), " 300");

    // The next start reads back exactly what was written, and writes it again unchanged.
    app.reset();
    platform = makePlatform();
    start();
    EXPECT_EQ(window("FrmMain")->frameGeometry(), QRect(20, 100, 480, 200));
    QTest::qWait(250);
    EXPECT_EQ(stored("width"), " 7200");
    EXPECT_EQ(stored("height"), " 3000.4");
}

TEST_F(OverlayTest, TheTimerSavesWhereThePersonPutTheWindow) {
    seed("tint", " 1");
    start();
    QWidget* overlay = window("FrmMain");
    overlay->move(40, 30);
    overlay->resize(500, 250);
    const QRect outer = overlay->frameGeometry();
    ASSERT_TRUE(waitFor([&] { return stored("left") == " 600"; })) << stored("left");
    EXPECT_EQ(stored("top"), " 450");
    EXPECT_EQ(stored("width"), " " + std::to_string(outer.width() * 15));
    EXPECT_EQ(stored("height"), " " + std::to_string(outer.height() * 15));
}

TEST_F(OverlayTest, ButtonsStandRightAlignedAndFollowAResize) {
    seed("width", " 4500");
    seed("tint", " 1");
    start();
    FrmMain& form = app->form<FrmMain>();
    EXPECT_EQ(form.cmdExit.Left(), 2200);
    EXPECT_EQ(form.Command1.Left(), 200);
    EXPECT_EQ(form.Command2.Left(), -1800);
    auto* exit = control<QPushButton>("FrmMain", "cmdExit");
    auto* colour = control<QPushButton>("FrmMain", "Command1");
    auto* front = control<QPushButton>("FrmMain", "Command2");
    ASSERT_TRUE(exit && colour && front);
    EXPECT_EQ(exit->geometry(), QRect(147, 13, 121, 57));
    EXPECT_EQ(colour->x(), 13);
    EXPECT_EQ(front->x(), -120);
    EXPECT_EQ(exit->text(), "E&xit");
    EXPECT_EQ(colour->text(), "Set screen color");
    EXPECT_EQ(front->text(), "Bring to front");

    // A person makes the window wider: the row follows at once.
    QWidget* overlay = window("FrmMain");
    overlay->resize(600, 300);
    const int outer = overlay->frameGeometry().width();
    EXPECT_EQ(exit->x(), static_cast<int>(std::lround((outer * 15 - 2300) / 15.0)));
    EXPECT_EQ(colour->x(), static_cast<int>(std::lround((outer * 15 - 4300) / 15.0)));
}

TEST_F(OverlayTest, TabOrderAndMnemonicsWorkFromTheKeyboard) {
    seed("tint", " 1");
    start();
    QWidget* overlay = window("FrmMain");
    overlay->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(overlay));
    auto* exit = control<QPushButton>("FrmMain", "cmdExit");
    exit->setFocus();
    QTest::keyClick(overlay, Qt::Key_Tab);
    EXPECT_EQ(overlay->focusWidget(), control<QWidget>("FrmMain", "Command1"));
    QTest::keyClick(overlay, Qt::Key_Tab);
    EXPECT_EQ(overlay->focusWidget(), control<QWidget>("FrmMain", "Command2"));

    QTest::keyClick(overlay, Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return app->ended(); })) << "Alt+X is E&xit";
}

TEST_F(OverlayTest, CloseBoxOnlyHidesAndTheTimerKeepsSaving) {
    seed("tint", " 1");
    start();
    QWidget* overlay = window("FrmMain");
    ASSERT_TRUE(overlay->isVisible());
    EXPECT_FALSE(overlay->close()) << "the close is refused";
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_TRUE(app->form<FrmMain>().isLoaded());
    EXPECT_FALSE(app->ended());

    const platform::Rect r = platform->windows.windowRect(platform->windowNamed("FrmMain"));
    platform->windows.setWindowRect(platform->windowNamed("FrmMain"), {10, 20, r.width, r.height});

    ASSERT_TRUE(waitFor([&] { return stored("left") == " 150"; })) << stored("left");
    EXPECT_EQ(stored("top"), " 300");
}

TEST_F(OverlayTest, ExitEndsTheEventLoopWithCodeZero) {
    seed("tint", " 1");
    start();
    auto* exit = control<QPushButton>("FrmMain", "cmdExit");
    QTimer::singleShot(0, exit, [exit] { exit->click(); });
    EXPECT_EQ(app->run(), 0);
    EXPECT_TRUE(app->ended());
    EXPECT_FALSE(window("FrmMain")->isVisible());
}

TEST_F(OverlayTest, SetScreenColorOpensThePickerNotOnTop) {
    seed("tint", " 1");
    start();
    control<QPushButton>("FrmMain", "Command1")->click();
    QWidget* picker = window("Form1");
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->windowTitle(), "Set translucency color");
    EXPECT_EQ(picker->size(), QSize(272, 327));
    EXPECT_FALSE(picker->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(OverlayTest, TranslucencyErrorsAreShownInAModalBoxAndTheProgramCarriesOn) {
    start();
    boxes.texts.clear();
    boxes.titles.clear();
    Module1::MakeTranslucent(*app, app->form<FrmMain>().hWnd(), 0, 300, 2);
    ASSERT_EQ(boxes.texts.size(), 1U);
    EXPECT_EQ(boxes.texts[0], "Overflow Source : Velmora");
    EXPECT_EQ(boxes.titles[0], "Velmora");
    EXPECT_FALSE(app->ended());
    EXPECT_DOUBLE_EQ(window("FrmMain")->windowOpacity(), 150 / 255.0) << "what was set before stays";
}

TEST_F(OverlayTest, AStoreItCannotWriteNeverEndsTheProgram) {
    // A folder where the file should be: no write can succeed, even as root.
    ASSERT_TRUE(QDir().mkpath(iniPath()));
    start();
    QTest::qWait(350);
    EXPECT_FALSE(app->ended());
    EXPECT_EQ(std::count(boxes.texts.begin(), boxes.texts.end(), Application::kStoreUnwritable), 1)
        << "told once, not on every tick";
    EXPECT_FALSE(platform->settings.save("velmora", "config", "tint", " 1")) << "a failed write says so";
    EXPECT_TRUE(QFileInfo(iniPath()).isDir()) << "and touches nothing";
}

}  // namespace
}  // namespace velmora::qttest
