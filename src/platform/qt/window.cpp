#include "platform/qt/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <map>

#include "platform/qt/store.h"
#include "platform/qt/autostart.h"
#include "platform/qt/icon.h"
#include "platform/qt/instance.h"
#include "platform/qt/sysinfo.h"
#include "platform/qt/widgets.h"

namespace velmora::platform::qt {

namespace {
// Below this a window would be no use, and a window of no size is never shown.
constexpr QSize kMinimumClient(120, 30);
constexpr Handle kDefaultIcon = 0x7F00;
constexpr unsigned SWP_NOZORDER = 0x4;
constexpr unsigned SWP_SHOWWINDOW = 0x40;
constexpr unsigned SWP_HIDEWINDOW = 0x80;
constexpr Handle HWND_TOP = 0;
constexpr Handle HWND_BOTTOM = 1;
constexpr unsigned NIM_MODIFY = 1;
constexpr unsigned NIF_MESSAGE = 1;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_INVALID_HANDLE = 6;
constexpr long ERROR_MORE_DATA = 234;
constexpr Handle kShellOk = 42;
constexpr Handle SE_ERR_NOASSOC = 31;
constexpr int IDOK = 1;

QString text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

bool sameText(const std::string& a, const char* b) {
    return text(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

void applyFont(QWidget& widget, const Font& font) {
    QFont f = widget.font();
    // Fonts of the designer's system rarely exist here: keep the desktop's family then.
    static std::map<QString, bool> installed;
    const QString family = text(font.name);
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

Qt::WindowFlags flagsFor(const WindowSpec& spec) {
    Qt::WindowFlags flags = spec.border == BorderStyle::FixedDialog ? Qt::Dialog : Qt::Window;
    // Without a taskbar button: a tool window, which desktops keep off the taskbar.
    if (!spec.showInTaskbar) flags = Qt::Tool;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (spec.border == BorderStyle::Sizable) {
        if (spec.minButton) flags |= Qt::WindowMinimizeButtonHint;
        if (spec.maxButton) flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

// Mouse messages as the notification icon's callback carries them.
unsigned mouseMessageOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            return win::WM_LBUTTONDBLCLK;
        case QSystemTrayIcon::Context:
            return win::WM_RBUTTONUP;
        case QSystemTrayIcon::Trigger:
            return 0x202;  // WM_LBUTTONUP
        case QSystemTrayIcon::MiddleClick:
            return 0x208;  // WM_MBUTTONUP
        default:
            return 0;
    }
}

// Fonts here are not the designer's: shrink a text that would not fit its box.
void fitControl(QWidget& w, qreal points) {
    if (auto* label = dynamic_cast<QLabel*>(&w)) {
        const int frame = 2 * label->frameWidth();
        fitText(w, label->text(), points, true, {frame, frame});
    } else if (auto* button = dynamic_cast<QPushButton*>(&w)) {
        fitText(w, button->text(), points, false, {12, 6});
    } else if (auto* box = dynamic_cast<QCheckBox*>(&w)) {
        fitText(w, box->text(), points, true, {24, 0});
    }
}

QString tipText(const std::string& tip) {
    QString t = text(tip);
    while (!t.isEmpty() && t.back().isSpace()) t.chop(1);
    return t;
}
}  // namespace

struct QtPlatform::State : Reporter {
    struct Window {
        QPointer<WindowWidget> widget;
        std::vector<std::pair<int, QPointer<QWidget>>> tabStops;
    };
    struct Control {
        QPointer<QWidget> widget;
        ControlSpec spec;
        Handle window = 0;
        Handle dc = 0;
        QPoint origin;     // where the container's client area starts
        qreal points = 0;  // the designed font size, the most a text is shown at
    };
    struct Timer {
        QPointer<QTimer> timer;
        Handle window = 0;
    };

    State() : store(userConfigHome()), instance(runtimeFolder(), [this] { report({EventKind::AnotherInstance, 0}); }) {}

    ~State() {
        trays.clear();
        for (auto& [h, t] : timers) delete t.timer.data();
        for (auto& [h, w] : windows) delete w.widget.data();
        for (auto& dying : retired) delete dying.data();
    }

    void report(const Event& event) override {
        if (sink != nullptr) sink->onEvent(event);
    }

    Handle newHandle() { return next += 4; }

    // Deleted once the event that asked for it has unwound: a window may be
    // destroyed from inside its own close or click handler.
    void retire(QObject* object) {
        if (object == nullptr) return;
        object->deleteLater();
        retired.erase(std::remove_if(retired.begin(), retired.end(), [](const auto& p) { return p.isNull(); }),
                      retired.end());
        retired.emplace_back(object);
    }

    WindowWidget* window(Handle h) const {
        const auto it = windows.find(h);
        return it == windows.end() ? nullptr : it->second.widget.data();
    }

    Control* control(Handle h) {
        const auto it = controls.find(h);
        return it == controls.end() || it->second.widget.isNull() ? nullptr : &it->second;
    }

    template <class T>
    T* controlAs(Handle h) {
        Control* c = control(h);
        return c == nullptr ? nullptr : dynamic_cast<T*>(c->widget.data());
    }

    void chainTabs(Window& w) {
        auto& stops = w.tabStops;
        stops.erase(std::remove_if(stops.begin(), stops.end(), [](const auto& s) { return s.second.isNull(); }),
                    stops.end());
        std::stable_sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
    }

    static void setStaysOnTop(WindowWidget& w, bool on) {
        Qt::WindowFlags flags = w.windowFlags();
        if (flags.testFlag(Qt::WindowStaysOnTopHint) == on) return;
        flags.setFlag(Qt::WindowStaysOnTopHint, on);
        // QWidget::setWindowFlags would re-create a shown window; the QWindow only asks the window manager.
        w.overrideWindowFlags(flags);
        if (QWindow* native = w.windowHandle()) native->setFlags(flags);
    }

    EventSink* sink = nullptr;
    Handle next = 0x1000;
    std::map<Handle, Window> windows;
    std::map<Handle, Control> controls;
    std::map<Handle, Handle> dcs;  // picture DC -> control
    std::map<Handle, Timer> timers;
    std::map<Handle, QIcon> icons;
    std::map<std::pair<Handle, unsigned>, std::unique_ptr<QSystemTrayIcon>> trays;
    std::map<Handle, QString> openKeys;
    std::vector<QPointer<QObject>> retired;
    IniStore store;
    SingleInstance instance;
    bool quitRequested = false;
    int exitCode = 0;
};

QtPlatform::QtPlatform() : s_(std::make_unique<State>()) {
    // The overlay is often the only window and often hidden: closing a message
    // box must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    s_->icons[kDefaultIcon] = programIcon();
    QApplication::setWindowIcon(s_->icons[kDefaultIcon]);
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::setSink(EventSink* sink) { s_->sink = sink; }

int QtPlatform::run() {
    if (s_->quitRequested) return s_->exitCode;
    return QApplication::exec();
}

void QtPlatform::quit(int exitCode) {
    s_->quitRequested = true;
    s_->exitCode = exitCode;
    // Leaves every event loop, a modal box's included.
    QCoreApplication::exit(exitCode);
}

Handle QtPlatform::createWindow(const WindowSpec& spec) {
    const Handle h = s_->newHandle();
    auto* w = new WindowWidget(*s_, h, spec, flagsFor(spec));
    if (spec.icons.empty()) {
        w->icon = kDefaultIcon;
    } else {
        QIcon icon;
        for (const Image& image : spec.icons) icon.addPixmap(QPixmap::fromImage(toQImage(image)));
        w->icon = s_->newHandle();
        s_->icons[w->icon] = icon;
        w->setWindowIcon(icon);
    }
    const QSize client = QSize(spec.clientSize.width, spec.clientSize.height).expandedTo(kMinimumClient);
    if (w->fixedSize()) {
        w->setFixedSize(client);
    } else {
        w->setMinimumSize(kMinimumClient);
        w->resize(client);
    }
    if (spec.clientRect) w->move(spec.clientRect->left, spec.clientRect->top);
    w->reportSizeIfChanged();
    s_->windows[h].widget = w;
    return h;
}

void QtPlatform::destroyWindow(Handle h) {
    const auto it = s_->windows.find(h);
    if (it == s_->windows.end()) return;
    for (auto t = s_->timers.begin(); t != s_->timers.end();) {
        if (t->second.window == h) {
            if (t->second.timer) t->second.timer->stop();
            s_->retire(t->second.timer);
            t = s_->timers.erase(t);
        } else {
            ++t;
        }
    }
    for (auto c = s_->controls.begin(); c != s_->controls.end();) {
        if (c->second.window == h) {
            s_->dcs.erase(c->second.dc);
            c = s_->controls.erase(c);
        } else {
            ++c;
        }
    }
    if (WindowWidget* w = it->second.widget) {
        w->hide();
        s_->retire(w);
    }
    s_->windows.erase(it);
}

Rect QtPlatform::windowRect(Handle h) {
    const WindowWidget* w = s_->window(h);
    return w == nullptr ? Rect{} : w->outerRect();
}

void QtPlatform::setWindowRect(Handle h, const Rect& rect) {
    if (WindowWidget* w = s_->window(h)) w->setOuterRect(rect, w->frameMargins());
}

Size QtPlatform::clientSize(Handle h) {
    const WindowWidget* w = s_->window(h);
    return w == nullptr ? Size{} : Size{w->width(), w->height()};
}

bool QtPlatform::isVisible(Handle h) {
    const WindowWidget* w = s_->window(h);
    return w != nullptr && w->isVisible();
}

void QtPlatform::setVisible(Handle h, bool visible) {
    WindowWidget* w = s_->window(h);
    if (w == nullptr) return;
    if (visible) {
        w->show();
        w->raise();
    } else {
        w->hide();
    }
}

void QtPlatform::setCaption(Handle h, const std::string& caption) {
    if (WindowWidget* w = s_->window(h)) w->setWindowTitle(text(caption));
}

void QtPlatform::setBackColor(Handle h, Color color) {
    if (WindowWidget* w = s_->window(h)) w->setBackColor(color);
}

int QtPlatform::windowState(Handle h) {
    const WindowWidget* w = s_->window(h);
    if (w == nullptr) return 0;
    if (w->isMinimized()) return 1;
    if (w->isMaximized()) return 2;
    return 0;
}

void QtPlatform::setWindowState(Handle h, int state) {
    WindowWidget* w = s_->window(h);
    if (w == nullptr) return;
    Qt::WindowStates states = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == 1) states |= Qt::WindowMinimized;
    if (state == 2) states |= Qt::WindowMaximized;
    w->setWindowState(states);
}

void QtPlatform::bringToFront(Handle h) {
    if (WindowWidget* w = s_->window(h)) w->raise();
}

Handle QtPlatform::windowIcon(Handle h) {
    const WindowWidget* w = s_->window(h);
    return w == nullptr ? 0 : w->icon;
}

Handle QtPlatform::createControl(Handle parent, const ControlSpec& spec) {
    QWidget* container = nullptr;
    Handle windowHandle = parent;
    QPoint origin;
    if (WindowWidget* w = s_->window(parent)) {
        container = w;
    } else if (State::Control* c = s_->control(parent)) {
        container = c->widget;
        windowHandle = c->window;
        if (const auto* picture = dynamic_cast<PictureWidget*>(container)) {
            origin = QPoint(picture->borderWidth(), picture->borderWidth());
        }
    }
    if (container == nullptr) return 0;

    const Handle h = s_->newHandle();
    State::Control c;
    c.spec = spec;
    c.window = windowHandle;
    c.origin = origin;
    QWidget* widget = nullptr;
    bool focusable = false;
    switch (spec.kind) {
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(text(spec.text), container);
            QObject::connect(button, &QPushButton::clicked, button, [state = s_.get(), h] {
                state->report({EventKind::Click, h});
            });
            auto& owner = *s_->window(windowHandle);
            if (spec.isDefault) {
                button->setDefault(true);
                owner.defaultButton = button;
            }
            if (spec.isCancel) owner.cancelButton = button;
            widget = button;
            focusable = true;
            break;
        }
        case ControlKind::Label: {
            auto* label = new LabelWidget(*s_, h, container);
            // Plain text: a caption is shown as written, never read as markup.
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment((spec.alignment == Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
                                Qt::AlignTop);
            label->setText(text(spec.text));
            if (spec.border) label->setFrameStyle(QFrame::Box | QFrame::Plain);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, toQColor(spec.foreColor));
            label->setPalette(palette);
            if (!spec.transparentBack) fillBackground(*label, spec.backColor);
            widget = label;
            // A label with a tab stop is a link: Tab reaches it, Enter or Space follows it.
            focusable = spec.tabIndex >= 0;
            if (focusable) {
                label->setFocusPolicy(Qt::StrongFocus);
                label->setCursor(Qt::PointingHandCursor);
            }
            break;
        }
        case ControlKind::TextBox: {
            auto* box = new TextBoxWidget(*s_, h, container);
            box->setText(text(spec.text));
            widget = box;
            focusable = true;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new CheckWidget(text(spec.text), container);
            QObject::connect(box, &QCheckBox::clicked, box, [state = s_.get(), h] {
                state->report({EventKind::Click, h});
            });
            widget = box;
            focusable = true;
            break;
        }
        case ControlKind::PictureBox: {
            widget = new PictureWidget(*s_, h, spec, container);
            c.dc = s_->newHandle();
            s_->dcs[c.dc] = h;
            break;
        }
        case ControlKind::Shape:
            widget = new ShapeWidget(spec, container);
            break;
        case ControlKind::Frame:
            widget = new QWidget(container);
            if (!spec.transparentBack) fillBackground(*widget, spec.backColor);
            break;
        case ControlKind::Line:
            widget = new LineWidget(spec, container);
            break;
    }
    widget->setObjectName(text(spec.name));
    applyFont(*widget, spec.font);
    c.points = widget->font().pointSizeF();
    c.widget = widget;
    s_->controls[h] = c;
    setControlRect(h, spec.rect);
    if (focusable) {
        auto& owner = s_->windows[windowHandle];
        if (spec.tabIndex >= 0) {
            owner.tabStops.emplace_back(spec.tabIndex, widget);
            s_->chainTabs(owner);
        } else {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
    }
    widget->show();
    return h;
}

void QtPlatform::setControlRect(Handle h, const Rect& rect) {
    State::Control* c = s_->control(h);
    if (c == nullptr) return;
    if (auto* line = dynamic_cast<LineWidget*>(c->widget.data())) {
        line->setEnds(rect, c->origin);
        return;
    }
    c->widget->setGeometry(c->origin.x() + rect.left, c->origin.y() + rect.top, std::max(0, rect.width),
                           std::max(0, rect.height));
    fitControl(*c->widget, c->points);
}

void QtPlatform::setControlText(Handle h, const std::string& value) {
    State::Control* c = s_->control(h);
    if (c == nullptr) return;
    if (auto* button = dynamic_cast<QAbstractButton*>(c->widget.data())) button->setText(text(value));
    if (auto* label = dynamic_cast<QLabel*>(c->widget.data())) label->setText(text(value));
    if (auto* box = dynamic_cast<QLineEdit*>(c->widget.data())) box->setText(text(value));
    fitControl(*c->widget, c->points);
}

std::string QtPlatform::controlText(Handle h) {
    State::Control* c = s_->control(h);
    if (c == nullptr) return {};
    if (auto* button = dynamic_cast<QAbstractButton*>(c->widget.data())) return button->text().toStdString();
    if (auto* label = dynamic_cast<QLabel*>(c->widget.data())) return label->text().toStdString();
    if (auto* box = dynamic_cast<QLineEdit*>(c->widget.data())) return box->text().toStdString();
    return {};
}

void QtPlatform::setControlBackColor(Handle h, Color color) {
    State::Control* c = s_->control(h);
    if (c == nullptr) return;
    c->spec.backColor = color;
    QWidget* widget = c->widget;
    if (auto* picture = dynamic_cast<PictureWidget*>(widget)) {
        picture->setBackColor(color);
    } else if (auto* shape = dynamic_cast<ShapeWidget*>(widget)) {
        shape->setBackColor(color);
    } else if (!c->spec.transparentBack && (c->spec.kind == ControlKind::Label || c->spec.kind == ControlKind::Frame)) {
        fillBackground(*widget, color);
    }
}

void QtPlatform::setCheckValue(Handle h, int value) {
    if (auto* box = s_->controlAs<CheckWidget>(h)) box->setValue(value);
}

int QtPlatform::checkValue(Handle h) {
    const auto* box = s_->controlAs<CheckWidget>(h);
    return box == nullptr ? 0 : box->value();
}

Handle QtPlatform::pictureDC(Handle h) {
    const State::Control* c = s_->control(h);
    return c == nullptr ? 0 : c->dc;
}

Handle QtPlatform::createTimer(Handle window, int intervalMs) {
    const Handle h = s_->newHandle();
    auto* timer = new QTimer;
    timer->setInterval(intervalMs);
    QObject::connect(timer, &QTimer::timeout, timer, [state = s_.get(), h] {
        state->report({EventKind::TimerTick, h});
    });
    timer->start();
    s_->timers[h] = {timer, window};
    return h;
}

void QtPlatform::destroyTimer(Handle h) {
    const auto it = s_->timers.find(h);
    if (it == s_->timers.end()) return;
    if (it->second.timer) it->second.timer->stop();
    s_->retire(it->second.timer);
    s_->timers.erase(it);
}

std::optional<int> QtPlatform::popupMenu(Handle, const std::vector<MenuItem>& items) {
    QMenu menu;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].caption == "-") {
            menu.addSeparator();
        } else {
            menu.addAction(text(items[i].caption))->setData(static_cast<int>(i));
        }
    }
    const QAction* chosen = menu.exec(QCursor::pos());
    if (chosen == nullptr) return std::nullopt;
    return chosen->data().toInt();
}

int QtPlatform::messageBox(Handle owner, const std::string& message, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, text(title), text(message), QMessageBox::Ok, s_->window(owner));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return IDOK;
}

