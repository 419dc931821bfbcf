#include "app/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/errors.h"

namespace velmora {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

double readRadix(std::string_view digits, int radix) {
    double value = 0;
    for (const char c : digits) {
        const int d = digitValue(c);
        if (d >= radix) break;
        value = value * radix + d;
    }
    return value;
}

}  // namespace

double lenientNumber(std::string_view text) { return tryLenientNumber(text).value_or(0.0); }

std::optional<double> tryLenientNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    }
    if (s.size() >= 2 && s[0] == '&') {
        const char kind = static_cast<char>(s[1] | 0x20);
        const int radix = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
        if (radix == 0 || s.size() == 2 || digitValue(s[2]) >= radix) return std::nullopt;
        return readRadix(std::string_view(s).substr(2), radix);
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::string mantissa;
    bool anyDigit = false;
    bool nonZero = false;
    while (i < s.size() && isDigit(s[i])) {
        anyDigit = true;
        nonZero = nonZero || s[i] != '0';
        mantissa += s[i++];
    }
    if (i < s.size() && s[i] == '.') {
        mantissa += s[i++];
        while (i < s.size() && isDigit(s[i])) {
            anyDigit = true;
            nonZero = nonZero || s[i] != '0';
            mantissa += s[i++];
        }
    }
    if (!anyDigit) return std::nullopt;

    std::string exponent;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string sign;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            if (s[j] == '-') sign = "-";
            ++j;
        }
        std::string digits;
        while (j < s.size() && isDigit(s[j])) digits += s[j++];
        if (!digits.empty()) exponent = "e" + sign + digits;
    }

    const std::string number = mantissa + exponent;
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool shrinks = exponent.size() > 1 && exponent[1] == '-';
        value = (!nonZero || shrinks) ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

float toSingle(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax) return std::numeric_limits<float>::infinity();
    if (value < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::string numberText(float value) {
    if (value == 0) return " 0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    return value < 0 ? text : " " + text;
}

double roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5) return lower;
    if (fraction > 0.5) return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::int16_t roundToInt16(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw errors::overflow();
    return static_cast<std::int16_t>(rounded);
}

int colourComponent(std::string_view text) {
    const double rounded = roundHalfEven(lenientNumber(text));
    if (!(rounded >= 0)) return 0;  // negative; lenient reading never gives NaN
    return static_cast<int>(std::min(rounded, 255.0));
}

}  // namespace velmora
