// The Windows platform's controls inside one process under Wine: clicks, keys,
// whole numbers, pictures, sliders, hotkey boxes, labels, and what screen readers
// hear of them.
// clang-format off
#include "platform_fixture.h"
#include <oleacc.h>
// clang-format on

namespace velmora::platform::win32 {
namespace {

TEST_F(PlatformTest, ControlsReportClicksTheWayTheProgramExpects) {
    const Handle w = platform->windows.createWindow(spec("Controls"));
    const Handle button =
        platform->controls.createControl(w, control(ControlKind::CommandButton, "&Go", {10, 10, 80, 24}, 0));
    const Handle box = platform->controls.createControl(w, control(ControlKind::CheckBox, "Tick", {10, 40, 80, 24}, 1));
    const Handle label = platform->controls.createControl(w, control(ControlKind::Label, "Link", {10, 70, 80, 24}));
    const Handle edit = platform->controls.createControl(w, control(ControlKind::TextBox, "12", {10, 100, 80, 24}, 2));
    ControlSpec t = control(ControlKind::CommandButton, "Bring to front", {100, 10, 80, 24}, 3);
    t.toggle = true;
    const Handle toggle = platform->controls.createControl(w, t);
    platform->windows.setVisible(w, true);

    // A toggle shows its state pressed, as a check box that looks like a button, which the program sets.
    EXPECT_EQ(GetWindowLongA(hwnd(toggle), GWL_STYLE) & (BS_PUSHLIKE | BS_TYPEMASK), BS_PUSHLIKE | BS_CHECKBOX);
    SendMessageA(hwnd(toggle), BM_CLICK, 0, 0);
    EXPECT_EQ(platform->controls.checkValue(toggle), 0) << "a click is only reported";
    platform->controls.setCheckValue(toggle, 1);
    EXPECT_EQ(SendMessageA(hwnd(toggle), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(platform->controls.checkValue(toggle), 1);

    SendMessageA(hwnd(button), BM_CLICK, 0, 0);
    SendMessageA(hwnd(box), BM_CLICK, 0, 0);
    std::vector<int> valuesSeen;
    recorder.react = [&](const Event& e) {
        if (e.target == box) valuesSeen.push_back(platform->controls.checkValue(box));
    };
    SendMessageA(hwnd(box), BM_CLICK, 0, 0);
    platform->controls.setCheckValue(box, 2);
    SendMessageA(hwnd(box), BM_CLICK, 0, 0);
    SendMessageA(hwnd(label), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(hwnd(label), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(hwnd(edit), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(hwnd(edit), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    pump();

    std::vector<Handle> clicked;
    for (const auto& e : eventsOf(EventKind::Click)) clicked.push_back(e.target);
    EXPECT_EQ(clicked, (std::vector<Handle>{toggle, button, box, box, box, label, edit}));
    EXPECT_EQ(valuesSeen, (std::vector<int>{0, 1})) << "a box toggles before it reports; greyed becomes ticked";
    EXPECT_EQ(platform->controls.controlText(edit), "12");
    platform->controls.setControlText(edit, "255");
    EXPECT_EQ(platform->controls.controlText(edit), "255");
}

TEST_F(PlatformTest, AWholeNumberBoxTakesNothingElseTypedOrPasted) {
    const Handle w = platform->windows.createWindow(spec("Numbers"));
    ControlSpec c = control(ControlKind::TextBox, "12", {10, 10, 60, 24}, 0);
    c.wholeNumberMax = 255;
    const Handle handle = platform->controls.createControl(w, c);
    const HWND box = hwnd(handle);
    const auto text = [&] { return platform->controls.controlText(handle); };
    EXPECT_NE(GetWindowLongA(box, GWL_STYLE) & ES_NUMBER, 0);
    const auto type = [&](char key) { SendMessageA(box, WM_CHAR, static_cast<WPARAM>(key), 1); };
    const auto paste = [&](const std::string& text) {
        platform->desktop.clipboardSetText(text);
        SendMessageA(box, EM_SETSEL, 0, -1);
        SendMessageA(box, WM_PASTE, 0, 0);
    };
    SendMessageA(box, EM_SETSEL, 2, 2);
    type('x');
    type('5');
    EXPECT_EQ(text(), "125");
    type('0');
    EXPECT_EQ(text(), "125") << "three digits at most";
    paste("4x");
    EXPECT_EQ(text(), "125") << "pasted letters";
    paste("256");
    EXPECT_EQ(text(), "125") << "past the maximum";
    paste("-1");
    EXPECT_EQ(text(), "125");
    paste("007");
    EXPECT_EQ(text(), "007");
    SendMessageA(box, EM_SETSEL, 0, -1);
    type('\b');
    EXPECT_EQ(text(), "") << "emptied, to type anew";
}

// What a screen reader hears of a window through Microsoft Active Accessibility.
struct Heard {
    std::string name;
    long role = 0;
};

Heard heard(HWND hwnd) {
    Heard h;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return h;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        for (const WCHAR* c = name; *c != 0; ++c) h.name += static_cast<char>(*c);
    }
    SysFreeString(name);
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) h.role = role.lVal;
    object->Release();
    return h;
}

TEST_F(PlatformTest, ScreenReadersHearTheNamesOfControlsWhoseTextSaysNothing) {
    const Handle w = platform->windows.createWindow(spec("Set translucency color"));
    ControlSpec picture = control(ControlKind::PictureBox, "", {10, 10, 40, 40}, 0);
    picture.accessibleName = "Colour spectrum";
    picture.picture = {2, 2, std::vector<Color>(4, 0x00336699)};
    const HWND spectrum = hwnd(platform->controls.createControl(w, picture));
    const Handle frame = platform->controls.createControl(w, control(ControlKind::Frame, "", {0, 60, 300, 60}, 1));
    std::vector<HWND> boxes;
    for (const char* name : {"Red", "Green", "Blue"}) {
        ControlSpec box = control(ControlKind::TextBox, "", {10 + 50 * static_cast<int>(boxes.size()), 10, 40, 20},
                                  2 + static_cast<int>(boxes.size()));
        box.accessibleName = name;
        box.accessibleDescription = "A whole number from 0 to 255";
        boxes.push_back(hwnd(platform->controls.createControl(frame, box)));
    }
    ControlSpec swatch = control(ControlKind::Label, "", {170, 10, 17, 17});
    swatch.accessibleName = "Chosen colour";
    swatch.backColor = 0x000000FF;
    const Handle swatchHandle = platform->controls.createControl(frame, swatch);
    platform->controls.setAccessibleDescription(swatchHandle, "Red 255, green 0, blue 0");
    platform->windows.setVisible(w, true);

    EXPECT_EQ(heard(hwnd(w)).name, "Set translucency color");
    EXPECT_EQ(heard(hwnd(w)).role, ROLE_SYSTEM_CLIENT) << "a window, not a filler";
    EXPECT_EQ(heard(spectrum).name, "Colour spectrum");
    EXPECT_EQ(heard(boxes[0]).name, "Red");
    EXPECT_EQ(heard(boxes[1]).name, "Green");
    EXPECT_EQ(heard(boxes[2]).name, "Blue");
    EXPECT_EQ(heard(boxes[2]).role, ROLE_SYSTEM_TEXT);
    EXPECT_EQ(heard(hwnd(swatchHandle)).name, "Chosen colour");
    // The names stay unseen: the swatch shows its colour only, and Tab still walks the boxes.
    UpdateWindow(hwnd(w));
    WindowDC shown(hwnd(swatchHandle));
    EXPECT_EQ(GetPixel(shown.get(), 7, 7), 0x000000FFU);
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), spectrum, FALSE), boxes[0]);
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), boxes[0], FALSE), boxes[1]);
}

