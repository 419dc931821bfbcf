#include "toolkit/runtime.h"

#include <exception>

namespace velmora::toolkit {

Runtime::Runtime(platform::Platform& platform, AppInfo info) : platform_(platform), info_(std::move(info)) {
    platform_.windows.setSink(this);
}

Runtime::~Runtime() { platform_.windows.setSink(nullptr); }

namespace {
std::size_t lastSeparator(const std::string& path) { return path.find_last_of("\\/"); }
}  // namespace

std::string Runtime::path() {
    const std::string exe = platform_.desktop.exePath();
    const auto cut = lastSeparator(exe);
    return cut == std::string::npos ? std::string{} : exe.substr(0, cut);
}

std::string Runtime::exeName() {
    const std::string exe = platform_.desktop.exePath();
    const auto cut = lastSeparator(exe);
    std::string name = cut == std::string::npos ? exe : exe.substr(cut + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

bool Runtime::fileExists(const std::string& file) { return platform_.desktop.fileExists(file); }

void Runtime::Shell(const std::string& program, int showStyle) {
    if (!platform_.desktop.startProgram(program, showStyle)) throw errors::fileNotFound();
}

float Runtime::screenWidth() {
    return static_cast<float>(platform_.desktop.screenSize().width * platform_.desktop.twipsPerPixel());
}

float Runtime::screenHeight() {
    return static_cast<float>(platform_.desktop.screenSize().height * platform_.desktop.twipsPerPixel());
}

float Runtime::twipsPerPixelX() { return static_cast<float>(platform_.desktop.twipsPerPixel()); }
float Runtime::twipsPerPixelY() { return static_cast<float>(platform_.desktop.twipsPerPixel()); }

void Runtime::msgBox(const std::string& text, const std::string& title) {
    platform_.dialogs.messageBox(0, text, title.empty() ? info_.title : title);
    checkEnded();
}

void Runtime::clipboardClear() { platform_.desktop.clipboardClear(); }
void Runtime::clipboardSetText(const std::string& text) { platform_.desktop.clipboardSetText(text); }

void Runtime::end() {
    endNow(0);
    throw EndProgram{};
}

void Runtime::checkEnded() const {
    if (ended_) throw EndProgram{};
}

void Runtime::endNow(int exitCode) {
    if (ended_) return;
    ended_ = true;
    exitCode_ = exitCode;
    atEnd();
    platform_.windows.quit(exitCode);
}

std::string Runtime::errorSource(const RuntimeError& error) const {
    return error.source().empty() ? info_.title : error.source();
}

void Runtime::reportUntrapped(const RuntimeError& error) {
    if (ended_) return;
    platform_.dialogs.messageBox(
        0, "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description(), info_.title);
    endNow(1);
}

void Runtime::runHandler(const std::function<void()>& body) {
    if (ended_) return;
    try {
        body();
    } catch (const EndProgram&) {
        // The end statement already did its work.
    } catch (const RuntimeError& error) {
        reportUntrapped(error);
    } catch (const std::exception& error) {
        reportUntrapped(errors::internal(error.what()));
    } catch (...) {
        // Nothing may escape into a platform's native callback: whatever this was,
        // it ends the program the way an untrapped error does.
        reportUntrapped(errors::internal({}));
    }
}

void Runtime::onEvent(const platform::Event& event) {
    if (ended_) return;
    const auto it = targets_.find(event.target);
    if (it == targets_.end()) return;
    EventTarget* target = it->second;
    runHandler([&] { target->handleEvent(event); });
}

void Runtime::attach(Handle handle, EventTarget* target) { targets_[handle] = target; }
void Runtime::detach(Handle handle) { targets_.erase(handle); }

}  // namespace velmora::toolkit
