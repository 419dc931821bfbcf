// What the program meets of the desktop beyond its own windows: screens, the
// clipboard, the notification area, one running copy, the login entry, and the
// running program itself.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace velmora::platform {

class Desktop {
public:
    virtual ~Desktop() = default;

    // The primary screen's size in pixels, and every screen's work area, primary first.
    virtual Size screenSize() = 0;
    virtual double twipsPerPixel() = 0;
    // Device pixels to one of the program's pixels: above 1 where the desktop scales
    // the program's drawing itself (Qt's device pixel ratio), 1 where pixels are the device's.
    virtual double deviceScale() { return 1; }
    virtual std::vector<Rect> workAreas() = 0;
    // The union of every screen, and each screen, primary first.
    virtual Rect desktopArea() = 0;
    virtual std::vector<Rect> screens() = 0;

    virtual void clipboardClear() = 0;
    virtual void clipboardSetText(const std::string& text) = 0;

    // Whether the desktop has a notification area to hold the program's icon.
    virtual bool notificationAreaAvailable() = 0;
    // At login the panel may come after the programs it starts: reports, once,
    // NotificationAreaAppeared when the area is there, or NotificationAreaAbsent
    // when it has not come within the few seconds a panel takes to start.
    virtual void watchNotificationArea() = 0;
    // Running through XWayland in a Wayland session: the desktop's own windows
    // keep where the pointer is to themselves, and a global key reaches the
    // program only while an X window has the keyboard.
    virtual bool waylandSessionThroughXWayland() = 0;
    // False when another copy of the program already runs; that copy has then been
    // told the command (a short word, "show" for a plain start) and sent
    // AnotherInstance, and this one should leave.
    virtual bool becomePrimaryInstance(const std::string& command) = 0;
    // The commands other copies have told this one since it last asked, in order:
    // each a word of at most kCommandLength lower-case letters, nothing else.
    virtual std::vector<std::string> takeCommands() = 0;
    static constexpr std::size_t kCommandLength = 24;
    // At the end, first thing: a copy started meanwhile runs instead of asking this one.
    virtual void leavePrimaryInstance() = 0;
    // The per-user entry that starts the program at login, naming this executable.
    virtual bool writeStartupEntry(const std::string& exePath) = 0;
    // Removes that entry if this program wrote it; anything else is left alone.
    virtual bool removeStartupEntry() = 0;

    virtual std::string exePath() = 0;  // full path of the executable
    virtual bool fileExists(const std::string& path) = 0;
    // The program alone, never through a shell; false when it could not be started.
    virtual bool startProgram(const std::string& path, int showStyle) = 0;
};

}  // namespace velmora::platform
