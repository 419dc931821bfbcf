// The fixture of the Windows platform's own tests: a fresh platform of the test
// process, with a sink that records every event and may react to it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/platform.h"

namespace velmora::platform::win32 {

// The settings the tests write, never the program's own.
inline constexpr const char* kTestApp = "VelmoraPlatformTest";

struct Recorder : EventSink {
    void onEvent(const Event& event) override {
        events.push_back(event);
        if (react) react(event);
    }
    std::vector<Event> events;
    std::function<void(const Event&)> react;
};

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\VB and VBA Program Settings\\" + std::string(kTestApp)).c_str());
        platform = createPlatform();
        platform->windows.setSink(&recorder);
    }
    void TearDown() override { platform.reset(); }

    void pump() {
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // Runs the platform's own loop until the sink quits it, or gives up after a while.
    int runLoop() {
        const Handle guard = platform->windows.createTimer(host(), 5000);
        const auto previous = recorder.react;
        recorder.react = [&, previous](const Event& e) {
            if (e.kind == EventKind::TimerTick && e.target == guard) platform->windows.quit(-1);
            if (previous) previous(e);
        };
        const int code = platform->windows.run();
        platform->windows.destroyTimer(guard);
        recorder.react = previous;
        return code;
    }
    Handle host() { return hostWindow ? hostWindow : (hostWindow = platform->windows.createWindow(spec("Host"))); }
    static WindowSpec spec(const std::string& name) {
        WindowSpec s;
        s.name = name;
        s.caption = name;
        s.clientSize = {300, 200};
        return s;
    }
    static ControlSpec control(ControlKind kind, const std::string& text, Rect rect, int tabIndex = -1) {
        ControlSpec c;
        c.kind = kind;
        c.name = text;
        c.text = text;
        c.rect = rect;
        c.tabIndex = tabIndex;
        return c;
    }
    std::vector<Event> eventsOf(EventKind kind) {
        std::vector<Event> found;
        for (const auto& e : recorder.events) {
            if (e.kind == kind) found.push_back(e);
        }
        return found;
    }
    static HWND hwnd(Handle h) { return reinterpret_cast<HWND>(h); }

    Recorder recorder;
    std::unique_ptr<Platform> platform;
    Handle hostWindow = 0;
};

}  // namespace velmora::platform::win32
