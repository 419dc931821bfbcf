// How long velmora.exe takes from process start to its overlay window
// existing, and how much memory it then holds. A benchmark that prints
// figures, not a test: nothing here passes or fails.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

// clang-format off
#include "driver.h"
#include <psapi.h>
// clang-format on

namespace {

double millisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Start to exit of this program doing nothing: what any process start costs here.
double emptyProcessRun() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" --nothing";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return 0;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    const double elapsed = millisecondsSince(start);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmora::e2e;
    if (argc > 1 && std::string(argv[1]) == "--nothing") return 0;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::vector<double> times;
    std::vector<double> memory;
    std::vector<double> baseline;
    for (int i = 0; i < runs; ++i) baseline.push_back(emptyProcessRun());
    for (int i = 0; i < runs; ++i) {
        settings::clear();
        Program program;
        LARGE_INTEGER start{};
        QueryPerformanceCounter(&start);
        program.start(false);
        while (program.findWindow("Velmora v1.0") == nullptr && millisecondsSince(start) < 20000) Sleep(0);
        times.push_back(millisecondsSince(start));
        // Settled: a few timer ticks after start-up.
        Sleep(500);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (program.handle() != nullptr && GetProcessMemoryInfo(program.handle(), &counters, sizeof counters)) {
            memory.push_back(static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0));
        }
    }
    std::printf("start to overlay window: median %.1f ms over %d runs (min %.1f, max %.1f)\n", median(times), runs,
                *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
    std::printf("start to exit of an empty program, for comparison: median %.1f ms\n", median(baseline));
    if (!memory.empty()) std::printf("working set after start-up: median %.1f MB\n", median(memory));
    return 0;
}
