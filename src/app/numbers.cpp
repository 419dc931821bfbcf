#include "app/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "app/decimal.h"
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
    std::string digits;
    long long exponent = 0;  // of the last digit
    while (i < s.size() && isDigit(s[i])) digits += s[i++];
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); --exponent) digits += s[i++];
    }
    if (digits.empty()) return std::nullopt;

    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        const bool downwards = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        const std::size_t first = j;
        long long power = 0;  // held far beyond any double's, never overflowing
        for (; j < s.size() && isDigit(s[j]); ++j) power = std::min(power * 10 + (s[j] - '0'), 1LL << 50);
        if (j > first) exponent += downwards ? -power : power;
    }

    const double value = decimal::nearestDouble(digits, exponent);
    return negative ? -value : value;
}

float toSingle(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (value > kMax) return std::numeric_limits<float>::infinity();
    if (value < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

namespace {
// The shortest text that reads back as the same single, fixed or scientific,
// whichever is shorter, fixed on a tie: what C++'s to_chars writes, without the
// tables it carries for every width of floating point.
std::string shortestText(float value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    if (value == 0) return "0";
    const float v = std::fabs(value);
    const auto [digits, exponent] = decimal::shortestDigits(v);
    const int count = static_cast<int>(digits.size());
    std::string text = digits.substr(0, 1);
    if (count > 1) text.append(".").append(digits, 1);
    text += exponent < 0 ? "e-" : "e+";
    if (std::abs(exponent) < 10) text += '0';
    text += std::to_string(std::abs(exponent));
    if (exponent < 18) {  // from there on scientific is the shorter
        std::string fixed;
        if (exponent >= count - 1) {
            fixed = std::to_string(static_cast<unsigned long long>(v));  // a whole number is written exactly
        } else if (exponent >= 0) {
            const auto point = static_cast<std::size_t>(exponent + 1);
            fixed = digits.substr(0, point) + "." + digits.substr(point);
        } else {
            fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
        if (fixed.size() <= text.size()) text = std::move(fixed);
    }
    return value < 0 ? "-" + text : text;
}

}  // namespace

std::string numberText(float value) {
    if (value == 0) return " 0";
    const std::string text = shortestText(value);
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
