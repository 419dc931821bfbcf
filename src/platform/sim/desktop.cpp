// The simulated desktop: a 1024 x 768 screen at 96 dots per inch, a notification
// area, one running copy and a login entry as plain flags a test sets.
#include <utility>

#include "platform/sim/state.h"
#include "platform/text.h"

namespace velmora::platform::sim {

namespace {

struct SimDesktop final : OnState<Desktop> {
    using RoleOnState::RoleOnState;

    Size screenSize() override { return s_.screen; }
    double twipsPerPixel() override { return s_.twipsPerPixel; }
    std::vector<Rect> workAreas() override { return s_.workAreas; }
    Rect desktopArea() override { return s_.desktopArea; }
    std::vector<Rect> screens() override { return s_.screens; }

    void clipboardClear() override { s_.clipboard.reset(); }
    void clipboardSetText(const std::string& text) override { s_.clipboard = text; }

    bool notificationAreaAvailable() override { return s_.trayAvailable; }
    bool waylandSessionThroughXWayland() override { return s_.waylandSession; }

    void watchNotificationArea() override {
        if (s_.trayAvailable) {
            s_.send({EventKind::NotificationAreaAppeared, 0});
        } else if (s_.trayLate) {
            s_.watchingTray = true;
        } else {
            s_.send({EventKind::NotificationAreaAbsent, 0});
        }
    }

    bool becomePrimaryInstance(const std::string& command) override {
        s_.log(Call::BecomePrimaryInstance, {}, {command});
        s_.primaryInstance = !s_.anotherInstance;
        return s_.primaryInstance;
    }

    std::vector<std::string> takeCommands() override { return std::exchange(s_.commands, {}); }

    void leavePrimaryInstance() override { s_.primaryInstance = false; }

    bool writeStartupEntry(const std::string& exePath) override {
        s_.log(Call::WriteStartupEntry, {}, {exePath});
        if (!s_.startupEntryWritable) return false;
        s_.startupEntry = exePath;
        return true;
    }

    bool removeStartupEntry() override {
        s_.log(Call::RemoveStartupEntry, {});
        const bool had = s_.startupEntry.has_value();
        s_.startupEntry.reset();
        return had;
    }

    std::string exePath() override { return s_.exePath; }
    bool fileExists(const std::string& path) override { return s_.files.count(lowerCase(path)) != 0; }

    bool startProgram(const std::string& path, int showStyle) override {
        s_.log(Call::Shell, {showStyle}, {path});
        if (!s_.startSucceeds) return false;
        s_.started.emplace_back(path, showStyle);
        return true;
    }
};

}  // namespace

std::unique_ptr<Desktop> makeDesktop(State& state) { return std::make_unique<SimDesktop>(state); }

}  // namespace velmora::platform::sim
