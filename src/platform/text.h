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

// A command word another copy may send: 1 to 24 lower-case letters, nothing else.
inline bool isCommandWord(const std::string& word) {
    return !word.empty() && word.size() <= 24 &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

}  // namespace velmora::platform
