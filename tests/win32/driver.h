// Drives the real velmora.exe from another process with public Win32 calls
// only, as a person (or an accessibility tool) could: start it, find its
// windows, press its buttons, move it, read its pixels and its settings.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::e2e {

using namespace std::chrono_literals;

// A file in the folder of the driver, where the build puts velmora.exe and the tests' helpers.
std::string besideThisProgram(const std::string& name);

// Polls until the condition holds or the time is up; the final answer is returned.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// The program's settings: HKCU\Software\VB and VBA Program Settings\velmora\config.
namespace settings {
void clear();
void seed(const std::string& key, const std::string& value);
std::optional<std::string> stored(const std::string& key);
}  // namespace settings

// What owns something outside the test (a running program, the shell's handler): never copied.
struct Owner {
    Owner() = default;
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
};

// The login entry: the value Velmora under HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
std::optional<std::string> loginEntry();

// The notification icon's menu entries, counted down from the top: About, Show, Hide, Settings, then the
// reading tools' entries (choose those by their mnemonics), Exit.
constexpr int kAbout = 1;
constexpr int kShow = 2;
constexpr int kHide = 3;
constexpr int kSettings = 4;

// One running velmora.exe; ended when this goes.
class Program : Owner {
public:
    Program();
    ~Program();

    // The velmora.exe beside the driver, unless told another.
    void setExecutable(std::string path) { executable_ = std::move(path); }
    // What its command line says after the program's name ("--settings").
    void setArguments(std::string arguments) { arguments_ = std::move(arguments); }

    // Starts it; unless told not to, waits until it is ready for input.
    void start(bool waitUntilReady = true);
    bool running() const;
    // The exit code once the process has ended within the timeout.
    std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout = 10s) const;
    void stop();

    // A top-level window of this process with that caption, waiting for it to appear.
    HWND waitForWindow(const std::string& caption, std::chrono::milliseconds timeout = 10s) const;
    HWND findWindow(const std::string& caption) const;
    // A top-level window of this process of that class (message boxes are #32770).
    HWND findWindowOfClass(const std::string& className) const;
    // Every shown top-level window of this process of that class, the topmost first.
    std::vector<HWND> shownWindowsOfClass(const std::string& className) const;
    DWORD id() const { return processId_; }
    HANDLE handle() const { return process_; }

private:
    std::string executable_;
    std::string arguments_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// A child window with that caption anywhere under the parent.
HWND findChild(HWND parent, const std::string& caption);
// Its rectangle in the client coordinates of its parent.
RECT rectInParent(HWND child);
std::string windowText(HWND hwnd);
std::string className(HWND hwnd);
// Child windows in z-order, which is the order Tab walks them.
std::vector<HWND> children(HWND parent);
// The colour on the screen at a point of the window's client area.
COLORREF screenPixel(HWND window, int clientX, int clientY);
// Moves and sizes a window as a person dragging its frame would; the window is told by messages.
void placeWindow(HWND window, int x, int y, int width, int height);
// The window that has the keyboard in the thread that owns this window.
HWND focusOf(HWND window);
// A key pressed and released where the keyboard is in that window's thread.
void pressKey(HWND window, UINT key);
// Alt and a letter, as for a mnemonic.
void typeMnemonic(HWND window, char letter);
// The notification icon's callback as the shell sends it: the mouse message in lParam.
void notifyIcon(HWND overlay, UINT mouseMessage);
// Opens the notification icon's menu and returns the menu window, or null.
HWND openIconMenu(const Program& program, HWND overlay);
// Chooses the menu entry so many steps down (separators are passed over).
void chooseMenuEntry(HWND menu, int steps);
// The text a message box shows.
std::string messageBoxText(HWND box);
// The text on the clipboard, or none.
std::optional<std::string> clipboardText();
// A mouse button pressed (and released) at a point of a window's client area.
void clickAt(HWND window, int x, int y);
// The overlay's three buttons.
struct OverlayButtons {
    HWND exit = nullptr;
    HWND colour = nullptr;
    HWND front = nullptr;
    bool found() const { return exit != nullptr && colour != nullptr && front != nullptr; }
};
OverlayButtons overlayButtons(HWND overlay);

// A click as a person makes one: the pointer moves over that point of the window's client
// area and the left button goes down and up through the system's input queue.
void clickWithPointer(HWND window, int x, int y);
// Moves the pointer to a place on the primary screen as a mouse does: the X server's pointer, and the input queue.
void movePointer(int x, int y);

// Keys pressed in that order and released the other way round, through the system's
// input queue, as on a keyboard: {VK_CONTROL, VK_MENU, 'O'} is Ctrl+Alt+O.
void pressKeys(std::initializer_list<WORD> keys);

// A window of the driver's own, shown where it is told, that counts the left clicks and
// the Return keys it gets.
class OwnWindow : Owner {
public:
    explicit OwnWindow(const RECT& where);
    ~OwnWindow();
    HWND hwnd() const { return hwnd_; }
    // Each handles what has come to the driver's windows first.
    int clicks() const;
    int returns() const;

private:
    struct Counts {
        int clicks = 0;
        int returns = 0;
    };
    HWND hwnd_ = nullptr;
    Counts counts_;
};

// The icons Wine shows in its own "Wine System Tray" window, which stands in for the
// notification area when the desktop has none: one child window per icon.
std::vector<HWND> wineTrayIcons();

// What the shell was asked to open, as the program it started for the address saw it.
struct OpenedLink {
    int show = -1;                       // the show command it was started with
    std::vector<std::string> arguments;  // the address, then any parameters
};

// While this lives, the shell opens https addresses with a recorder beside the tests
// instead of a web browser; the handler that was there before comes back after.
class LinkRecorder : Owner {
public:
    LinkRecorder();
    ~LinkRecorder();

    // Everything opened so far, oldest first.
    std::vector<OpenedLink> opened() const;

private:
    std::optional<std::string> previous_;
    std::string record_;
};

// Presses a button and returns once the program has handled it.
void press(HWND button);
// Presses a button that opens something modal: returns at once.
void pressLater(HWND button);

// Every test starts from an empty settings key and ends the program it started.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { settings::clear(); }
    void TearDown() override { program.stop(); }

    // Starts the program; its overlay window, or null when none appeared.
    HWND startOverlay();
    // Settings that show the overlay at start-up, that size in twips, at the top left.
    static void seedShown(int widthTwips, int heightTwips);
    // Chooses the notification menu's entry so many steps down; the window of that caption it opens.
    HWND openFromMenu(HWND overlay, int steps, const std::string& caption);
    // The same for the entry whose mnemonic is that letter.
    HWND openFromMenu(HWND overlay, char mnemonic, const std::string& caption);
    // The program's message box, once it shows.
    HWND waitForMessageBox();
    // The window of that caption, once it shows.
    HWND waitForOpened(const std::string& caption);

    Program program;
};

}  // namespace velmora::e2e