void QtPlatform::clipboardClear() { QGuiApplication::clipboard()->clear(); }

void QtPlatform::clipboardSetText(const std::string& value) { QGuiApplication::clipboard()->setText(text(value)); }

Size QtPlatform::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {};
    return {screen->geometry().width(), screen->geometry().height()};
}

double QtPlatform::twipsPerPixel() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen == nullptr ? 0 : screen->logicalDotsPerInchX();
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

std::vector<Rect> QtPlatform::workAreas() {
    std::vector<Rect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    const auto add = [&areas](const QScreen* screen) {
        const QRect r = screen->availableGeometry();
        areas.push_back({r.x(), r.y(), r.width(), r.height()});
    };
    if (primary != nullptr) add(primary);
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) add(screen);
    }
    return areas;
}

std::string QtPlatform::exePath() { return QCoreApplication::applicationFilePath().toStdString(); }

std::string QtPlatform::environment(const std::string& name) {
    if (name.empty() || name.find('=') != std::string::npos) return {};
    return qgetenv(name.c_str()).toStdString();
}

bool QtPlatform::fileExists(const std::string& path) {
    if (path.empty()) return false;
    const QFileInfo info(text(path));
    return info.exists() && !info.isDir();
}

bool QtPlatform::startProgram(const std::string& path, int) {
    // The program alone, never through a shell: a path is not a command line.
    return !path.empty() && QProcess::startDetached(text(path), {});
}

