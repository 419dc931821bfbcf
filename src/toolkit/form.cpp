#include "toolkit/form.h"

#include <algorithm>
#include <cmath>

#include "toolkit/controls.h"

namespace velmora::toolkit {

Form::Form(Runtime& runtime, FormDesign design) : runtime_(runtime), design_(std::move(design)) {}

// The derived window's controls and timers are gone by now and detached
// themselves; what is left is the native window, released without handlers.
Form::~Form() {
    if (handle_ == 0) return;
    runtime_.detach(handle_);
    runtime_.platform().windows.destroyWindow(handle_);
}

void Form::ensureLoaded() {
    if (handle_ == 0) Load();
}

void Form::Load() {
    if (handle_ != 0) return;
    platform::Platform& p = runtime_.platform();
    const double tpp = p.desktop.twipsPerPixel();

    caption_ = design_.caption;
    backColor_ = design_.backColor;
    lastSet_ = {};
    hiddenByLoad_ = false;

    platform::WindowSpec spec;
    spec.name = design_.name;
    spec.caption = design_.caption;
    spec.border = design_.border;
    spec.minButton = design_.minMaxButtons;
    spec.maxButton = design_.minMaxButtons;
    spec.showInTaskbar = design_.showInTaskbar;
    spec.clientSize = {twipsToPixels(design_.client.width, tpp), twipsToPixels(design_.client.height, tpp)};
    if (const auto& at = design_.clientPosition) {
        spec.clientRect = platform::Rect{twipsToPixels(at->left, tpp), twipsToPixels(at->top, tpp),
                                         spec.clientSize.width, spec.clientSize.height};
    }
    spec.backColor = design_.backColor;
    spec.icons = design_.icons;
    spec.closeOnEscape = design_.closeOnEscape;
    spec.activateOnShow = design_.showActivates;

    handle_ = p.windows.createWindow(spec);
    if (handle_ == 0) throw errors::outOfMemory();
    runtime_.attach(handle_, this);
    fit_ = 1;
    if (design_.fitsWorkArea) fitIntoWorkArea(spec.clientSize);
    // Controls were registered in declaration order, so a container precedes what it holds.
    for (Control* control : controls_) {
        control->resetToDesign();
        control->create();
    }
    for (Timer* timer : timers_) timer->create();

    loading_ = true;
    try {
        Form_Load();
    } catch (...) {
        loading_ = false;
        throw;
    }
    loading_ = false;
}

void Form::destroyNative() {
    platform::Platform& p = runtime_.platform();
    for (Timer* timer : timers_) timer->destroy();
    for (Control* control : controls_) control->destroy();
    runtime_.detach(handle_);
    const Handle gone = handle_;
    handle_ = 0;
    p.windows.destroyWindow(gone);
}

void Form::Unload() {
    if (handle_ == 0) return;
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel != 0 || handle_ == 0) return;
    destroyNative();
}

void Form::Show() {
    ensureLoaded();
    runtime_.platform().windows.setVisible(handle_, true);
    runtime_.checkEnded();
}

void Form::ShowWithoutActivating() {
    ensureLoaded();
    runtime_.platform().windows.showWithoutActivating(handle_);
    runtime_.checkEnded();
}

void Form::Hide() { setVisible(false); }

void Form::ZOrder() {
    ensureLoaded();
    runtime_.platform().windows.bringToFront(handle_);
}

namespace {
// The platform's items, and the entries in the order the platform numbers them: depth first.
std::vector<platform::MenuItem> itemsOf(std::vector<Menu::Entry>& entries, std::vector<Menu::Entry*>& numbered) {
    std::vector<platform::MenuItem> items;
    for (auto& entry : entries) {
        numbered.push_back(&entry);
        platform::MenuItem item{entry.caption, entry.checked, {}};
        item.items = itemsOf(entry.items, numbered);
        items.push_back(std::move(item));
    }
    return items;
}
}  // namespace

void Form::PopupMenu(Menu& menu) {
    ensureLoaded();
    std::vector<Menu::Entry*> numbered;
    const std::vector<platform::MenuItem> items = itemsOf(menu.entries(), numbered);
    const auto chosen = runtime_.platform().dialogs.popupMenu(handle_, items);
    runtime_.checkEnded();
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(numbered.size())) return;
    const Menu::Entry& entry = *numbered[static_cast<std::size_t>(*chosen)];
    if (entry.Click) entry.Click();
}

float Form::edge(Edge which) {
    ensureLoaded();
    const platform::Rect r = runtime_.platform().windows.windowRect(handle_);
    const int px[] = {r.left, r.top, r.width, r.height};
    const auto& last = lastSet_[which];
    return twipsOf(px[which], last.value_or(0.0F), last.has_value(), runtime_.platform().desktop.twipsPerPixel());
}

void Form::setEdge(Edge which, float twips) {
    ensureLoaded();
    if ((which == kWidth || which == kHeight) && twips < 0) throw errors::invalidPropertyValue();
    platform::Platform& p = runtime_.platform();
    const int px = twipsToPixels(twips, p.desktop.twipsPerPixel());
    platform::Rect r = p.windows.windowRect(handle_);
    int* fields[] = {&r.left, &r.top, &r.width, &r.height};
    *fields[which] = px;
    lastSet_[which] = twips;
    p.windows.setWindowRect(handle_, r);
    runtime_.checkEnded();
}

