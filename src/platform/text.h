// Small text helpers the platforms share.
#pragma once

#include <algorithm>
#include <string>

namespace velmora::platform {

// ASCII lower case: what Windows does when it compares file and key names.
inline std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return text;
}

}  // namespace velmora::platform