TEST_F(PlatformTest, TabEnterEscapeAndMnemonicsWorkInEveryWindow) {
    const Handle w = platform->windows.createWindow(spec("Keys"));
    ControlSpec ok = control(ControlKind::CommandButton, "&OK", {10, 10, 80, 24}, 2);
    ok.isDefault = true;
    ControlSpec cancel = control(ControlKind::CommandButton, "Cancel", {100, 10, 80, 24}, 0);
    cancel.isCancel = true;
    // Created out of order: Tab follows the tab index, not the order of creation.
    const Handle okButton = platform->controls.createControl(w, ok);
    const Handle cancelButton = platform->controls.createControl(w, cancel);
    const Handle edit = platform->controls.createControl(w, control(ControlKind::TextBox, "", {10, 40, 80, 24}, 1));
    const Handle link = platform->controls.createControl(w, control(ControlKind::Label, "a link", {10, 70, 80, 24}, 3));
    const Handle label = platform->controls.createControl(w, control(ControlKind::Label, "text", {10, 100, 80, 24}));
    platform->windows.setVisible(w, true);
    SetForegroundWindow(hwnd(w));
    pump();
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), nullptr, FALSE), hwnd(cancelButton));
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), hwnd(cancelButton), FALSE), hwnd(edit));
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), hwnd(edit), FALSE), hwnd(okButton));
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), hwnd(okButton), FALSE), hwnd(link)) << "a label with a tab stop is a link";
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), hwnd(link), FALSE), hwnd(cancelButton)) << "a plain label is no stop";
    EXPECT_EQ(GetWindowLongA(hwnd(label), GWL_STYLE) & WS_TABSTOP, 0);

    recorder.react = [&](const Event& e) {
        if (e.kind == EventKind::Click) platform->windows.quit(e.target == okButton ? 1 : e.target == link ? 3 : 2);
    };
    SetFocus(hwnd(edit));
    PostMessageA(hwnd(edit), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(runLoop(), 1) << "Enter presses the default button";
    PostMessageA(hwnd(edit), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(runLoop(), 2) << "Escape presses the cancel button";
    PostMessageA(hwnd(edit), WM_SYSCHAR, 'o', 1 | (1 << 29));
    EXPECT_EQ(runLoop(), 1) << "Alt+O presses &OK";
    SetFocus(hwnd(cancelButton));
    PostMessageA(hwnd(cancelButton), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(runLoop(), 2) << "Enter presses the focused button";
    SetFocus(hwnd(link));
    PostMessageA(hwnd(link), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(runLoop(), 3) << "Enter follows a focused link";
    PostMessageA(hwnd(link), WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_EQ(runLoop(), 3) << "and so does Space";
    PostMessageA(hwnd(link), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 5));
    PostMessageA(hwnd(link), WM_LBUTTONUP, 0, MAKELPARAM(3, 5));
    EXPECT_EQ(runLoop(), 3) << "and a click on it";
    EXPECT_EQ(eventsOf(EventKind::Click).size(), 7U) << "each press and follow once";

    // With no cancel button, Escape closes a window that asks for it, as its close box does.
    recorder.react = nullptr;
    WindowSpec closing = spec("Closes on Escape");
    closing.closeOnEscape = true;
    const std::vector<Handle> others{platform->windows.createWindow(closing),
                                     platform->windows.createWindow(spec("Stays"))};
    for (const Handle other : others) {
        const Handle box =
            platform->controls.createControl(other, control(ControlKind::TextBox, "", {10, 10, 80, 24}, 0));
        platform->windows.setVisible(other, true);
        EXPECT_EQ(GetFocus(), hwnd(box)) << "shown, a window has the keyboard on its first control";
        PostMessageA(hwnd(box), WM_KEYDOWN, VK_ESCAPE, 1);
        platform->windows.quit(0);
        platform->windows.run();
    }
    ASSERT_EQ(eventsOf(EventKind::CloseRequest).size(), 1U);
    EXPECT_EQ(eventsOf(EventKind::CloseRequest)[0].target, others[0]);
}

TEST_F(PlatformTest, PictureBoxesShowTheirPictureAndReportTheMouse) {
    const Handle w = platform->windows.createWindow(spec("Picture"));
    ControlSpec p = control(ControlKind::PictureBox, "", {10, 10, 6, 6}, 0);
    p.border = true;
    p.picture = {4, 4, std::vector<Color>(16, 0x00336699)};
    p.picture.pixels[5] = 0x00010203;  // x 1, y 1
    const Handle picture = platform->controls.createControl(w, p);
    const Handle marker = platform->controls.createControl(picture, control(ControlKind::Shape, "", {0, 0, 3, 3}));
    EXPECT_NE(marker, 0);

    // Sampled from the picture itself, hidden or covered.
    const Handle dc = platform->controls.pictureDC(picture);
    EXPECT_EQ(platform->native.getPixel(dc, 1, 1), 0x00010203U);
    EXPECT_EQ(platform->native.getPixel(dc, 0, 0), 0x00336699U);
    EXPECT_EQ(platform->native.getPixel(dc, 9, 9), CLR_INVALID);
    RECT client{};
    GetClientRect(hwnd(picture), &client);
    EXPECT_EQ(client.right, 4) << "a one-pixel border";

    SendMessageA(hwnd(picture), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(2, 3));
    SendMessageA(hwnd(picture), WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(static_cast<WORD>(-4), 9));
    SendMessageA(hwnd(picture), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 1));
    const auto downs = eventsOf(EventKind::MouseDown);
    const auto moves = eventsOf(EventKind::MouseMove);
    ASSERT_EQ(downs.size(), 2U);
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(downs[0].target, picture);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_EQ(downs[0].shift, 2);
    EXPECT_EQ(downs[0].x, 2);
    EXPECT_EQ(downs[0].y, 3);
    EXPECT_EQ(moves[0].button, 3) << "both buttons held";
    EXPECT_EQ(moves[0].x, -4) << "dragged past the left edge";
    EXPECT_EQ(downs[1].button, 2);

    // With a tab stop it takes the keyboard, shows it has it, and hears the arrow keys.
    const Handle after = platform->controls.createControl(w, control(ControlKind::TextBox, "", {30, 10, 40, 20}, 1));
    EXPECT_EQ(GetNextDlgTabItem(hwnd(w), nullptr, FALSE), hwnd(picture));
    platform->windows.setVisible(w, true);
    EXPECT_EQ(GetFocus(), hwnd(picture)) << "its first control";
    // The right-hand column, which the marker does not cover.
    const auto edge = [&] {
        RedrawWindow(hwnd(picture), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        WindowDC shown(hwnd(picture));
        std::vector<COLORREF> column;
        for (int y = 0; y < 4; ++y) column.push_back(GetPixel(shown.get(), 3, y));
        return column;
    };
    const std::vector<COLORREF> plain(4, 0x00336699);
    EXPECT_NE(edge(), plain) << "a focus mark";
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(hwnd(picture), WM_KEYDOWN, VK_LEFT, 1);
    PostMessageA(hwnd(picture), WM_KEYDOWN, VK_DOWN, 1);
    platform->windows.quit(0);
    platform->windows.run();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    const auto pressed = eventsOf(EventKind::KeyDown);
    ASSERT_EQ(pressed.size(), 2U) << "the arrows stay with the picture";
    EXPECT_EQ(pressed[0].target, picture);
    EXPECT_EQ(pressed[0].code, static_cast<unsigned>(VK_LEFT));
    EXPECT_EQ(pressed[0].shift, 1);
    EXPECT_EQ(pressed[1].code, static_cast<unsigned>(VK_DOWN));
    EXPECT_EQ(GetFocus(), hwnd(picture));
    SetFocus(hwnd(after));
    EXPECT_EQ(edge(), plain) << "no mark without the keyboard";
}

// Holds the modifiers down, as far as the receiving controls can tell, until it goes.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<BYTE> keys) {
        GetKeyboardState(state_);
        BYTE held[256];
        std::copy(std::begin(state_), std::end(state_), held);
        for (const BYTE k : keys) held[k] = 0x80;
        SetKeyboardState(held);
    }
    ~HeldKeys() { SetKeyboardState(state_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE state_[256] = {};
};

TEST_F(PlatformTest, SlidersHotkeyBoxesAndTextBoxesReportOnlyWhatAPersonChanged) {
    const Handle w = platform->windows.createWindow(spec("Reading tools"));
    ControlSpec s = control(ControlKind::Slider, "", {10, 10, 150, 30}, 0);
    s.minimum = 10;
    s.maximum = 100;
    const Handle slider = platform->controls.createControl(w, s);
    const Handle box = platform->controls.createControl(w, control(ControlKind::HotkeyBox, "", {10, 50, 150, 24}, 1));
    const Handle edit = platform->controls.createControl(w, control(ControlKind::TextBox, "48", {10, 80, 60, 24}, 2));
    const auto changes = [&](Handle h) {
        return std::count_if(recorder.events.begin(), recorder.events.end(),
                             [h](const Event& e) { return e.kind == EventKind::Change && e.target == h; });
    };

    EXPECT_EQ(platform->controls.checkValue(slider), 10) << "at its minimum";
    platform->controls.setCheckValue(slider, 100);
    EXPECT_EQ(SendMessageA(hwnd(slider), TBM_GETPOS, 0, 0), 100);
    platform->controls.setCheckValue(slider, 500);
    EXPECT_EQ(platform->controls.checkValue(slider), 100) << "kept within its range";
    SendMessageA(hwnd(slider), WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(changes(slider), 0) << "set by the program, or pushed past its end";
    SendMessageA(hwnd(slider), WM_KEYDOWN, VK_LEFT, 1);
    SendMessageA(hwnd(slider), WM_KEYUP, VK_LEFT, 1);
    EXPECT_EQ(platform->controls.checkValue(slider), 99);
    EXPECT_EQ(changes(slider), 1) << "moved by a person";

    platform->controls.setControlText(box, "ctrl+alt+pgup");
    EXPECT_EQ(platform->controls.controlText(box), "Ctrl+Alt+PgUp");
    EXPECT_EQ(SendMessageA(hwnd(box), HKM_GETHOTKEY, 0, 0),
              MAKEWORD(VK_PRIOR, HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT));
    platform->controls.setControlText(box, "Ctrl+Nothing");
    EXPECT_EQ(platform->controls.controlText(box), "") << "no key: none";
    EXPECT_EQ(SendMessageA(hwnd(box), HKM_GETHOTKEY, 0, 0), 0);
    {
        const HeldKeys held{VK_CONTROL, VK_MENU};
        SendMessageA(hwnd(box), WM_KEYDOWN, VK_CONTROL, 1);
        SendMessageA(hwnd(box), WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 29));
        EXPECT_EQ(changes(box), 0) << "on the way to a key";
        SendMessageA(hwnd(box), WM_SYSKEYDOWN, 'R', 1 | (1 << 29));
    }
    EXPECT_EQ(platform->controls.controlText(box), "Ctrl+Alt+R");
    EXPECT_EQ(changes(box), 1);
    SendMessageA(hwnd(box), WM_KEYDOWN, VK_BACK, 1);
    EXPECT_EQ(platform->controls.controlText(box), "") << "Backspace clears it";
    EXPECT_EQ(SendMessageA(hwnd(box), HKM_GETHOTKEY, 0, 0), 0);
    EXPECT_EQ(changes(box), 2);

    platform->controls.setControlText(edit, "120");
    EXPECT_EQ(changes(edit), 0);
    SendMessageA(hwnd(edit), WM_CHAR, '0', 1);
    EXPECT_EQ(changes(edit), 1);
}

TEST_F(PlatformTest, ALabelNamesTheControlAfterItAndItsMnemonicLeadsThere) {
    const Handle w = platform->windows.createWindow(spec("Settings"));
    const Handle frame =
        platform->controls.createControl(w, control(ControlKind::Frame, "Reading tools", {0, 0, 300, 200}, 0));
    const auto labelFor = [&](const char* text, const char* name, int y) {
        ControlSpec l = control(ControlKind::Label, text, {10, y, 100, 20});
        l.labelFor = name;
        return platform->controls.createControl(frame, l);
    };
    const auto named = [&](ControlKind kind, const char* name, int y, int tabIndex, const char* accessibleName = "") {
        ControlSpec c = control(kind, "", {120, y, 150, 24}, tabIndex);
        c.name = name;
        c.accessibleName = accessibleName;
        return platform->controls.createControl(frame, c);
    };
    // Created as the settings dialog makes them: each label first, a plain label between.
    const Handle strength = labelFor("&Strength:", "sldStrength", 20);
    const Handle slider = named(ControlKind::Slider, "sldStrength", 20, 1, "Strength");
    platform->controls.createControl(frame, control(ControlKind::Label, "59%", {280, 20, 20, 20}));
    const Handle keyLabel = labelFor("&Tint on or off:", "hkTint", 60);
    const Handle box = named(ControlKind::HotkeyBox, "hkTint", 60, 2);
    const Handle heightLabel = labelFor("Ruler &height:", "txtHeight", 100);
    const Handle height = named(ControlKind::TextBox, "txtHeight", 100, 3);
    EXPECT_EQ(GetWindow(hwnd(slider), GW_HWNDPREV), hwnd(strength));
    EXPECT_EQ(GetWindow(hwnd(box), GW_HWNDPREV), hwnd(keyLabel));
    EXPECT_EQ(GetWindow(hwnd(height), GW_HWNDPREV), hwnd(heightLabel));
    EXPECT_EQ(heard(hwnd(frame)).name, "Reading tools");
    EXPECT_EQ(heard(hwnd(slider)).name, "Strength");
    EXPECT_EQ(heard(hwnd(box)).name, "Tint on or off:") << "its label's";
    EXPECT_EQ(heard(hwnd(height)).name, "Ruler height:");

    platform->windows.setVisible(w, true);
    platform->controls.setControlText(box, "Ctrl+Alt+O");
    SetFocus(hwnd(box));
    {
        // In a hotkey box Alt and a letter alone is still a mnemonic, not a key for it.
        const HeldKeys held{VK_MENU};
        PostMessageA(hwnd(box), WM_SYSKEYDOWN, VK_MENU, 1 | (1 << 29));
        PostMessageA(hwnd(box), WM_SYSKEYDOWN, 'S', 1 | (1 << 29));
        PostMessageA(hwnd(box), WM_SYSCHAR, 's', 1 | (1 << 29));
        platform->windows.quit(0);
        platform->windows.run();
    }
    EXPECT_EQ(GetFocus(), hwnd(slider)) << "Alt+S";
    EXPECT_EQ(platform->controls.controlText(box), "Ctrl+Alt+O");
    EXPECT_EQ(SendMessageA(hwnd(box), HKM_GETHOTKEY, 0, 0), MAKEWORD('O', HOTKEYF_CONTROL | HOTKEYF_ALT))
        << "it shows its key again, not the Alt left half pressed";
    PostMessageA(hwnd(slider), WM_SYSCHAR, 'h', 1 | (1 << 29));
    platform->windows.quit(0);
    platform->windows.run();
    EXPECT_EQ(GetFocus(), hwnd(height)) << "Alt+H";
    EXPECT_TRUE(eventsOf(EventKind::Change).empty());
}

}  // namespace
}  // namespace velmora::platform::win32