SettingsStore& QtPlatform::settings() { return s_->store; }

bool QtPlatform::becomePrimaryInstance() { return s_->instance.becomePrimary(); }

bool QtPlatform::notificationAreaAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtPlatform::writeStartupEntry(const std::string& exePath) {
    return autostart::write(text(configHome()) + "/autostart", text(exePath));
}

bool QtPlatform::removeStartupEntry() { return autostart::remove(text(configHome()) + "/autostart"); }

long QtPlatform::getWindowLong(Handle h, int index) {
    const WindowWidget* w = s_->window(h);
    return w == nullptr || index != win::GWL_EXSTYLE ? 0 : w->exStyle;
}

long QtPlatform::setWindowLong(Handle h, int index, long value) {
    WindowWidget* w = s_->window(h);
    if (w == nullptr || index != win::GWL_EXSTYLE) return 0;
    const long old = w->exStyle;
    w->exStyle = value;
    if ((value & win::WS_EX_LAYERED) == 0) w->setWindowOpacity(1.0);
    return old;
}

// The alpha becomes the whole window's opacity (on X11, _NET_WM_WINDOW_OPACITY).
// A colour key has no counterpart here and is not applied.
bool QtPlatform::setLayeredWindowAttributes(Handle h, Color, std::uint8_t alpha, unsigned flags) {
    WindowWidget* w = s_->window(h);
    if (w == nullptr || (w->exStyle & win::WS_EX_LAYERED) == 0) return false;
    w->setWindowOpacity((flags & win::LWA_ALPHA) != 0 ? alpha / 255.0 : 1.0);
    return true;
}

