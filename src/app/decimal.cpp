#include "app/decimal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace velmora::decimal {

namespace {

// A non-negative integer of up to 4096 bits: room for the 801 digits the reader
// keeps, or a single's mantissa, times the powers of two and ten that scale them.
class Big {
public:
    explicit Big(std::uint32_t value = 0) {
        if (value != 0) limbs_[used_++] = value;
    }

    // This times factor, plus addend.
    Big& multiplyAdd(std::uint32_t factor, std::uint32_t addend = 0) {
        std::uint64_t carry = addend;
        for (int i = 0; i < used_; ++i) {
            carry += std::uint64_t{limbs_[i]} * factor;
            limbs_[i] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0) limbs_[used_++] = static_cast<std::uint32_t>(carry);
        return *this;
    }

    Big& multiplyByPowerOfTen(long long power) {
        for (; power >= 9; power -= 9) multiplyAdd(1000000000);
        for (; power > 0; --power) multiplyAdd(10);
        return *this;
    }

    Big& shiftLeft(int bits) {
        if (used_ == 0) return *this;
        const int words = bits / 32;
        const int rest = bits % 32;
        limbs_[used_ + words] = 0;
        for (int i = used_ - 1; i >= 0; --i) {
            const std::uint64_t wide = std::uint64_t{limbs_[i]} << rest;
            limbs_[i + words + 1] |= static_cast<std::uint32_t>(wide >> 32);
            limbs_[i + words] = static_cast<std::uint32_t>(wide);
        }
        std::fill_n(limbs_.begin(), words, 0);
        used_ += words + 1;
        trim();
        return *this;
    }

    Big& operator+=(const Big& other) {
        std::uint64_t carry = 0;
        used_ = std::max(used_, other.used_);
        for (int i = 0; i < used_; ++i) {
            carry += std::uint64_t{limbs_[i]} + other.limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0) limbs_[used_++] = static_cast<std::uint32_t>(carry);
        return *this;
    }

    // Only ever takes away what is at most this.
    Big& operator-=(const Big& other) {
        std::int64_t borrow = 0;
        for (int i = 0; i < used_; ++i) {
            borrow += std::int64_t{limbs_[i]} - other.limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(borrow);
            borrow >>= 32;
        }
        trim();
        return *this;
    }

    int bitLength() const { return used_ == 0 ? 0 : used_ * 32 - std::countl_zero(limbs_[used_ - 1]); }

    friend int compare(const Big& a, const Big& b) {
        if (a.used_ != b.used_) return a.used_ < b.used_ ? -1 : 1;
        for (int i = a.used_ - 1; i >= 0; --i) {
            if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        }
        return 0;
    }

private:
    void trim() {
        while (used_ > 0 && limbs_[used_ - 1] == 0) --used_;
    }

    std::array<std::uint32_t, 128> limbs_{};
    int used_ = 0;
};

Big sum(Big a, const Big& b) { return a += b; }

}  // namespace

// The digits are those of r / s, one at a time, while the single's neighbours
// are at (r - minus) / s and (r + plus) / s, all scaled by four so that even
// the halved gap below a power of two is whole. A decimal within half a gap
// reads back as the single; on the gap's edge only when its mantissa is even.
Digits shortestDigits(float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    const int biased = static_cast<int>(bits >> 23);
    const std::uint32_t fraction = bits & 0x7FFFFF;
    const std::uint32_t mantissa = biased == 0 ? fraction : fraction | 0x800000;
    const int power = (biased == 0 ? 1 : biased) - 150;
    const bool closerBelow = fraction == 0 && biased > 1;
    const bool edgeReadsBack = mantissa % 2 == 0;

    Big r(4 * mantissa), s(4), plus(2), minus(closerBelow ? 1 : 2);
    if (power >= 0) {
        r.shiftLeft(power);
        plus.shiftLeft(power);
        minus.shiftLeft(power);
    } else {
        s.shiftLeft(-power);
    }
    const auto high = [&] {
        const int c = compare(sum(r, plus), s);
        return edgeReadsBack ? c >= 0 : c > 0;
    };
    const auto timesTen = [&] {
        r.multiplyAdd(10);
        plus.multiplyAdd(10);
        minus.multiplyAdd(10);
    };

    // Scaled until (r + plus) / s is below 1 and ten times it is not: the first
    // digit is then that of 10^exponent, and r is ready for it.
    int exponent = -1;
    while (high()) s.multiplyAdd(10), ++exponent;
    for (timesTen(); !high(); timesTen()) --exponent;
    Digits result{{}, exponent};
    for (;; timesTen()) {
        int digit = 0;
        while (compare(r, s) >= 0) r -= s, ++digit;
        const int c = compare(r, minus);
        const bool low = edgeReadsBack ? c <= 0 : c < 0;
        const bool up = high();
        if (low && up) {  // both read back: the closer, halves to the even digit
            const int half = compare(Big(r).shiftLeft(1), s);
            if (half > 0 || (half == 0 && digit % 2 == 1)) ++digit;
        } else if (up) {
            ++digit;
        }
        result.digits += static_cast<char>('0' + digit);
        if (low || up) return result;
    }
}

double nearestDouble(std::string_view digits, long long exponent) {
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    while (!digits.empty() && digits.back() == '0') digits.remove_suffix(1), ++exponent;
    if (digits.empty()) return 0;
    const auto count = static_cast<long long>(digits.size());
    if (exponent + count - 1 > 308) return HUGE_VAL;  // 10^309 and above
    if (exponent + count - 1 < -324) return 0;        // below 10^-324, less than half of 2^-1074

    // No point halfway between two doubles has more than 767 significant digits, so
    // what follows the 800th changes no rounding when it stands as one more digit 1.
    Big n, d(1);
    for (const char c : digits.substr(0, 800)) n.multiplyAdd(10, static_cast<std::uint32_t>(c - '0'));
    if (count > 800) n.multiplyAdd(10, 1), exponent += count - 801;
    if (exponent >= 0) {
        n.multiplyByPowerOfTen(exponent);
    } else {
        d.multiplyByPowerOfTen(-exponent);
    }

    // The value is n / d. Find q, 53 bits (fewer for a denormal), and p with
    // q 2^p just below it, the remainder telling which way q rounds.
    for (int p = n.bitLength() - d.bitLength() - 53;; ++p) {
        const int scale = std::max(p, -1074);
        Big remainder(n), divisor(d);
        if (scale < 0) {
            remainder.shiftLeft(-scale);
        } else {
            divisor.shiftLeft(scale);
        }
        divisor.shiftLeft(54);  // q < 2^54: its bits are found from the top
        std::uint64_t q = 0;
        for (int bit = 0; bit < 54; ++bit) {
            remainder.shiftLeft(1);
            q <<= 1;
            if (compare(remainder, divisor) >= 0) remainder -= divisor, q |= 1;
        }
        if (q >> 53 != 0) continue;  // 54 bits: one power of two more
        const int half = compare(remainder.shiftLeft(1), divisor);
        if (half > 0 || (half == 0 && q % 2 == 1)) ++q;
        return std::ldexp(static_cast<double>(q), scale);
    }
}

}  // namespace velmora::decimal