float Form::Left() { return edge(kLeft); }
float Form::Top() { return edge(kTop); }
float Form::Width() { return edge(kWidth); }
float Form::Height() { return edge(kHeight); }
void Form::Move(float left, float top, float width, float height) {
    ensureLoaded();
    if (width < 0 || height < 0) throw errors::invalidPropertyValue();
    platform::Platform& p = runtime_.platform();
    const double tpp = p.desktop.twipsPerPixel();
    lastSet_ = {left, top, width, height};
    p.windows.setWindowRect(handle_, {twipsToPixels(left, tpp), twipsToPixels(top, tpp), twipsToPixels(width, tpp),
                                      twipsToPixels(height, tpp)});
    runtime_.checkEnded();
}

void Form::setLeft(float twips) { setEdge(kLeft, twips); }
void Form::setTop(float twips) { setEdge(kTop, twips); }
void Form::setWidth(float twips) { setEdge(kWidth, twips); }
void Form::setHeight(float twips) { setEdge(kHeight, twips); }

bool Form::Visible() {
    ensureLoaded();
    return runtime_.platform().windows.isVisible(handle_);
}

void Form::setVisible(bool visible) {
    ensureLoaded();
    if (loading_ && !visible) hiddenByLoad_ = true;
    runtime_.platform().windows.setVisible(handle_, visible);
    runtime_.checkEnded();
}

std::string Form::Caption() {
    ensureLoaded();
    return caption_;
}

void Form::setCaption(const std::string& caption) {
    ensureLoaded();
    caption_ = caption;
    runtime_.platform().windows.setCaption(handle_, caption);
}

Color Form::BackColor() {
    ensureLoaded();
    return backColor_;
}

void Form::setBackColor(Color color) {
    ensureLoaded();
    backColor_ = color;
    runtime_.platform().windows.setBackColor(handle_, color);
}

int Form::WindowState() {
    ensureLoaded();
    return runtime_.platform().windows.windowState(handle_);
}

void Form::setWindowState(int state) {
    ensureLoaded();
    if (state < 0 || state > 2) throw errors::invalidPropertyValue();
    runtime_.platform().windows.setWindowState(handle_, state);
    runtime_.checkEnded();
}

Handle Form::hWnd() {
    ensureLoaded();
    return handle_;
}

Handle Form::Icon() {
    ensureLoaded();
    return runtime_.platform().windows.windowIcon(handle_);
}

double Form::layoutTwipsPerPixel() const { return runtime_.platform().desktop.twipsPerPixel() * fit_; }

// On a dense screen a tall design can outgrow the work area, its OK out of reach:
// it is laid out at the density that fits, never below 96 DPI, and kept inside the area.
void Form::fitIntoWorkArea(platform::Size client) {
    platform::Platform& p = runtime_.platform();
    const std::vector<platform::Rect> areas = p.desktop.workAreas();
    if (areas.empty() || client.width <= 0 || client.height <= 0) return;
    const platform::Rect outer = p.windows.windowRect(handle_);
    const auto holds = [&](const platform::Rect& a) {
        return outer.left >= a.left && outer.left < a.left + a.width && outer.top >= a.top &&
               outer.top < a.top + a.height;
    };
    const auto found = std::find_if(areas.begin(), areas.end(), holds);
    const platform::Rect area = found != areas.end() ? *found : areas.front();
    const int frameWidth = std::max(0, outer.width - client.width);
    const int frameHeight = std::max(0, outer.height - client.height);
    const double room = std::min(static_cast<double>(area.width - frameWidth) / client.width,
                                 static_cast<double>(area.height - frameHeight) / client.height);
    const double densest = 15.0 / p.desktop.twipsPerPixel() * p.desktop.deviceScale();
    fit_ = room > 0 && room < 1 ? std::min(1 / room, std::max(1.0, densest)) : 1;
    const int width = frameWidth + static_cast<int>(std::lround(client.width / fit_));
    const int height = frameHeight + static_cast<int>(std::lround(client.height / fit_));
    const int left = std::max(area.left, std::min(outer.left, area.left + area.width - width));
    const int top = std::max(area.top, std::min(outer.top, area.top + area.height - height));
    if (fit_ == 1 && left == outer.left && top == outer.top) return;
    p.windows.setWindowRect(handle_, {left, top, width, height});
}

float Form::unitsToTwips(float units, ScaleMode mode) const {
    return mode == ScaleMode::Pixels ? static_cast<float>(units * runtime_.platform().desktop.twipsPerPixel()) : units;
}

float Form::twipsToUnits(float twips, ScaleMode mode) const {
    return mode == ScaleMode::Pixels ? static_cast<float>(twips / runtime_.platform().desktop.twipsPerPixel()) : twips;
}

void Form::handleEvent(const platform::Event& event) {
    if (handle_ == 0) return;
    switch (event.kind) {
        case platform::EventKind::CloseRequest:
            Unload();
            break;
        case platform::EventKind::Resize:
            Form_Resize();
            break;
        case platform::EventKind::Moved:
            Form_Moved();
            break;
        case platform::EventKind::MouseMove: {
            const float x = unitsToTwips(static_cast<float>(event.x), ScaleMode::Pixels);
            const float y = unitsToTwips(static_cast<float>(event.y), ScaleMode::Pixels);
            Form_MouseMove(event.button, event.shift, twipsToUnits(x, design_.scaleMode),
                           twipsToUnits(y, design_.scaleMode));
            break;
        }
        case platform::EventKind::NotifyIcon:
            Form_NotifyIcon(event.code);
            break;
        default:
            break;
    }
}

}  // namespace velmora::toolkit
