// Modal interactions: they return once the person has answered.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace velmora::platform {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A popup menu at the pointer: the chosen item's index, none when dismissed.
    virtual std::optional<int> popupMenu(Handle owner, const std::vector<MenuItem>& items) = 0;
    // A box with only an OK button; the button pressed.
    virtual int messageBox(Handle owner, const std::string& text, const std::string& title) = 0;
};

}  // namespace velmora::platform
