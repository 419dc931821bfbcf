// The least a Windows program like Velmora does: one translucent layered
// window, a notification icon, and a 100 ms timer that keeps the window's
// place in the registry. tools/bench-win32 sets velmora.exe beside it.
// "--hidden" starts it with only its icon, as Velmora starts with its tint put away.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>

namespace {

constexpr char kCaption[] = "Bare baseline";
constexpr char kStoreKey[] = "Software\\Velmora bench\\bare";
constexpr UINT kIconMessage = WM_APP + 1;
constexpr UINT_PTR kTimer = 1;
constexpr const char* kNames[] = {"left", "top", "width", "height"};

using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)>;
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, decltype(&DeleteObject)>;

Key openStore() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    return {key, &RegCloseKey};
}

int storedNumber(HKEY key, const char* name, int fallback) {
    char text[32] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(key, nullptr, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return fallback;
    return std::atoi(text);
}

struct Bare {
    Key store{nullptr, &RegCloseKey};
    int saved[4] = {};  // what the registry holds, as kNames orders it
    NOTIFYICONDATAA icon{};
};
Bare* g_bare = nullptr;

// Writes only what changed since the last tick.
void storePlace(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const int now[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    for (int i = 0; i < 4; ++i) {
        if (now[i] == g_bare->saved[i]) continue;
        char text[16];
        const int length = wsprintfA(text, " %d", now[i]);
        RegSetValueExA(g_bare->store.get(), kNames[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>(length + 1));
        g_bare->saved[i] = now[i];
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kTimer) storePlace(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, kTimer);
            Shell_NotifyIconA(NIM_DELETE, &g_bare->icon);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    Bare bare;
    g_bare = &bare;
    bare.store = openStore();
    for (int i = 0; i < 4; ++i) bare.saved[i] = storedNumber(bare.store.get(), kNames[i], 100 + 200 * (i / 2));

    const Brush tint(CreateSolidBrush(RGB(144, 195, 212)), &DeleteObject);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = tint.get();
    windowClass.lpszClassName = "VelmoraBenchBare";
    RegisterClassA(&windowClass);
    HWND window =
        CreateWindowExA(WS_EX_LAYERED, windowClass.lpszClassName, kCaption, WS_OVERLAPPEDWINDOW, bare.saved[0],
                        bare.saved[1], bare.saved[2], bare.saved[3], nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    SetLayeredWindowAttributes(window, 0, 150, LWA_ALPHA);

    bare.icon.cbSize = sizeof bare.icon;
    bare.icon.hWnd = window;
    bare.icon.uID = 1;
    bare.icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    bare.icon.uCallbackMessage = kIconMessage;
    bare.icon.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    std::strcpy(bare.icon.szTip, kCaption);
    Shell_NotifyIconA(NIM_ADD, &bare.icon);

    SetTimer(window, kTimer, 100, nullptr);
    if (std::strstr(commandLine, "--hidden") == nullptr) ShowWindow(window, show);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
