// The colour filter on Windows. First the Magnification API's full-screen colour
// effect (Windows 8 and later), which Windows drops when the process ends, so a
// crash cannot leave the screen tinted; it is loaded at run time, so the program
// starts where magnification.dll is missing. Where that fails, each display's
// gamma ramp, scaled from the ramp found there. A ramp outlives the program: the
// ramps found are recorded in the registry while ours are set, and a later start
// puts them back where a display still has ours.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/state.h"

namespace velmora::platform::win32 {

namespace {

using Library = unique_handle<HMODULE, FreeLibrary>;
using DisplayDC = unique_handle<HDC, DeleteDC>;

constexpr const char* kNoFilter = "Windows offers neither a colour effect nor a gamma ramp here";

// The colour effect of magnification.dll: the layout of its MAGCOLOREFFECT.
struct ColourMatrix {
    float transform[5][5];
};

ColourMatrix matrixOf(const Gains& gains) {
    ColourMatrix m{};
    m.transform[0][0] = static_cast<float>(gains.red);
    m.transform[1][1] = static_cast<float>(gains.green);
    m.transform[2][2] = static_cast<float>(gains.blue);
    m.transform[3][3] = 1;
    m.transform[4][4] = 1;
    return m;
}

class ColourEffect {
public:
    ColourEffect() = default;
    ~ColourEffect() { remove(); }
    ColourEffect(const ColourEffect&) = delete;
    ColourEffect& operator=(const ColourEffect&) = delete;

    // Whether this Windows has the effect: its functions, and an initialisation that works.
    bool probe() {
        if (!load()) return false;
        if (initialized_) return true;
        if (!initialize_()) return false;
        uninitialize_();
        return true;
    }

    bool apply(const Gains& gains) {
        if (!load()) return false;
        if (!initialized_) initialized_ = initialize_() != FALSE;
        if (!initialized_) return false;
        ColourMatrix m = matrixOf(gains);
        if (setEffect_(&m)) return true;
        remove();
        return false;
    }

    void remove() {
        if (!initialized_) return;
        ColourMatrix identity = matrixOf({});
        setEffect_(&identity);
        uninitialize_();
        initialized_ = false;
    }

private:
    using Procedure = BOOL(WINAPI*)();
    using SetEffect = BOOL(WINAPI*)(ColourMatrix*);

    bool load() {
        if (setEffect_ != nullptr) return true;
        if (tried_) return false;
        tried_ = true;
        library_.reset(LoadLibraryExA("magnification.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!library_) return false;
        // Casts through a plain function pointer: GetProcAddress cannot know the signature.
        const auto find = [this](const char* name) {
            return reinterpret_cast<void (*)()>(GetProcAddress(library_.get(), name));
        };
        initialize_ = reinterpret_cast<Procedure>(find("MagInitialize"));
        uninitialize_ = reinterpret_cast<Procedure>(find("MagUninitialize"));
        const auto setEffect = reinterpret_cast<SetEffect>(find("MagSetFullscreenColorEffect"));
        if (initialize_ == nullptr || uninitialize_ == nullptr || setEffect == nullptr) {
            library_.reset();
            return false;
        }
        setEffect_ = setEffect;
        return true;
    }

    Library library_;
    Procedure initialize_ = nullptr;
    Procedure uninitialize_ = nullptr;
    SetEffect setEffect_ = nullptr;
    bool tried_ = false;
    bool initialized_ = false;
};

// A display's gamma ramp: red, green and blue, 256 entries each.
using Ramp = std::array<WORD, 3 * 256>;

// Drivers may keep fewer bits than they are given: two steps of eight bits apart is the same ramp.
bool sameRamp(const Ramp& a, const Ramp& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i])) > 512) return false;
    }
    return true;
}

