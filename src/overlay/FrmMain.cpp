#include "overlay/FrmMain.h"

#include <algorithm>
#include <cmath>

#include "app/Application.h"
#include "app/Module1.h"
#include "app/numbers.h"
#include "picker/Form1.h"
#include "settings/frmSettings.h"
#include "side/Form2.h"
#include "side/frmAbout.h"
#include "tools/strength/Strength.h"

namespace velmora {

namespace win = platform::win;

namespace {
constexpr platform::Color kDefaultTint = 0x00D4C390;  // red 144, green 195, blue 212

// The largest coordinate a window system takes, in pixels.
constexpr double kPixelLimit = 32767;
// The least outer size, in twips, that shows each of the three buttons as laid
// out (the leftmost ends 4485 twips left of the right edge; all end 1055 down)
// below a caption and frame.
constexpr float kButtonsWidth = 4500;
constexpr float kButtonsHeight = 1500;
// Where the tools' entries go in the notification menu: after Settings.
constexpr std::ptrdiff_t kToolEntries = 6;
}  // namespace

FrmMain::FrmMain(Application& app)
    : toolkit::Form(app,
                    {.name = "FrmMain", .caption = "Velmora v1.0", .client = {8385, 3015}, .backColor = 0x00FF00FF}),
      cmdExit(*this, {.name = "cmdExit", .at = {6240, 120, 1815, 855}, .look = {.text = "E&xit", .tabIndex = 0}}),
      Command1(*this,
               {.name = "Command1", .at = {4320, 120, 1815, 855}, .look = {.text = "Set screen color", .tabIndex = 1}}),
      Command2(*this, {.name = "Command2",
                       .at = {2400, 120, 1815, 855},
                       .look = {.text = "Bring to front", .tabIndex = 2, .toggle = true}}),
      Timer1(*this, "Timer1", 100),
      mnuSystray(*this, "mnuSystray", "Dosen't matter",
                 {{"mnuAbout", "About", [this] { mnuAbout_Click(); }},
                  {"mnuSpacer", "-", {}},
                  {"mnuShow", "Show", [this] { mnuShow_Click(); }},
                  {"mnuHide", "Hide", [this] { mnuHide_Click(); }},
                  {"mnuSpacer1", "-", {}},
                  {"mnuSettings", "Settings", [this] { mnuSettings_Click(); }},
                  {"mnuSpacer3", "-", {}},
                  {"mnuExit", "E&xit", [this] { mnuExit_Click(); }}}),
      app_(app) {
    cmdExit.Click = [this] { cmdExit_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void FrmMain::Form_Load() {
    applyTint();
    registerNotifyIcon();
    placeSponsorPanel();
    restoreGeometry();
    geometryChanged();
    applyFrontmost();
    initFormControls();
    // With no notification area there is no icon to bring a hidden overlay back.
    if (lenientNumber(app_.store().get(keys::tint)) == 0 && !app_.notificationAreaMissing()) setVisible(false);
    // The tools apply themselves to the overlay and take the tint anew.
    for (const auto& tool : app_.readingTools()) tool->overlayLoaded();
}

void FrmMain::applyTint() {
    Store& store = app_.store();
    const std::string red = store.get(keys::red);
    const std::string green = store.get(keys::green);
    const std::string blue = store.get(keys::blue);
    if (red.empty()) {
        bXColor = kDefaultTint;
    } else {
        // Each component is kept within 0..255, so no stored value can overflow the colour.
        bXColor = static_cast<platform::Color>(colourComponent(red) + 256 * colourComponent(green) +
                                               65536 * colourComponent(blue));
    }
    setBackColor(bXColor);
    applyStrength();
}

// The strength the reader chose, 150/255 unless they chose another.
void FrmMain::applyStrength() {
    g_nTransparency = static_cast<std::int16_t>(app_.model().get(tools::kAlpha));
    flag = 2;
    Module1::MakeTranslucent(app_, hWnd(), bXColor, g_nTransparency, flag);
    app_.model().tintShown({bXColor, g_nTransparency});
}

tools::ReadingTool* FrmMain::presenter() {
    for (const auto& tool : app_.readingTools()) {
        if (tool->presentsTint()) return tool.get();
    }
    return nullptr;
}

void FrmMain::showAtStart() {
    tools::ReadingTool* tool = presenter();
    if (tool == nullptr || !tool->presentTint(true)) ShowWithoutActivating();
}

void FrmMain::toggleTint() {
    tools::ReadingTool* tool = presenter();
    if (tool != nullptr ? tool->tintPresented() : Visible()) {
        mnuHide_Click();
    } else {
        showTint(false);
    }
}

void FrmMain::openNotificationMenu() {
    app_.platform().native.setForegroundWindow(hWnd());
    // The tools' entries as they stand now, between Settings and its separator before Exit.
    auto& entries = mnuSystray.entries();
    const auto first = entries.begin() + kToolEntries;
    entries.erase(first, entries.end() - 2);
    auto at = entries.begin() + kToolEntries;
    for (const auto& tool : app_.readingTools()) {
        for (auto& entry : tool->menuEntries()) at = entries.insert(at, std::move(entry)) + 1;
    }
    PopupMenu(mnuSystray);
}

// Delete first, then add: a second run of the load handler never leaves two icons.
void FrmMain::registerNotifyIcon() {
    nid_.cbSize = modSystray::kRecordSize;
    nid_.hWnd = hWnd();
    nid_.uID = 1;
    nid_.uFlags = win::NIF_MESSAGE | win::NIF_ICON | win::NIF_TIP;
    nid_.uCallbackMessage = modSystray::kCallbackMessage;
    nid_.hIcon = Icon();
    nid_.szTip = modSystray::tipField("Velmora");
    platform::Platform& p = app_.platform();
    p.native.shellNotifyIcon(win::NIM_DELETE, modSystray::toShell(nid_));
    iconAdded_ = p.native.shellNotifyIcon(win::NIM_ADD, modSystray::toShell(nid_)) || iconAdded_;
}

void FrmMain::removeNotifyIcon() {
    if (!iconAdded_) return;
    app_.platform().native.shellNotifyIcon(win::NIM_DELETE, modSystray::toShell(nid_));
    iconAdded_ = false;
}

// Reading the panel's width loads it when needed, and its own load places and shows it.
void FrmMain::placeSponsorPanel() {
    Form2& panel = app_.form<Form2>();
    panel.placeInCorner();
    panel.Load();
    panel.Show();
}

// Runs the toggle only when the overlay is not topmost yet, so a colour change
// made while it is topmost keeps the person's choice.
void FrmMain::applyFrontmost() {
    if (lenientNumber(app_.store().get(keys::frontmost)) == 1 && Command2.Caption() == "Bring to front") {
        Command2_Click();
    }
}

void FrmMain::restoreGeometry() {
    const double limit = kPixelLimit * app_.twipsPerPixelX();
    // A stored value that is not a number a window can take never reaches the window.
    const auto place = [limit](const std::string& text) {
        const float value = toSingle(lenientNumber(text));
        if (!std::isfinite(value)) return 0.0F;
        return static_cast<float>(std::clamp<double>(value, -limit, limit));
    };
    Store& store = app_.store();
    const std::string width = store.get(keys::width);
    const std::string height = store.get(keys::height);
    const std::string top = store.get(keys::top);
    const std::string left = store.get(keys::left);
    // Nothing stored yet: a first start shows the whole overlay, buttons and all,
    // at its designer size in the middle of the primary screen.
    // The timer stores only what then differs from this, as writing every tick would.
    lastSaved_ = {width, height, top, left};
    if (width.empty() && height.empty()) {
        centreOnPrimaryScreen();
        return;
    }
    // A size that cannot be read, or too small for the buttons, keeps the size the
    // window has (its design's on a fresh load) rather than collapsing it.
    const float w = usableSize(width, true).value_or(Width());
    const float h = usableSize(height, false).value_or(Height());
    // All four in one move: a window system places it once.
    Move(place(left), place(top), std::min(w, static_cast<float>(limit)), std::min(h, static_cast<float>(limit)));
    fitOnDesktop();
    keepOnScreen();
}

std::optional<float> FrmMain::usableSize(const std::string& text, bool width) {
    const float value = toSingle(lenientNumber(text));
    if (!std::isfinite(value) || value < (width ? kButtonsWidth : kButtonsHeight)) return std::nullopt;
    return value;
}

platform::Rect FrmMain::pixelRect() {
    const double tpp = app_.twipsPerPixelX();
    return {toolkit::twipsToPixels(Left(), tpp), toolkit::twipsToPixels(Top(), tpp),
            toolkit::twipsToPixels(Width(), tpp), toolkit::twipsToPixels(Height(), tpp)};
}

void FrmMain::centreOnPrimaryScreen() {
    const auto areas = app_.platform().desktop.workAreas();
    if (areas.empty()) return;
    const platform::Rect& area = areas.front();
    const platform::Rect r = pixelRect();
    const double tpp = app_.twipsPerPixelX();
    setTop(static_cast<float>((area.top + std::max(0, area.height - r.height) / 2) * tpp));
    setLeft(static_cast<float>((area.left + std::max(0, area.width - r.width) / 2) * tpp));
}

// A size larger than every screen together covers the panels and costs memory
// for nothing: it shrinks to the desktop, which it then spans from its edge.
void FrmMain::fitOnDesktop() {
    const platform::Rect desk = app_.platform().desktop.desktopArea();
    if (desk.width <= 0 || desk.height <= 0) return;
    const double tpp = app_.twipsPerPixelX();
    const platform::Rect r = pixelRect();
    if (r.width > desk.width) {
        setWidth(static_cast<float>(desk.width * tpp));
        setLeft(static_cast<float>(desk.left * tpp));
    }
    if (r.height > desk.height) {
        setHeight(static_cast<float>(desk.height * tpp));
        setTop(static_cast<float>(desk.top * tpp));
    }
}

// A window whose title bar a person cannot take hold of is out of reach: it moves
// the least that brings a grip of its title bar onto a work area, keeping its size.
void FrmMain::keepOnScreen() {
    const auto areas = app_.platform().desktop.workAreas();
    if (areas.empty()) return;
    const platform::Rect r = pixelRect();
    // Measured at 96 dots per inch: the caption's height, its buttons at the right
    // end, and the stretch of the rest a person needs to take hold of it.
    const double scale = 15.0 / app_.twipsPerPixelX();
    const int caption = static_cast<int>(std::lround(30 * scale));
    const int buttons = static_cast<int>(std::lround(140 * scale));
    const int grip = static_cast<int>(std::lround(100 * scale));
    const int span = r.width - buttons >= grip ? r.width - buttons : r.width;
    const int need = std::min(grip, span);
    std::optional<platform::Point> best;
    for (const auto& a : areas) {
        int dx = 0;
        if (r.left + span < a.left + need) {
            dx = a.left + need - (r.left + span);
        } else if (r.left > a.left + a.width - need) {
            dx = a.left + a.width - need - r.left;
        }
        const int dy = std::clamp(r.top, a.top, std::max(a.top, a.top + a.height - caption)) - r.top;
        if (!best || std::abs(dx) + std::abs(dy) < std::abs(best->x) + std::abs(best->y)) best = {dx, dy};
    }
    if (best->x == 0 && best->y == 0) return;
    const double tpp = app_.twipsPerPixelX();
    if (best->y != 0) setTop(static_cast<float>((r.top + best->y) * tpp));
    if (best->x != 0) setLeft(static_cast<float>((r.left + best->x) * tpp));
}

void FrmMain::initFormControls() {
    cmdExit.setLeft(Width() - 2300);
    cmdExit.setTop(200);
    Command1.setLeft(cmdExit.Left() - 2000);
    Command1.setTop(cmdExit.Top());
    Command2.setLeft(Command1.Left() - 2000);
    Command2.setTop(Command1.Top());
}

void FrmMain::Form_Resize() {
    initFormControls();
    geometryChanged();
}

void FrmMain::Form_Unload(int& cancel) {
    cancel = -1;
    setVisible(false);
}

// Writes only what changed since the last tick: the store ends up holding what
// writing every tick would hold, without ten writes a second while nothing moves.
void FrmMain::Timer1_Timer() {
    const char* names[] = {keys::width, keys::height, keys::top, keys::left};
    const float values[] = {Width(), Height(), Top(), Left()};
    bool allSaved = true;
    for (std::size_t i = 0; i < 4; ++i) {
        std::string text = numberText(values[i]);
        if (lastSaved_[i] == text) continue;
        if (app_.saveSetting(names[i], text)) {
            lastSaved_[i] = std::move(text);
        } else {
            allSaved = false;  // tried again on the next tick
        }
    }
    // Nothing left to write: no tick until the overlay moves or changes size again.
    if (allSaved) Timer1.setEnabled(false);
}

// A move or a resize starts the timer that stores the geometry.
void FrmMain::geometryChanged() { Timer1.setEnabled(true); }

void FrmMain::Form_Moved() { geometryChanged(); }

void FrmMain::Command1_Click() {
    Form1& picker = app_.form<Form1>();
    picker.Show();
    Module1::setZOrder(app_, picker.hWnd(), win::HWND_NOTOPMOST);
}

void FrmMain::Command2_Click() {
    if (Command2.Caption() == "Bring to front") {
        Module1::setZOrder(app_, hWnd(), win::HWND_TOPMOST);
        Module1::setZOrder(app_, app_.form<Form2>().hWnd(), win::HWND_TOPMOST);
        showFrontmost(true);
        app_.saveSetting(keys::frontmost, "1");
    } else {
        showFrontmost(false);
        Module1::setZOrder(app_, hWnd(), win::HWND_NOTOPMOST);
        app_.form<Form1>().ZOrder();
        app_.saveSetting(keys::frontmost, "0");
    }
}

// The caption is the toggle's state; the button shows it pressed as well, which
// is how a screen reader tells that the overlay is on top.
void FrmMain::showFrontmost(bool on) {
    Command2.setCaption(on ? "Set to normal" : "Bring to front");
    Command2.setPressed(on);
}

void FrmMain::reapplyFrontmost(bool activate) {
    const unsigned keepFocus = activate ? 0 : win::SWP_NOACTIVATE;
    if (lenientNumber(app_.store().get(keys::frontmost)) != 1) {
        showFrontmost(false);
        Module1::setZOrder(app_, hWnd(), win::HWND_NOTOPMOST, keepFocus);
    } else {
        Module1::setZOrder(app_, hWnd(), win::HWND_TOPMOST, keepFocus);
        showFrontmost(true);
    }
}

// The icon's own callback: a double-click restores the overlay, a right-click
// opens the menu; everything else is ignored.
void FrmMain::Form_NotifyIcon(unsigned code) {
    if (code == win::WM_LBUTTONDBLCLK) {
        bringBackFromTools();
        if (tools::ReadingTool* tool = presenter(); tool != nullptr && tool->presentTint(true)) return;
        setWindowState(0);
        app_.platform().native.setForegroundWindow(hWnd());
        Show();
    } else if (code == win::WM_RBUTTONUP || code == win::WM_CONTEXTMENU || code == win::NIN_KEYSELECT) {
        // The notification area's keyboard use (Enter, Space, the menu key) opens the same menu.
        openNotificationMenu();
    }
}

void FrmMain::mnuAbout_Click() { app_.form<frmAbout>().Show(); }

void FrmMain::mnuShow_Click() { showTint(true); }

// Always a way back to a tint the tools have made hard to reach (clicks through it).
void FrmMain::bringBackFromTools() {
    for (const auto& tool : app_.readingTools()) tool->tintBroughtBack();
}

void FrmMain::showTint(bool activate) {
    bringBackFromTools();
    if (tools::ReadingTool* tool = presenter(); tool != nullptr && tool->presentTint(true)) {
        app_.form<Form2>().Show();
        return;
    }
    if (activate) {
        setVisible(true);
        Show();
    } else {
        ShowWithoutActivating();
    }
    reapplyFrontmost(activate);
    app_.form<Form2>().Show();
}

void FrmMain::mnuHide_Click() {
    setVisible(false);
    if (tools::ReadingTool* tool = presenter()) tool->presentTint(false);
}

void FrmMain::mnuSettings_Click() {
    frmSettings& settings = app_.form<frmSettings>();
    settings.Show();
    Module1::setZOrder(app_, settings.hWnd(), win::HWND_TOPMOST);
}

// A start from now on runs: the windows going away can take seconds (under Wine, each
// waits for a window manager that may never answer), so the one running copy goes first.
void FrmMain::mnuExit_Click() {
    app_.platform().desktop.leavePrimaryInstance();
    Unload();
    app_.form<Form1>().Unload();
    app_.end();
}

void FrmMain::cmdExit_Click() {
    app_.platform().desktop.leavePrimaryInstance();
    app_.form<Form1>().Unload();
    app_.form<Form2>().Unload();
    app_.form<frmAbout>().Unload();
    Unload();
    app_.end();
}

}  // namespace velmora
