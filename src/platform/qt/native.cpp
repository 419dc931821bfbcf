// The calls the program makes by their Win32 names, as Qt and a Linux desktop
// can answer them: layered alpha becomes the window's opacity, the topmost
// z-order a window flag, the notification icon a QSystemTrayIcon, the shell
// the person's browser, and the registry the one value the About box reads.
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <QWindow>

#include "platform/qt/state.h"
#include "platform/qt/sysinfo.h"
#include "platform/qt/x11.h"
#include "platform/winapi.h"

namespace velmora::platform::qt {

namespace {

// Where the About box looks for the system-information tool, and the value it reads.
constexpr auto kSystemInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr auto kSystemInfoValue = "PATH";

bool sameText(const std::string& a, const char* b) {
    return toQString(a).compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

// QWidget::setWindowFlags would re-create a shown window; the QWindow only
// asks the window manager, or (letting the mouse through) sets the window's
// input shape.
void setWindowFlag(WindowWidget& w, Qt::WindowType flag, bool on) {
    Qt::WindowFlags flags = w.windowFlags();
    if (flags.testFlag(flag) == on) return;
    flags.setFlag(flag, on);
    w.overrideWindowFlags(flags);
    if (QWindow* native = w.windowHandle()) native->setFlags(flags);
}

// The mouse message the notification icon's callback carries; 0 for none.
unsigned mouseMessageOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            return win::WM_LBUTTONDBLCLK;
        case QSystemTrayIcon::Context:
            return win::WM_RBUTTONUP;
        case QSystemTrayIcon::Trigger:
            return win::WM_LBUTTONUP;
        case QSystemTrayIcon::MiddleClick:
            return win::WM_MBUTTONUP;
        default:
            return 0;
    }
}

// The shell pads the tip to its fixed size with blanks; a tooltip shows none.
QString tipText(const std::string& tip) {
    QString t = toQString(tip);
    while (!t.isEmpty() && t.back().isSpace()) t.chop(1);
    return t;
}

class QtNative final : public NativeCalls {
public:
    explicit QtNative(State& state) : s_(state) {}

    long getWindowLong(Handle h, int index) override {
        const WindowWidget* w = s_.window(h);
        return w == nullptr || index != win::GWL_EXSTYLE ? 0 : w->exStyle;
    }

    long setWindowLong(Handle h, int index, long value) override {
        WindowWidget* w = s_.window(h);
        if (w == nullptr || index != win::GWL_EXSTYLE) return 0;
        const long old = w->exStyle;
        w->exStyle = value;
        const bool layered = (value & win::WS_EX_LAYERED) != 0;
        if (!layered) w->setWindowOpacity(1.0);
        // As on Windows, a layered window that is also transparent lets the mouse through to what is beneath.
        const bool through = layered && (value & win::WS_EX_TRANSPARENT) != 0;
        if (w->windowFlags().testFlag(Qt::WindowTransparentForInput) != through) {
            setWindowFlag(*w, Qt::WindowTransparentForInput, through);
            // Qt gives the mouse back to the window's size as it is now, which a resize outgrows.
            if (!through) setInputShape(w->internalWinId(), false);
        }
        return old;
    }

    // The alpha becomes the whole window's opacity (on X11, _NET_WM_WINDOW_OPACITY).
    // A colour key has no counterpart here and is not applied.
    bool setLayeredWindowAttributes(Handle h, Color, std::uint8_t alpha, unsigned flags) override {
        WindowWidget* w = s_.window(h);
        if (w == nullptr || (w->exStyle & win::WS_EX_LAYERED) == 0) return false;
        w->setWindowOpacity((flags & win::LWA_ALPHA) != 0 ? alpha / 255.0 : 1.0);
        return true;
    }

    // The program only moves a window into or out of the topmost ones, in place
    // and at its size; the place and size are the Windows role's. Anything else
    // is not done, and says so.
    bool setWindowPos(Handle h, Handle insertAfter, int, int, int, int, unsigned flags) override {
        WindowWidget* w = s_.window(h);
        const bool inPlace = (flags & win::SWP_NOMOVE) != 0 && (flags & win::SWP_NOSIZE) != 0;
        if (w == nullptr || !inPlace || (insertAfter != win::HWND_TOPMOST && insertAfter != win::HWND_NOTOPMOST)) {
            return false;
        }
        setWindowFlag(*w, Qt::WindowStaysOnTopHint, insertAfter == win::HWND_TOPMOST);
        w->raise();
        return true;
    }

    bool setForegroundWindow(Handle h) override {
        WindowWidget* w = s_.window(h);
        if (w == nullptr) return false;
        w->raise();
        w->activateWindow();
        return true;
    }

