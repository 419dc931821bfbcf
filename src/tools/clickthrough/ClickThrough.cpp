#include "tools/clickthrough/ClickThrough.h"

#include "app/Application.h"
#include "app/Module1.h"
#include "overlay/FrmMain.h"

namespace velmora::tools {

namespace {

class ClickThroughRows final : public ToolRows {
public:
    ClickThroughRows(Application& app, RowLayout& at)
        : chkClickThrough(at.form,
                          {.name = "chkClickThrough",
                           .at = {120, at.take(420), 5400, 375},
                           .look = {.text = "Clicks &go through the tint", .tabIndex = at.nextTab()}},
                          &at.group),
          app_(app) {
        chkClickThrough.Click = [this] {
            if (!loading_) app_.model().set(kClickThrough, chkClickThrough.Value() == 1);
        };
    }

    void load() override {
        loading_ = true;
        chkClickThrough.setValue(app_.model().get(kClickThrough) ? 1 : 0);
        loading_ = false;
    }

private:
    toolkit::CheckBox chkClickThrough;
    Application& app_;
    bool loading_ = false;
};

}  // namespace

std::unique_ptr<ToolRows> ClickThrough::makeRows(RowLayout& layout) {
    return std::make_unique<ClickThroughRows>(app_, layout);
}

void ClickThrough::pressed(std::size_t) { app_.model().set(kClickThrough, !applied_); }

void ClickThrough::tintBroughtBack() {
    if (applied_) app_.model().set(kClickThrough, false);
}

void ClickThrough::settingChanged(std::string_view key) {
    if (key == kClickThrough.key) apply();
}

void ClickThrough::apply() {
    const bool wanted = app_.model().get(kClickThrough);
    if (wanted || applied_) Module1::SetClickThrough(app_, app_.form<FrmMain>().hWnd(), wanted);
    applied_ = wanted;
}

}  // namespace velmora::tools
