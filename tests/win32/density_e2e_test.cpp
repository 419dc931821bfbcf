// The program on dense screens, as a person sees it at 96, 144 and 192 DPI: each
// window's text grows with the screen, lies whole inside its control and covers
// no other; text and hotkey boxes hold their line in the middle; the picker's
// colour is the one under the pointer.
#include <cmath>
#include <map>

#include "driver.h"
#include "text_probe.h"

namespace velmora::e2e {
namespace {

constexpr const char* kOverlay = "Velmora v1.0";
constexpr const char* kPanel = "Velmora is sponsored by :>";
constexpr const char* kPicker = "Set translucency color";
constexpr const char* kAboutBox = "About Velmora";
constexpr const char* kSettingsBox = "Settings ";

// The screens' density as Control Panel sets it, which a program takes as it starts;
// the one there before comes back after.
class ScreenDensity : Owner {
public:
    explicit ScreenDensity(DWORD dpi) {
        DWORD size = sizeof previous_;
        had_ = RegGetValueA(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &previous_, &size) ==
               ERROR_SUCCESS;
        set(dpi);
    }
    ~ScreenDensity() {
        if (had_) {
            set(previous_);
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, kValue);
        }
    }

private:
    static void set(DWORD dpi) { RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof dpi); }
    static constexpr const char* kKey = "Control Panel\\Desktop";
    static constexpr const char* kValue = "LogPixels";
    DWORD previous_ = 96;
    bool had_ = false;
};

// The driver's thread sees the program's windows in the screen's own pixels, as the
// program does: it follows each screen's density.
class ScreenPixels : Owner {
public:
    ScreenPixels() : previous_(SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE)) {}
    ~ScreenPixels() {
        if (previous_ != nullptr) SetThreadDpiAwarenessContext(previous_);
    }

private:
    DPI_AWARENESS_CONTEXT previous_;
};

// Measures a window of the program through the probe, hooked into its thread for the while.
class TextProbe : Owner {
public:
    TextProbe()
        : mapping_(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeResults),
                                      kProbeMapping)),
          library_(LoadLibraryA(besideThisProgram("velmora_text_probe.dll").c_str())) {}
    ~TextProbe() {
        if (library_ != nullptr) FreeLibrary(library_);
        if (mapping_ != nullptr) CloseHandle(mapping_);
    }

    std::vector<ShownControl> measure(HWND window) const {
        std::vector<ShownControl> shown;
        // Casts through a plain function pointer: GetProcAddress cannot know the signature.
        const auto hookProc =
            reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library_, kProbeHook)));
        auto* results = static_cast<ProbeResults*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (results == nullptr || hookProc == nullptr) {
            ADD_FAILURE() << "no probe beside the tests";
            return shown;
        }
        results->count = -1;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, hookProc, library_, GetWindowThreadProcessId(window, nullptr));
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(window, RegisterWindowMessageA(kProbeMessage), 0, 0, SMTO_NORMAL, 10000, &answer);
        if (hook != nullptr) UnhookWindowsHookEx(hook);
        if (results->count >= 0) {
            shown.assign(results->controls, results->controls + results->count);
        } else {
            ADD_FAILURE() << "the probe did not measure " << windowText(window);
        }
        UnmapViewOfFile(results);
        return shown;
    }

private:
    HANDLE mapping_;
    HMODULE library_;
};

// A window as measured: its controls and the size of its client area.
struct Seen {
    std::vector<ShownControl> controls;
    SIZE client{};
};
using Measured = std::map<std::string, Seen>;  // by caption

bool overlap(const RECT& a, const RECT& b) {
    RECT both{};
    return IntersectRect(&both, &a, &b) != FALSE;
}

std::string describe(const ShownControl& c) { return std::string(c.className) + " \"" + c.text + "\""; }

int middle(LONG top, LONG bottom) { return static_cast<int>(top + bottom) / 2; }

COLORREF boxesColour(const std::vector<HWND>& boxes) {
    const auto value = [](HWND box) { return windowText(box).empty() ? -1 : std::stoi(windowText(box)); };
    return RGB(value(boxes[0]), value(boxes[1]), value(boxes[2]));
}

class DensityE2E : public ProgramTest {
protected:
    // Every window opened at that density, as a person reaches it, and measured.
    Measured measureAt(int dpi) {
        const ScreenDensity density(static_cast<DWORD>(dpi));
        seedShown(9000, 3000);
        Measured run;
        HWND overlay = startOverlay();
        if (overlay == nullptr) return run;
        const auto see = [&](const char* caption, HWND window) {
            if (window == nullptr || !waitUntil([&] { return IsWindowVisible(window) != FALSE; })) return;
            RECT client{};
            GetClientRect(window, &client);
            run[caption] = {probe.measure(window), {client.right, client.bottom}};
        };
        see(kOverlay, overlay);
        see(kPanel, program.waitForWindow(kPanel));
        press(findChild(overlay, "Set screen color"));
        HWND picker = waitForOpened(kPicker);
        see(kPicker, picker);
        if (dpi > 96 && picker != nullptr) expectPickerSamplesWhatItShows(picker);
        closeByEscape(picker);
        HWND about = openFromMenu(overlay, kAbout, kAboutBox);
        see(kAboutBox, about);
        closeByEscape(about);
        HWND settings = openFromMenu(overlay, kSettings, kSettingsBox);
        see(kSettingsBox, settings);
        if (dpi == 192 && settings != nullptr) expectInsideWorkArea(settings);
        program.stop();
        return run;
    }