bool QtPlatform::setWindowPos(Handle h, Handle insertAfter, int x, int y, int cx, int cy, unsigned flags) {
    WindowWidget* w = s_->window(h);
    if (w == nullptr) return false;
    if ((flags & win::SWP_NOMOVE) == 0 || (flags & win::SWP_NOSIZE) == 0) {
        Rect r = w->outerRect();
        if ((flags & win::SWP_NOMOVE) == 0) r.left = x, r.top = y;
        if ((flags & win::SWP_NOSIZE) == 0) r.width = cx, r.height = cy;
        w->setOuterRect(r, w->frameMargins());
    }
    if (insertAfter == win::HWND_TOPMOST) State::setStaysOnTop(*w, true);
    if (insertAfter == win::HWND_NOTOPMOST) State::setStaysOnTop(*w, false);
    if ((flags & SWP_SHOWWINDOW) != 0) w->show();
    if ((flags & SWP_HIDEWINDOW) != 0) w->hide();
    if ((flags & SWP_NOZORDER) == 0) {
        if (insertAfter == HWND_BOTTOM) {
            w->lower();
        } else if (insertAfter == HWND_TOP || insertAfter == win::HWND_TOPMOST || insertAfter == win::HWND_NOTOPMOST) {
            w->raise();
        }
    }
    return true;
}

