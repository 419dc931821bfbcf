// The Windows SDK headers, in the one order they compile in: <windows.h> first.
#pragma once

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>
// clang-format on
