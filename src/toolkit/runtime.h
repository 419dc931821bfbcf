// The forms runtime: owns the platform link, routes events to windows and
// controls, and gives the program its screen, clipboard, message box,
// application object, runtime errors and end statement.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/errors.h"
#include "platform/platform.h"
#include "velmora_version.h"

namespace velmora::toolkit {

using platform::Color;
using platform::Handle;

struct AppInfo {
    std::string title = "Velmora";
    int major = VELMORA_VERSION_MAJOR;
    int minor = VELMORA_VERSION_MINOR;
    int revision = VELMORA_VERSION_PATCH;
};

// Thrown by the end statement to leave every running handler at once.
struct EndProgram {};

// Anything that receives events from the platform: a window, a control, a timer.
class EventTarget {
public:
    virtual ~EventTarget() = default;
    virtual void handleEvent(const platform::Event& event) = 0;
};

class Runtime : public platform::EventSink {
public:
    Runtime(platform::Platform& platform, AppInfo info);
    ~Runtime() override;
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    platform::Platform& platform() { return platform_; }
    const AppInfo& app() const { return info_; }

    // The application object's folder (no trailing separator) and executable name without extension.
    std::string path();
    std::string exeName();
    // Whether a file (not a folder) of that name exists.
    bool fileExists(const std::string& path);
    // Starts a program with a show style; one that cannot be started is "File not found".
    void Shell(const std::string& path, int showStyle);

    // Screen, in twips.
    float screenWidth();
    float screenHeight();
    float twipsPerPixelX();
    float twipsPerPixelY();

    // A modal message box with only an OK button; the title defaults to the application title.
    void msgBox(const std::string& text, const std::string& title = {});
    void clipboardClear();
    void clipboardSetText(const std::string& text);

    // The end statement: stops at once, no further handler runs.
    [[noreturn]] void end();
    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }
    // After a call that may have run other handlers (a modal box, a native call that
    // sends messages), leave at once if one of them ended the program.
    void checkEnded() const;

    // Runs code as the runtime runs an event handler: an untrapped error shows the
    // standard message and ends the program.
    void runHandler(const std::function<void()>& body);
    // The source a trapped error reports when whoever raised it named none.
    std::string errorSource(const RuntimeError& error) const;

    void onEvent(const platform::Event& event) override;

    void attach(Handle handle, EventTarget* target);
    void detach(Handle handle);

protected:
    // Runs once when the program ends, before the platform is told to quit.
    virtual void atEnd() {}

private:
    void endNow(int exitCode);
    void reportUntrapped(const RuntimeError& error);

    platform::Platform& platform_;
    AppInfo info_;
    std::map<Handle, EventTarget*> targets_;
    bool ended_ = false;
    int exitCode_ = 0;
};

}  // namespace velmora::toolkit
