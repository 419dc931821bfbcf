// The Win32 names the program and every platform share, declared once. The
// Windows platform has the SDK's own: include this before <windows.h>, whose
// macros of the same names would otherwise replace these declarations.
#pragma once

#include "platform/types.h"

namespace velmora::platform::win {

// Window styles and layered windows.
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr long WS_EX_LAYERED = 0x80000;
inline constexpr long WS_EX_TRANSPARENT = 0x20;  // beside WS_EX_LAYERED: the mouse goes to what is beneath
inline constexpr unsigned LWA_ALPHA = 2;

// SetWindowPos.
inline constexpr Handle HWND_TOPMOST = -1;
inline constexpr Handle HWND_NOTOPMOST = -2;
inline constexpr unsigned SWP_NOSIZE = 1;
inline constexpr unsigned SWP_NOMOVE = 2;
inline constexpr unsigned SWP_NOACTIVATE = 0x10;

// The notification icon and the mouse messages it reports.
inline constexpr unsigned NIM_ADD = 0;
inline constexpr unsigned NIM_DELETE = 2;
inline constexpr unsigned NIF_MESSAGE = 1;
inline constexpr unsigned NIF_ICON = 2;
inline constexpr unsigned NIF_TIP = 4;
inline constexpr unsigned WM_MOUSEMOVE = 0x200;
inline constexpr unsigned WM_LBUTTONUP = 0x202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x203;
inline constexpr unsigned WM_RBUTTONUP = 0x205;
inline constexpr unsigned WM_MBUTTONUP = 0x208;
inline constexpr unsigned WM_APP = 0x8000;
// The notification area's keyboard use: the menu key or Shift+F10, and Enter or Space.
inline constexpr unsigned WM_CONTEXTMENU = 0x7B;
inline constexpr unsigned NIN_KEYSELECT = 0x401;
// The system's own application icon, what a window without one of its own shows.
inline constexpr Handle IDI_APPLICATION = 0x7F00;

// Hotkey modifiers.
inline constexpr unsigned MOD_ALT = 1;
inline constexpr unsigned MOD_CONTROL = 2;
inline constexpr unsigned MOD_SHIFT = 4;
inline constexpr unsigned MOD_WIN = 8;

// Virtual keys; letters and digits are their own capital ASCII codes.
inline constexpr unsigned VK_PAUSE = 0x13;
inline constexpr unsigned VK_SPACE = 0x20;
inline constexpr unsigned VK_PRIOR = 0x21;
inline constexpr unsigned VK_NEXT = 0x22;
inline constexpr unsigned VK_END = 0x23;
inline constexpr unsigned VK_HOME = 0x24;
inline constexpr unsigned VK_LEFT = 0x25;
inline constexpr unsigned VK_UP = 0x26;
inline constexpr unsigned VK_RIGHT = 0x27;
inline constexpr unsigned VK_DOWN = 0x28;
inline constexpr unsigned VK_SNAPSHOT = 0x2C;
inline constexpr unsigned VK_INSERT = 0x2D;
inline constexpr unsigned VK_DELETE = 0x2E;
inline constexpr unsigned VK_F1 = 0x70;
inline constexpr unsigned VK_F24 = 0x87;

// GDI.
inline constexpr Color CLR_INVALID = 0xFFFFFFFF;

// The registry.
inline constexpr Handle HKEY_LOCAL_MACHINE = static_cast<Handle>(0x80000002LL);
inline constexpr unsigned KEY_ALL_ACCESS = 0x2003F;
inline constexpr unsigned REG_SZ = 1;
inline constexpr unsigned REG_DWORD = 4;
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_MORE_DATA = 234;

// The shell and message boxes. ShellExecute returns more than 32 when it succeeded.
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr Handle SE_ERR_NOASSOC = 31;
inline constexpr Handle kShellExecuteDone = 42;
inline constexpr int IDOK = 1;

}  // namespace velmora::platform::win
