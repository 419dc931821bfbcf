// The Windows SDK headers, in the one order they compile in.
//
// The program's own Win32 names (platform/winapi.h) come first: <windows.h>
// defines macros of the same names (GWL_EXSTYLE, NIM_ADD, HKEY_LOCAL_MACHINE...),
// and a winapi.h read after it would have its declarations rewritten by them and
// fail to compile. Read here, its include guard keeps any later include of it
// out; so is keys.h, which spells virtual keys by those names. Below this point
// the SDK's macros are the names this folder uses.
#pragma once

// clang-format off
#include "platform/winapi.h"
#include "platform/keys.h"
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>
// clang-format on
