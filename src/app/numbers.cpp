#include "app/numbers.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

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

// The C library reads and writes numbers in the locale's decimal point, which
// Qt sets from the person's environment: ours is always the full stop.
char decimalPoint() {
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && *point != '\0' ? *point : '.';
}

double readDecimal(std::string number) {
    for (char& c : number) {
        if (c == '.') c = decimalPoint();
    }
    errno = 0;
    const double value = std::strtod(number.c_str(), nullptr);
    // Too large for a double is infinite; too small is what strtod made of it.
    if (errno == ERANGE && std::fabs(value) > 1) return std::numeric_limits<double>::infinity();
    return value;
}

std::string wholeText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

// Digits d1...dn and the exponent of d1 of the shortest decimal that reads back
// as the single: the nearest n-digit number, or a neighbour of it where the gaps
// below and above the single differ, whichever is closest.
std::pair<std::string, int> shortestDigits(float v) {
    for (int count = 1; count <= 9; ++count) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*e", count - 1, static_cast<double>(v));
        std::string nearest;
        const char* c = text;
        for (; *c != '\0' && *c != 'e'; ++c) {
            if (isDigit(*c)) nearest += *c;
        }
        const int exponent = std::atoi(c + 1);
        const unsigned long long n = std::strtoull(nearest.c_str(), nullptr, 10);
        std::pair<std::string, int> best;
        long double bestDistance = -1;
        for (const int delta : {0, -1, 1}) {
            const unsigned long long m = n + static_cast<unsigned long long>(static_cast<long long>(delta));
            std::string digits = std::to_string(m);
            int e = exponent;
            if (digits.size() > static_cast<std::size_t>(count)) digits.pop_back(), ++e;  // 99 + 1
            if (m == 0 || digits.size() < static_cast<std::size_t>(count)) continue;      // 10 - 1
            const std::string candidate = digits + "e" + std::to_string(e - count + 1);
            if (std::strtof(candidate.c_str(), nullptr) != v) continue;
            const long double distance = std::fabs(std::strtold(candidate.c_str(), nullptr) - v);
            if (bestDistance < 0 || distance < bestDistance) {
                bestDistance = distance;
                best = {digits, e};
            }
        }
        if (bestDistance >= 0) return best;
    }
    return {wholeText(v), 0};  // not reached: nine digits always read back
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
    while (i < s.size() && isDigit(s[i])) {
        anyDigit = true;
        mantissa += s[i++];
    }
    if (i < s.size() && s[i] == '.') {
        mantissa += s[i++];
        while (i < s.size() && isDigit(s[i])) {
            anyDigit = true;
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

    const double value = readDecimal(mantissa + exponent);
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
    auto [digits, exponent] = shortestDigits(v);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int count = static_cast<int>(digits.size());
    std::string fixed;
    if (exponent >= count - 1) {
        fixed = wholeText(v);  // a whole number is written exactly, as %f would
    } else if (exponent >= 0) {
        const auto point = static_cast<std::size_t>(exponent + 1);
        fixed = digits.substr(0, point) + "." + digits.substr(point);
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    std::string scientific = digits.substr(0, 1);
    if (count > 1) scientific.append(".").append(digits, 1);
    scientific += exponent < 0 ? "e-" : "e+";
    if (std::abs(exponent) < 10) scientific += '0';
    scientific += std::to_string(std::abs(exponent));
    const std::string& text = fixed.size() <= scientific.size() ? fixed : scientific;
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
