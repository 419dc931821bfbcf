// The colour filter on Linux: the gains multiplied into the gamma ramp of every
// CRTC through RandR, on Qt's own X connection. A ramp is the X server's, and
// outlives us: what we found goes back when the filter goes off or the program
// ends, and a record in the runtime folder lets the next start put it back
// after a crash. We write only when the gains change or a screen comes, so a
// night-light tool writing the same ramps is never fought: whoever writes last
// wins, and a ramp another program wrote since is left as it is.
#include <fcntl.h>
#include <sys/file.h>
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cctype>
#include <map>

#include "platform/qt/instance.h"
#include "platform/qt/ramps.h"
#include "platform/qt/state.h"
#include "platform/qt/x11.h"

namespace velmora::platform::qt {

namespace {

constexpr const char* kNoRamps = "the X server offers no colour ramps";
constexpr const char* kWayland = "this is a Wayland session";
// Far beyond any real record: a larger file is not ours.
constexpr qint64 kLargestRecord = 32 << 20;

// The X server's ramps are one per display: ":0" and ":0.0" name the same.
QString displayKey() {
    QByteArray name = qgetenv("DISPLAY");
    const qsizetype colon = name.lastIndexOf(':');
    if (const qsizetype dot = name.indexOf('.', colon < 0 ? 0 : colon); colon >= 0 && dot > colon) name.truncate(dot);
    for (char& c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '-') c = '_';
    }
    return QString::fromLatin1(name);
}

class QtFilter final : public ScreenFilter, public QAbstractNativeEventFilter {
public:
    explicit QtFilter(State&) : connection_(x11Connection()) {
        if (connection_ == nullptr) {
            reason_ = "there is no X server";
            return;
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const xcb_query_extension_reply_t* randr = xcb_get_extension_data(connection_, &xcb_randr_id);
        if (randr != nullptr && randr->present != 0) {
            // The version Qt asks for on this connection too, so its screens see no change.
            const ReplyPtr<xcb_randr_query_version_reply_t> version(xcb_randr_query_version_reply(
                connection_, xcb_randr_query_version(connection_, XCB_RANDR_MAJOR_VERSION, XCB_RANDR_MINOR_VERSION),
                nullptr));
            // Screen resources without probing the outputs are 1.3's.
            randr_ = version && (version->major_version > 1 || version->minor_version >= 3);
            firstEvent_ = randr->first_event;
        }
        reason_ = findReason();
        if (!randr_) return;
        // Qt selects these for its screens: a selection replaces the client's last, so it is made whole.
        xcb_randr_select_input(connection_, root_,
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE | XCB_RANDR_NOTIFY_MASK_OUTPUT_PROPERTY);
        QCoreApplication::instance()->installNativeEventFilter(this);
        const QString base = runtimeFolder() + "/velmora-filter-" + displayKey();
        record_ = base + ".ramps";
        if (holdLock(base + ".lock")) putBackAfterCrash();
        xcb_flush(connection_);
    }
    ~QtFilter() override {
        if (!randr_) return;
        QCoreApplication::instance()->removeNativeEventFilter(this);
        // Whatever way the program went, the screens go back as they were.
        clear();
    }
    QtFilter(const QtFilter&) = delete;
    QtFilter& operator=(const QtFilter&) = delete;

    std::string unavailableReason() override { return reason_; }

    bool setGains(const Gains& gains) override {
        if (!reason_.empty()) return false;
        if (gains_ == gains && !touched_.empty()) return true;
        gains_ = gains;
        return apply(false);
    }

    void clear() override {
        gains_.reset();
        if (touched_.empty()) return;
        for (const auto& [crtc, t] : touched_) {
            // Another program's ramp written since stays.
            if (ramps(crtc) == t.ramps.set) write(crtc, t.ramps.found);
        }
        touched_.clear();
        if (lock_) QFile::remove(record_);
        xcb_flush(connection_);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const int kind = (event->response_type & 0x7F) - firstEvent_;
        const bool crtcChange =
            kind == XCB_RANDR_NOTIFY &&
            static_cast<const xcb_randr_notify_event_t*>(message)->subCode == XCB_RANDR_NOTIFY_CRTC_CHANGE;
        if ((kind == XCB_RANDR_SCREEN_CHANGE_NOTIFY || crtcChange) && !pending_) {
            pending_ = true;
            // After the event: Qt's X event handling is not to be re-entered, and a burst is one look.
            QMetaObject::invokeMethod(
                &context_, [this] { screensChanged(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    struct Touched {
        CrtcRamps ramps;
        bool lit = false;  // showing a picture when last looked at
    };

    std::vector<xcb_randr_crtc_t> crtcs() const {
        const ReplyPtr<xcb_randr_get_screen_resources_current_reply_t> res(xcb_randr_get_screen_resources_current_reply(
            connection_, xcb_randr_get_screen_resources_current(connection_, root_), nullptr));
        if (!res) return {};
        const xcb_randr_crtc_t* first = xcb_randr_get_screen_resources_current_crtcs(res.get());
        return {first, first + xcb_randr_get_screen_resources_current_crtcs_length(res.get())};
    }

    std::optional<Ramps> ramps(xcb_randr_crtc_t crtc) const {
        const ReplyPtr<xcb_randr_get_crtc_gamma_reply_t> g(
            xcb_randr_get_crtc_gamma_reply(connection_, xcb_randr_get_crtc_gamma(connection_, crtc), nullptr));
        if (!g) return std::nullopt;
        const auto ramp = [](const std::uint16_t* first, int length) { return Ramp(first, first + length); };
        return Ramps{ramp(xcb_randr_get_crtc_gamma_red(g.get()), xcb_randr_get_crtc_gamma_red_length(g.get())),
                     ramp(xcb_randr_get_crtc_gamma_green(g.get()), xcb_randr_get_crtc_gamma_green_length(g.get())),
                     ramp(xcb_randr_get_crtc_gamma_blue(g.get()), xcb_randr_get_crtc_gamma_blue_length(g.get()))};
    }

    bool write(xcb_randr_crtc_t crtc, const Ramps& r) const {
        if (r.red.empty() || r.green.size() != r.red.size() || r.blue.size() != r.red.size()) return false;
        const auto cookie = xcb_randr_set_crtc_gamma_checked(
            connection_, crtc, static_cast<std::uint16_t>(r.red.size()), r.red.data(), r.green.data(), r.blue.data());
        return !ReplyPtr<xcb_generic_error_t>(xcb_request_check(connection_, cookie));
    }

    bool lit(xcb_randr_crtc_t crtc) const {
        const ReplyPtr<xcb_randr_get_crtc_info_reply_t> info(xcb_randr_get_crtc_info_reply(
            connection_, xcb_randr_get_crtc_info(connection_, crtc, XCB_CURRENT_TIME), nullptr));
        return info && info->mode != XCB_NONE;
    }

    // XWayland takes a ramp and never shows it, and a read-back cannot tell.
    std::string findReason() const {
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return kWayland;
        constexpr char kXWayland[] = "XWAYLAND";
        const ReplyPtr<xcb_query_extension_reply_t> ext(xcb_query_extension_reply(
            connection_, xcb_query_extension(connection_, sizeof kXWayland - 1, kXWayland), nullptr));
        if (ext && ext->present != 0) return kWayland;
        if (!randr_) return kNoRamps;
        const ReplyPtr<xcb_randr_get_screen_resources_current_reply_t> res(xcb_randr_get_screen_resources_current_reply(
            connection_, xcb_randr_get_screen_resources_current(connection_, root_), nullptr));
        if (!res) return kNoRamps;
        const xcb_randr_output_t* outputs = xcb_randr_get_screen_resources_current_outputs(res.get());
        for (int i = 0; i < xcb_randr_get_screen_resources_current_outputs_length(res.get()); ++i) {
            const ReplyPtr<xcb_randr_get_output_info_reply_t> output(xcb_randr_get_output_info_reply(
                connection_, xcb_randr_get_output_info(connection_, outputs[i], res->config_timestamp), nullptr));
            if (!output) continue;
            const auto* name = reinterpret_cast<const char*>(xcb_randr_get_output_info_name(output.get()));
            const QByteArray text(name, xcb_randr_get_output_info_name_length(output.get()));
            if (text.startsWith(kXWayland)) return kWayland;
        }
        const xcb_randr_crtc_t* crtcs = xcb_randr_get_screen_resources_current_crtcs(res.get());
        for (int i = 0; i < xcb_randr_get_screen_resources_current_crtcs_length(res.get()); ++i) {
            const ReplyPtr<xcb_randr_get_crtc_gamma_size_reply_t> size(xcb_randr_get_crtc_gamma_size_reply(
                connection_, xcb_randr_get_crtc_gamma_size(connection_, crtcs[i]), nullptr));
            if (size && size->size > 0) return {};
        }
        return kNoRamps;
    }

    // Writes the gains over what each CRTC showed before us: every CRTC, or only
    // those that came or lit up since we last looked. True when one took them.
    bool apply(bool comingOnly) {
        bool took = false;
        std::map<xcb_randr_crtc_t, Touched> now;
        for (const xcb_randr_crtc_t crtc : crtcs()) {
            const auto known = touched_.find(crtc);
            const bool isLit = lit(crtc);
            if (comingOnly && known != touched_.end() && (known->second.lit || !isLit)) {
                now[crtc] = {known->second.ramps, isLit};
                continue;
            }
            const std::optional<Ramps> shown = ramps(crtc);
            if (!shown || shown->red.empty()) continue;
            Touched t{{crtc, *shown, {}}, isLit};
            // What another program wrote since ours is what the filter now goes over.
            if (known != touched_.end() && *shown == known->second.ramps.set) t.ramps.found = known->second.ramps.found;
            const Ramps wanted = filtered(t.ramps.found, *gains_);
            if (!write(crtc, wanted)) {
                if (known != touched_.end()) now[crtc] = known->second;
                continue;
            }
            // As the server holds it, which is what a later look compares with.
            t.ramps.set = ramps(crtc).value_or(wanted);
            now[crtc] = std::move(t);
            took = true;
        }
        touched_ = std::move(now);
        keepRecord();
        xcb_flush(connection_);
        return took;
    }

    void screensChanged() {
        pending_ = false;
        reason_ = findReason();
        if (gains_ && reason_.empty()) apply(true);
    }

    // One running copy per display keeps the record; another one started now
    // finds it held and leaves the ramps to its owner.
    bool holdLock(const QString& path) {
        lock_.reset(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (lock_ && ::flock(lock_.get(), LOCK_EX | LOCK_NB) != 0) lock_.reset();
        return static_cast<bool>(lock_);
    }

    // Written whole, then renamed over the last: a kill never leaves half of one.
    void keepRecord() const {
        if (!lock_) return;
        std::vector<CrtcRamps> all;
        for (const auto& [crtc, t] : touched_) all.push_back(t.ramps);
        QSaveFile file(record_);
        if (!file.open(QIODevice::WriteOnly)) return;
        file.write(encodeRecord(all));
        file.commit();
    }

    // A ramp still as a crash left it goes back to what was there before.
    void putBackAfterCrash() {
        const QFileInfo info(record_);
        if (!info.exists()) return;
        // Anything else at that name (a pipe would block) is not read.
        if (info.isFile() && info.size() <= kLargestRecord) {
            QFile file(record_);
            if (file.open(QIODevice::ReadOnly)) {
                for (const CrtcRamps& c : decodeRecord(file.readAll()).value_or(std::vector<CrtcRamps>{})) {
                    if (ramps(c.crtc) == c.set) write(c.crtc, c.found);
                }
            }
        }
        QFile::remove(record_);
    }

    xcb_connection_t* const connection_;
    xcb_window_t root_ = 0;
    bool randr_ = false;
    int firstEvent_ = 0;
    std::string reason_;
    std::optional<Gains> gains_;
    std::map<xcb_randr_crtc_t, Touched> touched_;
    QString record_;
    UniqueFd lock_;
    bool pending_ = false;
    QObject context_;  // what posted looks run in, and die with
};

}  // namespace

std::unique_ptr<ScreenFilter> makeFilter(State& state) { return std::make_unique<QtFilter>(state); }

}  // namespace velmora::platform::qt