// A ramp of zeros, or one that falls, is no ramp a display shows: the identity stands for it.
Ramp usableRamp(const Ramp& found) {
    bool usable = found[255] != 0 && found[511] != 0 && found[767] != 0;
    for (std::size_t i = 0; i < found.size() && usable; ++i) usable = i % 256 == 0 || found[i] >= found[i - 1];
    if (usable) return found;
    Ramp identity{};
    for (std::size_t i = 0; i < identity.size(); ++i) identity[i] = static_cast<WORD>((i % 256) * 257);
    return identity;
}

Ramp scaledRamp(const Ramp& found, const Gains& gains) {
    const double gain[3] = {gains.red, gains.green, gains.blue};
    Ramp ramp{};
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        const double g = std::clamp(gain[i / 256], 0.0, 1.0);
        ramp[i] = static_cast<WORD>(std::lround(found[i] * g));
    }
    return ramp;
}

std::optional<Ramp> readRamp(HDC dc) {
    Ramp ramp{};
    if (!GetDeviceGammaRamp(dc, ramp.data())) return std::nullopt;
    return ramp;
}

// Set, and read back as set: SetDeviceGammaRamp may report success and change nothing.
bool writeRamp(HDC dc, const Ramp& ramp) {
    Ramp copy = ramp;
    if (!SetDeviceGammaRamp(dc, copy.data())) return false;
    const auto now = readRamp(dc);
    return now && sameRamp(*now, ramp);
}

// The device names of the displays, the primary's first; "DISPLAY" where none is told.
std::vector<std::string> displayNames() {
    std::vector<std::string> names;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM param) -> BOOL {
            auto& list = *reinterpret_cast<std::vector<std::string>*>(param);
            MONITORINFOEXA info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoA(monitor, &info)) {
                const std::string name = info.szDevice;
                if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
                    list.insert(list.begin(), name);
                } else {
                    list.push_back(name);
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&names));
    if (names.empty()) names.emplace_back("DISPLAY");
    return names;
}

DisplayDC displayDC(const std::string& name) { return DisplayDC(CreateDCA(name.c_str(), nullptr, nullptr, nullptr)); }

// HKCU\Software\VB and VBA Program Settings\velmora\filter: while a ramp of ours is set, the
// process that set it, and each display's ramp found and ramp set, by the display's name.
constexpr const char* kRecordKey = "Software\\VB and VBA Program Settings\\velmora\\filter";
constexpr const char* kOwnerValue = "(owner)";

struct RampOwner {
    DWORD process = 0;
    FILETIME created{};
};

std::optional<FILETIME> creationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::nullopt;
    return created;
}

RampOwner thisProcess() { return {GetCurrentProcessId(), creationTime(GetCurrentProcess()).value_or(FILETIME{})}; }

// Whether the process that recorded the ramps still runs (then they are its own, in use).
bool stillRunning(const RampOwner& owner) {
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, owner.process));
    if (!process) return false;
    DWORD code = 0;
    if (!GetExitCodeProcess(process.get(), &code) || code != STILL_ACTIVE) return false;
    const auto created = creationTime(process.get());
    return created && std::memcmp(&*created, &owner.created, sizeof(FILETIME)) == 0;
}

struct RecordedRamps {
    Ramp found;
    Ramp set;
};

void record(const std::string& display, const Ramp& found, const Ramp& set) {
    RegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    const RampOwner owner = thisProcess();
    const RecordedRamps ramps{found, set};
    RegSetValueExA(key.get(), kOwnerValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&owner), sizeof owner);
    RegSetValueExA(key.get(), display.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(&ramps), sizeof ramps);
}

void forgetRecord() { RegDeleteTreeA(HKEY_CURRENT_USER, kRecordKey); }

