#include "FixedPoint.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace camini {

namespace {

// True when |v| * 10^decimals lies exactly halfway between two integers.
// With v = M * 2^E and M odd, v * 2 * 10^d = M * 5^d * 2^(E + 1 + d) is an odd
// integer exactly when E + 1 + d == 0: the lowest set bit of v sits at
// 2^-(d + 1).
bool isExactHalf(double v, int decimals) {
    if (v == 0.0 || !std::isfinite(v))
        return false;
    int exp = 0;
    double mant = std::frexp(std::fabs(v), &exp); // v = mant * 2^exp, 0.5 <= mant < 1
    // Scale the mantissa to a 53-bit integer.
    const auto m = static_cast<std::uint64_t>(std::ldexp(mant, 53));
    const int e = exp - 53 + __builtin_ctzll(m);
    return e == -(decimals + 1);
}

// Adds one unit in the last place to the digits of a non-negative decimal
// text such as "12.49" -> "12.50" or "9.9" -> "10.0".
void incrementLastDigit(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        char& c = digits[i];
        if (c == '.')
            continue;
        if (c < '9') {
            ++c;
            return;
        }
        c = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

void appendFixed(std::string& out, double v, int width, int decimals) {
    decimals = std::clamp(decimals, 0, 60);
    char buf[400];
    std::size_t len = 0;
    bool negative = std::signbit(v);
    if (std::isnan(v)) {
        std::memcpy(buf, "nan", 3);
        len = 3;
        negative = false;
    } else if (std::isinf(v)) {
        std::memcpy(buf, "inf", 3);
        len = 3;
    } else if (v == 0.0) {
        // Zero, the commonest value of the files: no conversion, no sign.
        buf[0] = '0';
        len = 1;
        if (decimals > 0) {
            buf[1] = '.';
            std::memset(buf + 2, '0', static_cast<std::size_t>(decimals));
            len = 2 + static_cast<std::size_t>(decimals);
        }
        negative = false;
    } else {
        double a = std::fabs(v);
        if (isExactHalf(a, decimals)) {
            // The expansion ends at the digit after the last kept one, which
            // is a 5: write it exactly, drop it and round the magnitude up.
            auto r =
                std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, decimals + 1);
            std::string digits(buf, r.ptr);
            digits.pop_back();
            if (!digits.empty() && digits.back() == '.')
                digits.pop_back();
            incrementLastDigit(digits);
            len = digits.size();
            std::memcpy(buf, digits.data(), len);
        } else {
            auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, decimals);
            len = static_cast<std::size_t>(r.ptr - buf);
        }
        // A negative value that rounds to zero keeps its sign ("-0.0" for
        // -0.03); zero itself has none (above).
    }
    std::size_t total = len + (negative ? 1 : 0);
    if (width > 0 && total < static_cast<std::size_t>(width))
        out.append(static_cast<std::size_t>(width) - total, ' ');
    if (negative)
        out.push_back('-');
    out.append(buf, len);
}

std::string formatFixed(double v, int width, int decimals) {
    std::string s;
    appendFixed(s, v, width, decimals);
    return s;
}

} // namespace camini
