// What tools/bench-win32 asks of Windows (here Wine) about a program it starts:
//   start velmora|bare <exe> shown|hidden
//       gives the program a fresh store, starts it and waits for its main window;
//       prints "exists MS visible MS pid PID" (times from the process's creation,
//       "-" for what never happened) and leaves it running
//   info PID    prints "threads N workingset KB private KB" as Windows counts them
//   stop PID    ends it
//   start velmora EXE ruler   as hidden, with the reading ruler on and following
//   follow lag MOVES          moves the pointer (SendInput) at random 80-300 ms intervals and
//                             waits for the ruler's window to move; prints each lag in ms,
//                             "missed" where it did not move within 500 ms
//   follow sweep SECONDS RATE moves the pointer RATE times a second
// clang-format off
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, decltype(&RegCloseKey)>;

struct Program {
    const char* caption;
    const char* storeRoot;  // deleted before each start
    const char* storeKey;
    std::vector<std::pair<const char*, const char*>> values;
};

// The same place and size for both: 600 x 200 pixels at 100, 100 (twips at 15 per pixel).
Program program(const std::string& name, bool shown, bool ruler = false) {
    if (name == "velmora") {
        Program velmora{"Velmora v1.0",
                        "Software\\VB and VBA Program Settings\\velmora",
                        "Software\\VB and VBA Program Settings\\velmora\\config",
                        {{"tint", shown ? " 1" : " 0"},
                         {"width", " 9000"},
                         {"height", " 3000"},
                         {"left", " 1500"},
                         {"top", " 1500"}}};
        if (ruler) velmora.values.insert(velmora.values.end(), {{"ruler", " 1"}, {"rulerfollow", " 1"}});
        return velmora;
    }
    return {"Bare baseline",
            "Software\\Velmora bench",
            "Software\\Velmora bench\\bare",
            {{"left", " 100"}, {"top", " 100"}, {"width", " 600"}, {"height", " 200"}}};
}

bool seedStore(const Program& p) {
    RegDeleteTreeA(HKEY_CURRENT_USER, p.storeRoot);
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, p.storeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const Key key(raw, &RegCloseKey);
    for (const auto& [name, value] : p.values) {
        RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>(std::strlen(value) + 1));
    }
    return true;
}

double msBetween(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// A top-level window of that process with that caption, shown or not.
HWND windowOf(DWORD process, const char* caption) {
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, caption); w != nullptr;
         w = FindWindowExA(nullptr, w, nullptr, caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process) return w;
    }
    return nullptr;
}

std::string figure(double ms) {
    if (ms < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", ms);
    return text;
}

int start(const std::string& name, const std::string& exe, const std::string& look) {
    const bool shown = look == "shown";
    const Program p = program(name, shown, look == "ruler");
    if (!seedStore(p)) {
        std::fprintf(stderr, "cannot write HKCU\\%s\n", p.storeKey);
        return 1;
    }
    std::string command = "\"" + exe + "\"";
    if (name != "velmora" && !shown) command += " --hidden";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER begin{};
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", command.c_str(), GetLastError());
        return 1;
    }
    const Handle process(info.hProcess, &CloseHandle);
    const Handle thread(info.hThread, &CloseHandle);

    // Polled every millisecond: coarse next to a start of a hundred, and light on the CPU both share.
    double exists = -1, visible = -1;
    HWND window = nullptr;
    LARGE_INTEGER now = begin;
    while (msBetween(begin, now) < 20000 && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        QueryPerformanceCounter(&now);
        if (window == nullptr && (window = windowOf(info.dwProcessId, p.caption)) != nullptr) {
            exists = msBetween(begin, now);
        }
        if (window != nullptr && visible < 0 && IsWindowVisible(window)) visible = msBetween(begin, now);
        // A hidden start never shows it.
        if (window != nullptr && (visible >= 0 || !shown)) break;
        Sleep(1);
    }
    std::printf("exists %s visible %s pid %lu\n", figure(exists).c_str(), figure(visible).c_str(), info.dwProcessId);
    return window != nullptr ? 0 : 1;
}

int info(DWORD pid) {
    unsigned threads = 0;
    const Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), &CloseHandle);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == pid) threads = entry.cntThreads;
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    const Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid), &CloseHandle);
    if (process) {
        GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    }
    std::printf("threads %u workingset %llu private %llu\n", threads,
                static_cast<unsigned long long>(memory.WorkingSetSize / 1024),
                static_cast<unsigned long long>(memory.PrivateUsage / 1024));
    return 0;
}

// A mouse's own move through the input queue, to a place on the whole desktop
// (0 to 65535 across every screen): the ruler hears moves, not a cursor a program sets.
void movePointer(int x, int y) {
    const auto across = [](int at, int origin, int extent) { return MulDiv(at - origin, 65535, extent - 1); };
    INPUT mouse{};
    mouse.type = INPUT_MOUSE;
    mouse.mi.dx = across(x, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN));
    mouse.mi.dy = across(y, GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    mouse.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &mouse, sizeof mouse);
}

LONG rulerTop(HWND ruler) {
    RECT r{};
    GetWindowRect(ruler, &r);
    return r.top;
}

int follow(const std::string& mode, double first, double rate) {
    const HWND ruler = FindWindowA(nullptr, "Velmora reading ruler");
    if (ruler == nullptr) {
        std::fprintf(stderr, "no reading ruler\n");
        return 1;
    }
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    LARGE_INTEGER begin{}, now{};
    QueryPerformanceCounter(&begin);
    if (mode == "sweep") {
        for (int i = 0; msBetween(begin, now) < first * 1000; ++i) {
            movePointer(width / 3, 100 + (i * 7) % (height - 200));
            const double next = (i + 1) * 1000.0 / rate;
            do {
                Sleep(1);
                QueryPerformanceCounter(&now);
            } while (msBetween(begin, now) < next);
        }
        return 0;
    }
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> pause(80, 300);
    int y = height / 2;
    for (int i = 0; i < static_cast<int>(first); ++i) {
        Sleep(static_cast<DWORD>(pause(random)));
        // Far enough each time that the strip must move; the strip stays whole, so keep off the edges.
        y = y < height / 2 ? y + height / 4 + i % 37 : y - height / 4 - i % 41;
        const LONG was = rulerTop(ruler);
        QueryPerformanceCounter(&begin);
        movePointer(width / 3, y);
        // Asked without sleeping: a millisecond's sleep would be the lag's own grain.
        do {
            QueryPerformanceCounter(&now);
        } while (rulerTop(ruler) == was && msBetween(begin, now) < 500);
        if (rulerTop(ruler) == was) {
            std::printf("missed\n");
        } else {
            std::printf("%.2f\n", msBetween(begin, now));
        }
    }
    return 0;
}

int stop(DWORD pid) {
    const Handle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid), &CloseHandle);
    if (!process) return 0;  // already gone
    TerminateProcess(process.get(), 99);
    return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "start" && argc == 5) return start(argv[2], argv[3], argv[4]);
    if (command == "follow" && argc >= 4) {
        return follow(argv[2], std::atof(argv[3]), argc > 4 ? std::atof(argv[4]) : 0);
    }
    if (command == "info" && argc == 3) return info(std::strtoul(argv[2], nullptr, 10));
    if (command == "stop" && argc == 3) return stop(std::strtoul(argv[2], nullptr, 10));
    std::fprintf(stderr,
                 "usage: %s start velmora|bare EXE shown|hidden|ruler | info PID | stop PID | follow lag MOVES | "
                 "follow sweep SECONDS RATE\n",
                 argv[0]);
    return 2;
}