    static void closeByEscape(HWND window) {
        if (window == nullptr) return;
        pressKey(window, VK_ESCAPE);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(window); })) << windowText(window);
    }

    // The spectrum drawn at the density: a click anywhere on it chooses the colour shown there.
    static void expectPickerSamplesWhatItShows(HWND picker) {
        HWND spectrum = children(picker)[0];
        std::vector<HWND> boxes;
        for (HWND c : children(children(picker)[1])) {
            if (className(c) == "Edit") boxes.push_back(c);
        }
        ASSERT_EQ(boxes.size(), 3U);
        std::sort(boxes.begin(), boxes.end(),
                  [](HWND a, HWND b) { return rectInParent(a).left < rectInParent(b).left; });
        RECT area{};
        GetClientRect(spectrum, &area);
        for (const double across : {0.1, 0.5, 0.99}) {
            for (const double down : {0.1, 0.5, 0.99}) {
                const int x = static_cast<int>(area.right * across);
                const int y = static_cast<int>(area.bottom * down);
                const COLORREF shown = screenPixel(spectrum, x, y);  // before the marker stands there
                clickAt(spectrum, x, y);
                EXPECT_TRUE(waitUntil([&] { return boxesColour(boxes) == shown; }, 3s))
                    << "at " << x << ", " << y << ": shown " << std::hex << shown << ", chosen " << boxesColour(boxes);
            }
        }
    }

    // Fitted to its work area, Settings' OK stays within reach.
    static void expectInsideWorkArea(HWND settings) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(settings, MONITOR_DEFAULTTONEAREST), &monitor);
        RECT window{};
        GetWindowRect(settings, &window);
        RECT ok{};
        GetWindowRect(findChild(settings, "&OK"), &ok);
        const RECT& work = monitor.rcWork;
        EXPECT_LE(window.bottom, work.bottom) << "Settings' bottom";
        EXPECT_TRUE(ok.top >= work.top && ok.bottom <= work.bottom && ok.left >= work.left && ok.right <= work.right)
            << "its OK button";
    }

    const ScreenPixels pixels;
    const TextProbe probe;
};

// Whole, and over no other: inside its control, and no other's text or control above it on its lines.
void expectWholeAndUncovered(const std::string& caption, const Seen& seen) {
    for (const ShownControl& c : seen.controls) {
        if (c.lineCount == 0) continue;
        EXPECT_TRUE(c.fits) << caption << ": " << describe(c) << " is cut off";
        for (const ShownControl& other : seen.controls) {
            if (&other == &c) continue;
            const bool above = other.parent == c.parent && other.zOrder < c.zOrder;
            for (int i = 0; i < c.lineCount; ++i) {
                EXPECT_FALSE(above && overlap(c.lines[i], other.frame))
                    << caption << ": " << describe(other) << " covers " << describe(c);
                for (int j = 0; j < other.lineCount && &other < &c; ++j) {
                    EXPECT_FALSE(overlap(c.lines[i], other.lines[j]))
                        << caption << ": " << describe(c) << " runs into " << describe(other);
                }
            }
        }
        // A text or hotkey box holds its line in the middle.
        const std::string kind = c.className;
        if (kind == "Edit" || kind == "msctls_hotkey32") {
            EXPECT_LE(std::abs(middle(c.client.top, c.client.bottom) - middle(c.frame.top, c.frame.bottom)), 1)
                << caption << ": " << describe(c);
            EXPECT_LE(c.client.bottom - c.client.top, c.lineHeight + 3) << caption << ": " << describe(c);
        }
    }
}

// The window's text, all told, as wide against its window as at 96 DPI, and as tall:
// the fonts grew with it. A scalable face stands in for a bitmap one, its letters a
// little wider or narrower, so each text on its own may differ more.
void expectGrown(const std::string& caption, const Seen& seen, const Seen& at96) {
    const double scale = static_cast<double>(seen.client.cx) / at96.client.cx;
    double width = 0;
    double widthAt96 = 0;
    int height = 0;
    int heightAt96 = 0;
    for (const ShownControl& c : seen.controls) {
        for (const ShownControl& before : at96.controls) {
            if (c.lineCount == 0 || describe(c) != describe(before)) continue;
            width += c.extent.cx;
            widthAt96 += before.extent.cx;
            height = std::max(height, static_cast<int>(c.extent.cy));
            heightAt96 = std::max(heightAt96, static_cast<int>(before.extent.cy));
        }
    }
    ASSERT_GT(widthAt96, 0) << caption << ": no text in common with 96 DPI";
    EXPECT_NEAR(width / widthAt96 / scale, 1.0, 0.12)
        << caption << ": its text " << width << " wide, " << widthAt96 << " at 96 DPI; the window " << scale;
    EXPECT_GE(static_cast<double>(height) / heightAt96 / scale, 0.8)
        << caption << ": its text " << height << " tall, " << heightAt96 << " at 96 DPI; the window " << scale;
}

TEST_F(DensityE2E, TextGrowsWithTheScreenAndStaysWholeInEveryWindow) {
    std::map<int, Measured> runs;
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI");
        runs[dpi] = measureAt(dpi);
        for (const char* caption : {kOverlay, kPanel, kPicker, kAboutBox, kSettingsBox}) {
            ASSERT_EQ(runs[dpi].count(caption), 1U) << caption << " was not measured";
            expectWholeAndUncovered(caption, runs[dpi][caption]);
            if (dpi > 96) expectGrown(caption, runs[dpi][caption], runs[96][caption]);
        }
    }
}

}  // namespace
}  // namespace velmora::e2e
