// The least a Qt program like Velmora does: a translucent window, a
// notification icon, and a 100 ms timer that keeps the window's place in
// QSettings. tools/bench-qt sets Velmora beside it.
// "--hidden" starts it with only its icon, as Velmora starts with its tint put away;
// "--caption" gives its window one button with a caption, which is all it takes to
// load the fonts (fontconfig's configuration and caches) that any text needs.
#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // $XDG_CONFIG_HOME/velmora-bench/bare.ini
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "velmora-bench", "bare");
    const QColor tint(144, 195, 212);

    QWidget window;
    window.setWindowTitle("Bare baseline");
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, tint);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.setWindowOpacity(150 / 255.0);
    QRect saved(store.value("config/left", 100).toInt(), store.value("config/top", 100).toInt(),
                store.value("config/width", 600).toInt(), store.value("config/height", 200).toInt());
    window.setGeometry(saved);
    if (QCoreApplication::arguments().contains("--caption")) {
        auto* button = new QPushButton("E&xit", &window);
        button->move(8, 8);
    }

    QPixmap picture(22, 22);
    picture.fill(tint);
    QSystemTrayIcon icon{QIcon(picture)};
    icon.show();

    // Writes only what changed since the last tick.
    QTimer timer;
    timer.setInterval(100);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const QRect now = window.geometry();
        if (now == saved) return;
        store.setValue("config/left", now.x());
        store.setValue("config/top", now.y());
        store.setValue("config/width", now.width());
        store.setValue("config/height", now.height());
        store.sync();
        saved = now;
    });
    timer.start();

    if (!QCoreApplication::arguments().contains("--hidden")) window.show();
    return QApplication::exec();
}
