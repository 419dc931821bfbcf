// The notification icon's record, as the shell takes it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/winapi.h"

namespace velmora::modSystray {

struct NOTIFYICONDATA {
    std::uint32_t cbSize = 0;
    platform::Handle hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    platform::Handle hIcon = 0;
    std::string szTip;  // a fixed field of 64 characters, filled with blanks
};

inline constexpr std::uint32_t kRecordSize = 88;
inline constexpr std::size_t kTipField = 64;
// The icon reports on a message of its own, so a mouse moving over the overlay
// can never be mistaken for a click on the icon.
inline constexpr std::uint32_t kCallbackMessage = platform::win::WM_APP + 1;

// The tip, left-aligned in its fixed field.
inline std::string tipField(const std::string& tip) {
    std::string field = tip.substr(0, kTipField);
    field.resize(kTipField, ' ');
    return field;
}

inline platform::NotifyIconData toShell(const NOTIFYICONDATA& record) {
    return {record.hWnd, record.uID, record.uFlags, record.uCallbackMessage, record.hIcon, record.szTip};
}

}  // namespace velmora::modSystray
