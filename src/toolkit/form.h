// A single-instance window. Touching a built-in property, method or control of
// an unloaded window loads it (its load handler runs) without showing it; the
// program's own procedures on a window do not load it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/runtime.h"
#include "toolkit/twips.h"

namespace velmora::toolkit {

class Control;
class Timer;
class Menu;

struct FormDesign {
    std::string name;
    std::string caption;
    platform::BorderStyle border = platform::BorderStyle::Sizable;
    bool minMaxButtons = true;  // the minimise and maximise buttons, both or neither
    bool showInTaskbar = true;
    TwipsSize client;
    std::optional<TwipsPoint> clientPosition;  // none: the system's default position
    Color backColor = 0x00F0F0F0;
    ScaleMode scaleMode = ScaleMode::Twips;
    std::vector<platform::Image> icons;  // the window's own icon in several sizes
    bool closeOnEscape = false;          // Escape closes it, as its close box does
    bool showActivates = true;           // false: shown without taking the keyboard (a panel)
    bool fitsWorkArea = false;           // laid out smaller, as far as 96 DPI, rather than cross the work area
};

class Form : public EventTarget {
public:
    Form(Runtime& runtime, FormDesign design);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return design_.name; }
    Runtime& runtime() { return runtime_; }
    bool isLoaded() const { return handle_ != 0; }

    void Load();
    // Runs the unload handler; a cancelled unload keeps the window. Nothing happens when not loaded.
    void Unload();
    void Show();
    // Shown in front, the keyboard left where the person is.
    void ShowWithoutActivating();
    void Hide();
    void ZOrder();
    void PopupMenu(Menu& menu);

    float Left();
    float Top();
    float Width();
    float Height();
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    // All four at once, in twips: one move of the native window.
    void Move(float left, float top, float width, float height);
    bool Visible();
    void setVisible(bool visible);
    std::string Caption();
    void setCaption(const std::string& caption);
    Color BackColor();
    void setBackColor(Color color);
    int WindowState();
    void setWindowState(int state);
    ScaleMode scaleMode() const { return design_.scaleMode; }
    Handle hWnd();
    Handle Icon();

    // A design that grows with rows made at run time; takes effect at the next load.
    void setDesignClient(TwipsSize client) { design_.client = client; }
    TwipsSize designClient() const { return design_.client; }

    // True when the load handler made the window invisible (the start-up window then stays hidden).
    bool hiddenByLoad() const { return hiddenByLoad_; }

    void handleEvent(const platform::Event& event) override;

    // Twips per pixel of what the window holds: the screen's, or more in a window fitted to its work area.
    double layoutTwipsPerPixel() const;
    double fit() const { return fit_; }

    // Conversions between this window's scale units and twips.
    float unitsToTwips(float units, ScaleMode mode) const;
    float twipsToUnits(float twips, ScaleMode mode) const;

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload(int& cancel) { (void)cancel; }
    virtual void Form_Resize() {}
    // The person, or the system, moved the window.
    virtual void Form_Moved() {}
    virtual void Form_MouseMove(int button, int shift, float x, float y) {
        (void)button, (void)shift, (void)x, (void)y;
    }
    // The notification icon's callback, with the mouse message as its code.
    virtual void Form_NotifyIcon(unsigned code) { (void)code; }

private:
    friend class Control;
    friend class Timer;
    friend class Menu;
    enum Edge { kLeft, kTop, kWidth, kHeight };

    void ensureLoaded();
    float edge(Edge which);
    void setEdge(Edge which, float twips);
    void destroyNative();
    void fitIntoWorkArea(platform::Size client);

    Runtime& runtime_;
    FormDesign design_;
    Handle handle_ = 0;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    std::vector<Menu*> menus_;
    std::array<std::optional<float>, 4> lastSet_;
    std::string caption_;
    Color backColor_ = 0;
    bool loading_ = false;
    bool hiddenByLoad_ = false;
    double fit_ = 1;  // how many times smaller than the screen's density the window is laid out
};

}  // namespace velmora::toolkit
