#include "toolkit/runtime.h"

#include <exception>

namespace velmora::toolkit {

Runtime::Runtime(platform::Platform& platform, AppInfo info) : platform_(platform), info_(std::move(info)) {
    platform_.setSink(this);
}

Runtime::~Runtime() { platform_.setSink(nullptr); }

namespace {
std::size_t lastSeparator(const std::string& path) { return path.find_last_of("\\/"); }
}  // namespace

std::string Runtime::path() {
    const std::string exe = platform_.exePath();
    const auto cut = lastSeparator(exe);
    return cut == std::string::npos ? std::string{} : exe.substr(0, cut);
}

std::string Runtime::exeName() {
    const std::string exe = platform_.exePath();
    const auto cut = lastSeparator(exe);
    std::string name = cut == std::string::npos ? exe : exe.substr(cut + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

float Runtime::screenWidth() { return static_cast<float>(platform_.screenSize().width * platform_.twipsPerPixel()); }

float Runtime::screenHeight() { return static_cast<float>(platform_.screenSize().height * platform_.twipsPerPixel()); }

float Runtime::twipsPerPixelX() { return static_cast<float>(platform_.twipsPerPixel()); }
float Runtime::twipsPerPixelY() { return static_cast<float>(platform_.twipsPerPixel()); }

void Runtime::msgBox(const std::string& text, const std::string& title) {
    platform_.messageBox(0, text, title.empty() ? info_.title : title);
    checkEnded();
}

void Runtime::clipboardClear() { platform_.clipboardClear(); }
void Runtime::clipboardSetText(const std::string& text) { platform_.clipboardSetText(text); }

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
    platform_.quit(exitCode);
}

std::string Runtime::errorSource(const RuntimeError& error) const {
    return error.source().empty() ? info_.title : error.source();
}

void Runtime::reportUntrapped(const RuntimeError& error) {
    if (ended_) return;
    platform_.messageBox(0, "Run-time error '" + std::to_string(error.number()) + "':\n\n" + error.description(),
                         info_.title);
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
        reportUntrapped(RuntimeError(51, std::string("Internal error: ") + error.what()));
    } catch (...) {
        // Nothing may escape into a platform's native callback.
        reportUntrapped(RuntimeError(51, "Internal error"));
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
