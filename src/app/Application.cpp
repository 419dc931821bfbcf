#include "app/Application.h"

#include <algorithm>

#include "app/Hotkeys.h"
#include "app/commands.h"
#include "overlay/FrmMain.h"
#include "picker/Form1.h"
#include "settings/frmSettings.h"
#include "side/Form2.h"
#include "side/frmAbout.h"

namespace velmora {

Application::Application(platform::Platform& platform)
    : toolkit::Runtime(platform, toolkit::AppInfo{}),
      store_(platform.settings),
      model_(*this),
      tools_(tools::makeReadingTools(*this)),
      hotkeys_(std::make_unique<Hotkeys>(*this)) {
    model_.listen([this](std::string_view key) { settingChanged(key); });
}

// Windows go before the runtime they are attached to, the overlay last.
Application::~Application() {
    tools_.clear();
    std::apply([](auto&... window) { (window.reset(), ...); }, windows_);
}

bool Application::saveSetting(const char* key, const std::string& value, Tell tell) {
    if (store_.save(key, value)) return true;
    if (tell == Tell::OncePerRun && !toldStoreFailure_) {
        toldStoreFailure_ = true;
        msgBox(kStoreUnwritable);
    }
    return false;
}

void Application::start() {
    runHandler([this] {
        FrmMain& overlay = form<FrmMain>();
        overlay.Load();
        // The reader may be typing elsewhere as the program starts at login.
        if (!overlay.hiddenByLoad()) overlay.showAtStart();
        hotkeys_->registerAll();
        if (!platform().desktop.notificationAreaAvailable()) {
            // At login the panel often starts after us: give it a moment before deciding.
            waitingForNotificationArea_ = true;
            platform().desktop.watchNotificationArea();
        }
    });
}

int Application::run(const std::string& command) {
    if (!platform().desktop.becomePrimaryInstance(command.empty() ? "show" : command)) return 0;
    if (command == "quit" || command == "hide") {
        // Nothing runs that could take it.
        platform().desktop.leavePrimaryInstance();
        return 0;
    }
    start();
    if (ended()) return exitCode();
    if (!command.empty()) runHandler([this, &command] { this->command(command); });
    if (ended()) return exitCode();
    return platform().windows.run();
}

void Application::command(const std::string& word) {
    FrmMain& overlay = form<FrmMain>();
    if (word == "show") return overlay.mnuShow_Click();
    if (word == "hide") return overlay.mnuHide_Click();
    if (word == "toggle") return overlay.toggleTint();
    if (word == "settings") return overlay.mnuSettings_Click();
    if (word == "picker") return overlay.Command1_Click();
    if (word == "about") return overlay.mnuAbout_Click();
    if (word == "quit") return overlay.mnuExit_Click();
    for (const tools::ToolCommand& tool : tools::toolCommands()) {
        if (word == tool.word && tool.tool < tools_.size()) return tools_[tool.tool]->commanded(tool.which);
    }
}

void Application::onEvent(const platform::Event& event) {
    using platform::EventKind;
    if (event.kind == EventKind::AnotherInstance) {
        // Only the words the program knows are taken; anything else is dropped.
        const auto known = commandWords();
        for (const std::string& word : platform().desktop.takeCommands()) {
            if (std::find(known.begin(), known.end(), word) == known.end() || ended()) continue;
            runHandler([this, &word] { command(word); });
        }
        return;
    }
    if (event.kind == EventKind::Hotkey) {
        runHandler([this, &event] { hotkeys_->pressed(static_cast<int>(event.code)); });
        return;
    }
    if (event.kind == EventKind::PointerMoved) {
        const platform::Point at{event.x, event.y};
        runHandler([this, at] {
            for (const auto& tool : tools_) tool->pointerMoved(at);
        });
        return;
    }
    if (event.kind == EventKind::NotificationAreaAppeared) {
        waitingForNotificationArea_ = false;
        return;
    }
    if (event.kind == EventKind::NotificationAreaAbsent) {
        if (!waitingForNotificationArea_ || ended()) return;
        waitingForNotificationArea_ = false;
        notificationAreaMissing_ = true;
        // Without an icon to bring it back, a hidden overlay would leave the program out of reach.
        runHandler([this] {
            form<FrmMain>().Show();
            msgBox(kNoNotificationArea);
        });
        return;
    }
    toolkit::Runtime::onEvent(event);
}

void Application::settingChanged(std::string_view key) {
    for (const auto& tool : tools_) tool->settingChanged(key);
    hotkeys_->settingChanged(key);
}

void Application::atEnd() {
    platform().desktop.leavePrimaryInstance();
    for (const auto& tool : tools_) tool->programEnding();
    if (auto& overlay = std::get<std::unique_ptr<FrmMain>>(windows_)) overlay->removeNotifyIcon();
}

}  // namespace velmora