bool QtPlatform::setForegroundWindow(Handle h) {
    WindowWidget* w = s_->window(h);
    if (w == nullptr) return false;
    w->raise();
    w->activateWindow();
    return true;
}

bool QtPlatform::shellNotifyIcon(unsigned message, const NotifyIconData& data) {
    const auto key = std::make_pair(data.window, data.id);
    const auto it = s_->trays.find(key);
    const auto iconOf = [this](Handle icon) {
        const auto found = s_->icons.find(icon);
        return found != s_->icons.end() ? found->second : s_->icons[kDefaultIcon];
    };
    if (message == win::NIM_ADD) {
        if (it != s_->trays.end()) return false;
        auto tray = std::make_unique<QSystemTrayIcon>(iconOf(data.icon));
        tray->setToolTip(tipText(data.tip));
        if ((data.flags & NIF_MESSAGE) != 0) {
            QObject::connect(tray.get(), &QSystemTrayIcon::activated, tray.get(),
                             [state = s_.get(), window = data.window](QSystemTrayIcon::ActivationReason reason) {
                                 Event e{EventKind::NotifyIcon, window};
                                 e.code = mouseMessageOf(reason);
                                 if (e.code != 0) state->report(e);
                             });
        }
        // Kept even without a notification area: it docks when one appears.
        tray->show();
        s_->trays[key] = std::move(tray);
        return QSystemTrayIcon::isSystemTrayAvailable();
    }
    if (message == NIM_MODIFY) {
        if (it == s_->trays.end()) return false;
        it->second->setIcon(iconOf(data.icon));
        it->second->setToolTip(tipText(data.tip));
        return true;
    }
    if (message == win::NIM_DELETE) {
        if (it == s_->trays.end()) return false;
        it->second->hide();
        s_->retire(it->second.release());
        s_->trays.erase(it);
        return true;
    }
    return false;
}

