// A fresh Qt platform with an empty store in a folder of its own for every test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/Application.h"
#include "platform/qt/platform.h"
#include "platform/qt/store.h"
#include "platform/winapi.h"

namespace velmora::qttest {

using platform::qt::QtPlatform;

// Runs the event loop until done() holds or the time is up.
inline bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Answers modal boxes as a person would: notes what they said, then presses
// Enter. Lives as long as the test needs it.
class ModalBoxCloser {
public:
    ModalBoxCloser() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr) return;
            texts.push_back(box->findChild<QObject*>("qt_msgbox_label")->property("text").toString().toStdString());
            titles.push_back(box->windowTitle().toStdString());
            box->close();
        });
        timer_.start();
    }
    std::vector<std::string> texts;
    std::vector<std::string> titles;

private:
    QTimer timer_;
};

inline QColor pixel(QWidget* widget, QPoint at) { return widget->grab().toImage().pixelColor(at); }

class RecordingSink : public platform::EventSink {
public:
    void onEvent(const platform::Event& event) override { events.push_back(event); }
    std::vector<platform::Event> of(platform::EventKind kind) const {
        std::vector<platform::Event> found;
        for (const auto& e : events) {
            if (e.kind == kind) found.push_back(e);
        }
        return found;
    }
    std::vector<platform::Event> events;
};

class QtTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        platform = makePlatform();
    }
    // The offscreen platform has no notification area, and none will come: no waiting for one.
    static std::unique_ptr<QtPlatform> makePlatform() {
        auto p = std::make_unique<QtPlatform>();
        p->setNotificationAreaPatience(0);
        return p;
    }
    void TearDown() override {
        app.reset();
        platform.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void seed(const std::string& key, const std::string& value) {
        ASSERT_TRUE(platform->settings.save("velmora", "config", key, value));
    }
    // What the INI file holds now, read afresh; "<absent>" when the key is not there.
    std::string stored(const std::string& key) {
        platform::qt::IniStore fresh(home.path().toStdString());
        const QString path = QString::fromStdString(fresh.fileOf("velmora"));
        const QSettings file(path, QSettings::IniFormat);
        if (!file.contains("config/" + QString::fromStdString(key))) return "<absent>";
        return fresh.get("velmora", "config", key);
    }
    QString iniPath() const { return home.path() + "/velmora/velmora.ini"; }

    void start() {
        app = std::make_unique<Application>(*platform);
        app->start();
        // What the window system says about the new windows arrives before a person can act.
        QCoreApplication::processEvents();
    }
    QWidget* window(const std::string& name) { return platform->widget(platform->windowNamed(name)); }
    template <class T = QWidget>
    T* control(const std::string& windowName, const char* name) {
        QWidget* w = window(windowName);
        return w == nullptr ? nullptr : w->findChild<T*>(name);
    }

    QTemporaryDir home;
    // Modal boxes (the offscreen platform has no notification area, so start-up says so) are answered.
    ModalBoxCloser boxes;
    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<Application> app;
};

namespace win = platform::win;
using platform::ControlKind;
using platform::ControlSpec;
using platform::EventKind;
using platform::Handle;

// Windows and controls of the platform's own, with every event recorded.
class PlatformTest : public QtTest {
protected:
    void SetUp() override {
        QtTest::SetUp();
        platform->windows.setSink(&sink);
    }

    Handle makeWindow(platform::BorderStyle border = platform::BorderStyle::Sizable) {
        platform::WindowSpec spec;
        spec.name = "Probe";
        spec.caption = "Probe";
        spec.border = border;
        spec.clientSize = {200, 100};
        return platform->windows.createWindow(spec);
    }
    Handle makeControl(Handle parent, ControlKind kind, const char* name, platform::Rect rect, ControlSpec spec = {}) {
        spec.name = name;
        spec.kind = kind;
        spec.rect = rect;
        return platform->controls.createControl(parent, spec);
    }

    RecordingSink sink;
};

}  // namespace velmora::qttest
