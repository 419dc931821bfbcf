// Stands in for the web browser in the end-to-end tests: the shell starts it for
// an https address, and it appends one line to the record file: the show command
// it was started with, then every argument after the record file, tab-separated.
// Usage: velmora_url_recorder.exe <record file> <address> [parameters...]
#include <windows.h>

#include <memory>
#include <string>

namespace {

struct CloseFile {
    void operator()(HANDLE file) const { CloseHandle(file); }
};
using File = std::unique_ptr<void, CloseFile>;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;
    std::string line = std::to_string(show);
    for (int i = 2; i < argc; ++i) line += '\t' + std::string(argv[i]);
    line += '\n';
    // One write of a whole line, appended: a reader never sees half of it as a line.
    const HANDLE opened = CreateFileA(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return 1;
    const File file(opened);
    DWORD written = 0;
    const bool ok = WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE;
    return ok && written == line.size() ? 0 : 1;
}