Handle QtPlatform::shellExecute(Handle, const std::string& verb, const std::string& file, const std::string&,
                                const std::string&, int) {
    if (!(verb.empty() || sameText(verb, "open")) || file.empty()) return SE_ERR_NOASSOC;
    const QUrl url = QUrl::fromUserInput(text(file));
    if (!url.isValid()) return SE_ERR_NOASSOC;
    // The person's browser or file handler. Qt asks xdg-open on X11; where its
    // platform knows no way (offscreen), we ask xdg-open ourselves.
    if (QDesktopServices::openUrl(url)) return kShellOk;
    return QProcess::startDetached("xdg-open", {url.toString(QUrl::FullyEncoded)}) ? kShellOk : SE_ERR_NOASSOC;
}

Color QtPlatform::getPixel(Handle dc, int x, int y) {
    const auto it = s_->dcs.find(dc);
    if (it == s_->dcs.end()) return win::CLR_INVALID;
    const auto* picture = s_->controlAs<PictureWidget>(it->second);
    if (picture == nullptr) return win::CLR_INVALID;
    const Image& image = picture->image();
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return win::CLR_INVALID;
    return image.at(x, y);
}

long QtPlatform::regOpenKeyEx(Handle root, const std::string& subKey, unsigned, unsigned, Handle& result) {
    if (root != win::HKEY_LOCAL_MACHINE || !sameText(subKey, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO")) {
        return ERROR_FILE_NOT_FOUND;
    }
    const QString tool = findSystemInfoProgram();
    if (tool.isEmpty()) return ERROR_FILE_NOT_FOUND;
    result = s_->newHandle();
    s_->openKeys[result] = tool;
    return 0;
}

long QtPlatform::regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                                 unsigned& size) {
    const auto it = s_->openKeys.find(key);
    if (it == s_->openKeys.end()) return ERROR_INVALID_HANDLE;
    if (!sameText(name, "PATH")) return ERROR_FILE_NOT_FOUND;
    // A string value comes with its terminating zero, as the registry keeps it.
    std::string value = it->second.toStdString();
    value.push_back('\0');
    type = win::REG_SZ;
    const auto needed = static_cast<unsigned>(value.size());
    if (needed > size || needed > data.size()) {
        size = needed;
        return ERROR_MORE_DATA;
    }
    std::copy(value.begin(), value.end(), data.begin());
    size = needed;
    return 0;
}

long QtPlatform::regCloseKey(Handle key) { return s_->openKeys.erase(key) != 0 ? 0 : ERROR_INVALID_HANDLE; }

QWidget* QtPlatform::widget(Handle h) const {
    if (WindowWidget* w = s_->window(h)) return w;
    const auto it = s_->controls.find(h);
    return it == s_->controls.end() ? nullptr : it->second.widget.data();
}

Handle QtPlatform::windowNamed(const std::string& name) const {
    for (const auto& [h, w] : s_->windows) {
        if (w.widget && w.widget->objectName() == text(name)) return h;
    }
    return 0;
}

QSystemTrayIcon* QtPlatform::trayIcon(Handle window, unsigned id) const {
    const auto it = s_->trays.find({window, id});
    return it == s_->trays.end() ? nullptr : it->second.get();
}

int QtPlatform::trayIconCount() const { return static_cast<int>(s_->trays.size()); }

std::string QtPlatform::configHome() const { return s_->store.home(); }

}  // namespace velmora::platform::qt
