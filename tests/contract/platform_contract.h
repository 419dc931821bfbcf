// What every platform does alike with a bad call: it reports the failure as a
// result (0, false, an error status), never throws, and nothing is left half
// made. Each platform's tests run this against a platform of their own.
#pragma once

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/winapi.h"

namespace velmora::contract {

inline void expectBadCallsFailAlike(platform::Platform& p) {
    namespace win = platform::win;
    using platform::Handle;
    constexpr Handle kUnknown = 0x7777770;

    EXPECT_EQ(p.controls.createControl(kUnknown, {.name = "Orphan"}), 0) << "a control without a known parent";
    EXPECT_EQ(p.windows.createTimer(kUnknown, 100), 0) << "a timer without a known window";
    EXPECT_EQ(p.windows.windowRect(kUnknown), platform::Rect{});
    EXPECT_FALSE(p.windows.isVisible(kUnknown));
    EXPECT_EQ(p.windows.windowIcon(kUnknown), 0);
    EXPECT_EQ(p.controls.controlText(kUnknown), "");
    EXPECT_EQ(p.controls.checkValue(kUnknown), 0);
    EXPECT_EQ(p.controls.pictureDC(kUnknown), 0);
    EXPECT_FALSE(p.native.setWindowPos(kUnknown, win::HWND_TOPMOST, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE));
    EXPECT_FALSE(p.native.setForegroundWindow(kUnknown));
    EXPECT_EQ(p.native.getWindowLong(kUnknown, win::GWL_EXSTYLE), 0);
    EXPECT_EQ(p.native.getPixel(kUnknown, 0, 0), win::CLR_INVALID);
    EXPECT_EQ(p.native.regCloseKey(kUnknown), win::ERROR_INVALID_HANDLE);
    unsigned type = 0;
    unsigned size = 16;
    std::string data(16, '\0');
    EXPECT_EQ(p.native.regQueryValueEx(kUnknown, "PATH", type, data, size), win::ERROR_INVALID_HANDLE);
    Handle key = 0;
    EXPECT_EQ(
        p.native.regOpenKeyEx(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora\\No such key", 0, win::KEY_ALL_ACCESS, key),
        win::ERROR_FILE_NOT_FOUND);

    // A window goes with its controls and timers; what refers to them afterwards is harmless.
    const Handle window = p.windows.createWindow({.name = "Contract", .caption = "Contract", .clientSize = {200, 100}});
    ASSERT_NE(window, 0);
    const Handle label = p.controls.createControl(
        window, {.name = "Label", .kind = platform::ControlKind::Label, .rect = {10, 10, 80, 20}, .text = "text"});
    ASSERT_NE(label, 0);
    EXPECT_EQ(p.controls.controlText(label), "text");
    const Handle timer = p.windows.createTimer(window, 1000);
    EXPECT_NE(timer, 0);
    p.windows.destroyWindow(window);
    EXPECT_EQ(p.controls.controlText(label), "");
    p.controls.setControlText(label, "gone");
    p.windows.destroyTimer(timer);
    p.windows.destroyWindow(window);
    EXPECT_FALSE(p.windows.isVisible(window));
}

}  // namespace velmora::contract
