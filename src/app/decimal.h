// Exact conversions between binary floating point and decimal digits, done here
// rather than by the C library: its printf and strtod follow the locale, and in
// the static Windows program they were a seventh of its size.
#pragma once

#include <string>
#include <string_view>

namespace velmora::decimal {

// The fewest digits d1 d2 ... dn that read back as value (finite, above zero),
// of those the closest to it (halves to the even digit), and the power of ten of d1.
struct Digits {
    std::string digits;
    int exponent;
};
Digits shortestDigits(float value);

// The double nearest to the decimal digits times 10^exponent, halves to the even
// one: beyond the range of doubles is infinite, below half the smallest one zero.
double nearestDouble(std::string_view digits, long long exponent);

}  // namespace velmora::decimal
