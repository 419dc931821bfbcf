#include "app/Module1.h"

#include "platform/winapi.h"

namespace velmora::Module1 {

namespace {
std::uint8_t toByte(std::int16_t value) {
    if (value < 0 || value > 255) throw errors::overflow();
    return static_cast<std::uint8_t>(value);
}
}  // namespace

void MakeTranslucent(toolkit::Runtime& runtime, platform::Handle hwnd, platform::Color color, std::int16_t alpha,
                     std::uint8_t flags) {
    namespace win = platform::win;
    platform::Platform& p = runtime.platform();
    try {
        const long style = p.native.getWindowLong(hwnd, win::GWL_EXSTYLE) | win::WS_EX_LAYERED;
        p.native.setWindowLong(hwnd, win::GWL_EXSTYLE, style);
        p.native.setLayeredWindowAttributes(hwnd, color, toByte(alpha), flags);
    } catch (const RuntimeError& error) {
        runtime.msgBox(error.description() + " Source : " + runtime.errorSource(error));
    }
}

void SetClickThrough(toolkit::Runtime& runtime, platform::Handle hwnd, bool through) {
    namespace win = platform::win;
    platform::NativeCalls& native = runtime.platform().native;
    const long style = native.getWindowLong(hwnd, win::GWL_EXSTYLE);
    const long wanted = through ? style | win::WS_EX_TRANSPARENT : style & ~win::WS_EX_TRANSPARENT;
    if (wanted != style) native.setWindowLong(hwnd, win::GWL_EXSTYLE, wanted);
}

void RegisterStartupEntry(toolkit::Runtime& runtime) {
    if (!runtime.platform().desktop.writeStartupEntry(runtime.platform().desktop.exePath())) {
        runtime.msgBox(kStartupEntryFailed);
    }
}

void setZOrder(toolkit::Runtime& runtime, platform::Handle hwnd, platform::Handle insertAfter, unsigned extraFlags) {
    namespace win = platform::win;
    runtime.platform().native.setWindowPos(hwnd, insertAfter, 0, 0, 0, 0,
                                           win::SWP_NOMOVE | win::SWP_NOSIZE | extraFlags);
}

}  // namespace velmora::Module1