// Ramps a process that is gone left set: each display that still shows the ramp it set gets
// the one it found back. Nonsense in the record is passed over.
void putBackLeftRamps() {
    RegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return;
    RampOwner owner;
    DWORD size = sizeof owner;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), kOwnerValue, nullptr, &type, reinterpret_cast<BYTE*>(&owner), &size) ==
            ERROR_SUCCESS &&
        type == REG_BINARY && size == sizeof owner && stillRunning(owner)) {
        return;
    }
    for (DWORD i = 0;; ++i) {
        char name[256] = {};
        DWORD nameSize = sizeof name;
        RecordedRamps ramps{};
        DWORD dataSize = sizeof ramps;
        const LONG status =
            RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&ramps), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_BINARY || dataSize != sizeof ramps) continue;
        const DisplayDC dc = displayDC(name);
        if (!dc) continue;
        if (const auto now = readRamp(dc.get()); now && sameRamp(*now, ramps.set))
            writeRamp(dc.get(), usableRamp(ramps.found));
    }
    key.reset();
    forgetRecord();
}

class GammaRamps {
public:
    GammaRamps() = default;
    ~GammaRamps() { restore(); }
    GammaRamps(const GammaRamps&) = delete;
    GammaRamps& operator=(const GammaRamps&) = delete;

    // Every display's ramp can be read, and written back as it is.
    bool probe() {
        if (!displays_.empty()) return true;
        for (const std::string& name : displayNames()) {
            const DisplayDC dc = displayDC(name);
            if (!dc) return false;
            const auto ramp = readRamp(dc.get());
            if (!ramp) return false;
            Ramp copy = *ramp;
            if (!SetDeviceGammaRamp(dc.get(), copy.data())) return false;
        }
        return true;
    }

    // The gains multiplied into the ramps found before the first of them.
    bool apply(const Gains& gains) {
        if (displays_.empty()) {
            for (const std::string& name : displayNames()) {
                const DisplayDC dc = displayDC(name);
                const auto ramp = dc ? readRamp(dc.get()) : std::nullopt;
                if (!ramp) {
                    displays_.clear();
                    return false;
                }
                displays_.push_back({name, usableRamp(*ramp)});
            }
        }
        for (const Display& display : displays_) {
            const Ramp set = scaledRamp(display.found, gains);
            record(display.name, display.found, set);
            const DisplayDC dc = displayDC(display.name);
            if (!dc || !writeRamp(dc.get(), set)) {
                restore();
                return false;
            }
        }
        return true;
    }

    void restore() {
        if (displays_.empty()) return;
        for (const Display& display : displays_) {
            if (const DisplayDC dc = displayDC(display.name)) writeRamp(dc.get(), display.found);
        }
        displays_.clear();
        forgetRecord();
    }

private:
    struct Display {
        std::string name;
        Ramp found;
    };
    std::vector<Display> displays_;  // while ramps of ours are set
};

class Win32Filter final : public OnState<ScreenFilter> {
public:
    explicit Win32Filter(State& state) : RoleOnState(state) { putBackLeftRamps(); }
    ~Win32Filter() override { clear(); }

    // Asked once: probing the gamma ramp writes it.
    std::string unavailableReason() override {
        if (!available_) available_ = effect_.probe() || ramps_.probe();
        return *available_ ? std::string{} : kNoFilter;
    }

    bool setGains(const Gains& gains) override {
        if (using_ != Using::Ramps && effect_.apply(gains)) {
            using_ = Using::Effect;
            return true;
        }
        if (using_ == Using::Effect) effect_.remove();
        if (ramps_.apply(gains)) {
            using_ = Using::Ramps;
            return true;
        }
        using_ = Using::Nothing;
        return false;
    }

    void clear() override {
        effect_.remove();
        ramps_.restore();
        using_ = Using::Nothing;
    }

private:
    enum class Using { Nothing, Effect, Ramps };
    ColourEffect effect_;
    GammaRamps ramps_;
    std::optional<bool> available_;
    Using using_ = Using::Nothing;
};

}  // namespace

std::unique_ptr<ScreenFilter> makeFilter(State& state) { return std::make_unique<Win32Filter>(state); }

}  // namespace velmora::platform::win32
