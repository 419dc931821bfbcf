// What screen readers hear of the controls. Names go where every reader of
// Microsoft Active Accessibility finds them, Wine's included: a text box's in a
// hidden label just before it in z-order, a picture's, a slider's, a hotkey
// box's and an empty label's as their window text, which Wine reads where
// Windows also reads the label before a slider or a hotkey box. Windows also takes each name and description as a
// dynamic annotation, which its accessibility interfaces and UI Automation both honour; Wine accepts none (E_NOTIMPL),
// so there the descriptions go unheard.
// clang-format off
#include "platform/win32/state.h"
#include <initguid.h>
#include <oleacc.h>
// clang-format on

#include <algorithm>
#include <vector>

namespace velmora::platform::win32 {

// COM for this thread and the annotation service, from the first annotation until the platform goes.
class Annotations {
public:
    Annotations() : apartment_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                    reinterpret_cast<void**>(&services_)))) {
            services_ = nullptr;
        }
    }
    ~Annotations() {
        for (const HWND hwnd : annotated_) clear(hwnd);
        if (services_ != nullptr) services_->Release();
        if (apartment_) CoUninitialize();
    }
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    void set(HWND hwnd, const MSAAPROPID& property, const std::string& text) {
        if (services_ == nullptr) return;
        std::vector<WCHAR> wide(text.size() + 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
        if (SUCCEEDED(services_->SetHwndPropStr(hwnd, OBJID_CLIENT, CHILDID_SELF, property, wide.data())) &&
            std::find(annotated_.begin(), annotated_.end(), hwnd) == annotated_.end()) {
            annotated_.push_back(hwnd);
        }
    }

    // Before the window goes: what is annotated on a window stays in its property list.
    void forget(HWND hwnd) {
        if (std::erase(annotated_, hwnd) != 0) clear(hwnd);
    }

private:
    void clear(HWND hwnd) {
        const MSAAPROPID properties[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
        services_->ClearHwndProps(hwnd, OBJID_CLIENT, CHILDID_SELF, properties, 2);
    }

    bool apartment_;
    IAccPropServices* services_ = nullptr;
    std::vector<HWND> annotated_;
};

void AnnotationsDeleter::operator()(Annotations* annotations) const { delete annotations; }

namespace {

Annotations& annotations(State& state) {
    if (!state.annotations) state.annotations.reset(new Annotations);
    return *state.annotations;
}

// A label no one sees, named for the text box after it, as a visible label would be.
void placeNameLabel(State& state, const ControlRecord& box) {
    const HWND label = CreateWindowExA(0, "STATIC", box.spec.accessibleName.c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0,
                                       box.parent, nullptr, state.instance, nullptr);
    if (label == nullptr) return;
    const HWND above = GetWindow(box.hwnd, GW_HWNDPREV);
    SetWindowPos(label, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

void announce(State& state, const ControlRecord& record) {
    const ControlSpec& spec = record.spec;
    if (!spec.accessibleName.empty()) {
        if (spec.kind == ControlKind::TextBox) {
            placeNameLabel(state, record);
        } else if (namedByText(spec)) {
            SetWindowTextA(record.hwnd, spec.accessibleName.c_str());
        }
        annotations(state).set(record.hwnd, PROPID_ACC_NAME, spec.accessibleName);
    }
    if (!spec.accessibleDescription.empty()) describe(state, record);
}

void nameByLabel(const ControlRecord& label, const ControlRecord& control) {
    if (!showsNoText(control.spec.kind) || !control.spec.accessibleName.empty()) return;
    std::string name = label.spec.text;
    const auto mnemonic = name.find('&');
    if (mnemonic != std::string::npos) name.erase(mnemonic, 1);
    SetWindowTextA(control.hwnd, name.c_str());
}

void describe(State& state, const ControlRecord& record) {
    annotations(state).set(record.hwnd, PROPID_ACC_DESCRIPTION, record.spec.accessibleDescription);
    // A reader that follows the control hears the new description.
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, record.hwnd, OBJID_CLIENT, CHILDID_SELF);
}

void forgetAnnotations(State& state, const ControlRecord& record) {
    if (state.annotations && record.hwnd != nullptr) state.annotations->forget(record.hwnd);
}

}  // namespace velmora::platform::win32
