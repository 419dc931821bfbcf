// A fresh sim platform and an empty in-memory store for every test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "overlay/FrmMain.h"
#include "picker/Form1.h"
#include "platform/sim/platform.h"
#include "settings/frmSettings.h"
#include "side/Form2.h"
#include "side/frmAbout.h"

namespace velmora::testing {

namespace sim = platform::sim;

// A run of the program on a platform of its own.
struct ProgramRun {
    sim::SimPlatform platform;
    Application app{platform};
    sim::SimWindow& overlay() { return *platform.windowNamed("FrmMain"); }
};

// Stored settings by key; a key not listed is absent.
using Settings = std::vector<std::pair<std::string, std::string>>;

// A start with these settings on a fresh platform, set up first as the test says.
inline std::unique_ptr<ProgramRun> startWith(const Settings& settings,
                                             const std::function<void(sim::SimPlatform&)>& setUp = {}) {
    auto run = std::make_unique<ProgramRun>();
    for (const auto& [key, value] : settings) run->platform.store.set(key, value);
    if (setUp) setUp(run->platform);
    run->app.start();
    return run;
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override { app = std::make_unique<Application>(platform); }
    void TearDown() override { app.reset(); }

    void start() { app->start(); }
    // The next start of the program, with what this one stored.
    std::unique_ptr<ProgramRun> startAgain() {
        auto run = std::make_unique<ProgramRun>();
        run->platform.store.values = platform.store.values;
        run->app.start();
        return run;
    }
    FrmMain& frmMain() { return app->form<FrmMain>(); }
    sim::SimWindow& window(const std::string& name) {
        sim::SimWindow* w = platform.windowNamed(name);
        if (w == nullptr) throw std::runtime_error("no live window " + name);
        return *w;
    }
    sim::SimWindow& overlay() { return window("FrmMain"); }
    sim::SimControl& control(const std::string& windowName, const std::string& controlName) {
        sim::SimControl* c = platform.control(windowName, controlName);
        if (c == nullptr) throw std::runtime_error("no control " + windowName + "." + controlName);
        return *c;
    }
    std::string stored(const std::string& key) { return platform.store.value(key).value_or("<absent>"); }
    // Every call of that kind with its arguments, in order.
    std::vector<std::vector<long long>> argsOf(sim::Call kind) {
        std::vector<std::vector<long long>> all;
        for (const auto& call : platform.callsOf(kind)) all.push_back(call.args);
        return all;
    }

    sim::SimPlatform platform;
    std::unique_ptr<Application> app;
};

}  // namespace velmora::testing