    // One icon per window and id. It is kept even without a notification area,
    // and docks when one appears; adding then reports that it did not show.
    bool shellNotifyIcon(unsigned message, const NotifyIconData& data) override {
        const auto key = std::make_pair(data.window, data.id);
        const auto it = s_.trays.find(key);
        if (message == win::NIM_ADD) {
            if (it != s_.trays.end()) return false;
            s_.trays[key] = newTrayIcon(data);
            return QSystemTrayIcon::isSystemTrayAvailable();
        }
        if (message != win::NIM_DELETE || it == s_.trays.end()) return false;
        // Not hidden now: on X11 hiding deletes the icon's widget at once, and this may
        // run inside that widget's own mouse event (the menu's Exit). Deleting it later
        // takes it out of the notification area.
        s_.retire(it->second.release());
        s_.trays.erase(it);
        return true;
    }

    // Only opening is known: an address goes to the person's browser or file handler.
    Handle shellExecute(Handle, const std::string& verb, const std::string& file, const std::string&,
                        const std::string&, int) override {
        if (!(verb.empty() || sameText(verb, "open")) || file.empty()) return win::SE_ERR_NOASSOC;
        const QUrl url = QUrl::fromUserInput(toQString(file));
        if (!url.isValid()) return win::SE_ERR_NOASSOC;
        // Qt asks xdg-open on X11; where its platform knows no way (offscreen), we ask xdg-open ourselves.
        if (QDesktopServices::openUrl(url)) return win::kShellExecuteDone;
        const bool started = QProcess::startDetached("xdg-open", {url.toString(QUrl::FullyEncoded)});
        return started ? win::kShellExecuteDone : win::SE_ERR_NOASSOC;
    }

    // Reads the picture box's own picture, never what covers it on screen.
    Color getPixel(Handle dc, int x, int y) override {
        const auto it = s_.dcs.find(dc);
        const auto* picture = it == s_.dcs.end() ? nullptr : s_.controlAs<PictureWidget>(it->second);
        if (picture == nullptr) return win::CLR_INVALID;
        const Image& image = picture->image();
        if (x < 0 || y < 0 || x >= image.width || y >= image.height) return win::CLR_INVALID;
        return image.at(x, y);
    }

    // Linux has no registry: the system-information key exists when such a tool is installed.
    long regOpenKeyEx(Handle root, const std::string& subKey, unsigned, unsigned, Handle& result) override {
        if (root != win::HKEY_LOCAL_MACHINE || !sameText(subKey, kSystemInfoKey)) return win::ERROR_FILE_NOT_FOUND;
        const QString tool = findSystemInfoProgram();
        if (tool.isEmpty()) return win::ERROR_FILE_NOT_FOUND;
        result = s_.newHandle();
        s_.openKeys[result] = tool;
        return win::ERROR_SUCCESS;
    }

    long regQueryValueEx(Handle key, const std::string& name, unsigned& type, std::string& data,
                         unsigned& size) override {
        const auto it = s_.openKeys.find(key);
        if (it == s_.openKeys.end()) return win::ERROR_INVALID_HANDLE;
        if (!sameText(name, kSystemInfoValue)) return win::ERROR_FILE_NOT_FOUND;
        // A string value comes with its terminating zero, as the registry keeps it.
        const QByteArray value = it->second.toUtf8() + '\0';
        type = win::REG_SZ;
        const auto needed = static_cast<unsigned>(value.size());
        const bool fits = needed <= size && needed <= data.size();
        size = needed;
        if (!fits) return win::ERROR_MORE_DATA;
        std::copy(value.begin(), value.end(), data.begin());
        return win::ERROR_SUCCESS;
    }

    long regCloseKey(Handle key) override {
        return s_.openKeys.erase(key) != 0 ? win::ERROR_SUCCESS : win::ERROR_INVALID_HANDLE;
    }

private:
    std::unique_ptr<QSystemTrayIcon> newTrayIcon(const NotifyIconData& data) {
        const auto icon = s_.icons.find(data.icon);
        auto tray =
            std::make_unique<QSystemTrayIcon>(icon != s_.icons.end() ? icon->second : s_.icons[win::IDI_APPLICATION]);
        tray->setToolTip(tipText(data.tip));
        if ((data.flags & win::NIF_MESSAGE) != 0) {
            QObject::connect(tray.get(), &QSystemTrayIcon::activated, tray.get(),
                             [&s = s_, window = data.window](QSystemTrayIcon::ActivationReason reason) {
                                 Event e{EventKind::NotifyIcon, window};
                                 e.code = mouseMessageOf(reason);
                                 if (e.code != 0) s.report(e);
                             });
        }
        tray->show();
        return tray;
    }

    State& s_;
};

}  // namespace

std::unique_ptr<NativeCalls> makeNative(State& state) { return std::make_unique<QtNative>(state); }

}  // namespace velmora::platform::qt
