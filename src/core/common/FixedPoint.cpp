#include "FixedPoint.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace camini {

namespace {

// True when |v| * 10^decimals lies exactly halfway between two integers.
// With v = M * 2^E and M odd, v * 2 * 10^d = M * 5^d * 2^(E + 1 + d) is an odd
// integer exactly when E + 1 + d == 0: the lowest set bit of v sits at
// 2^-(d + 1).
bool isExactHalf(double v, int decimals) {
    if (v == 0.0 || !std::isfinite(v))
        return false;
    // The binary exponent and the 53-bit integer mantissa, read from the bits.
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t m = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int e = (biased == 0 ? 1 : biased) - 1075 + __builtin_ctzll(m);
    return e == -(decimals + 1);
}

// Adds one unit in the last place to the digits of a non-negative decimal
// text such as "12.49" -> "12.50" or "9.9" -> "10.0", in place; a carry out
// of the first digit puts a 1 before them. Returns the new end.
char* incrementLastDigit(char* first, char* last) {
    for (char* p = last; p-- != first;) {
        if (*p == '.')
            continue;
        if (*p < '9') {
            ++*p;
            return last;
        }
        *p = '0';
    }
    std::memmove(first + 1, first, static_cast<std::size_t>(last - first));
    *first = '1';
    return last + 1;
}

// The digits of a finite non-zero magnitude with `decimals` digits after the
// point, rounded to nearest with halves away from zero, written at `dst`
// (room up to `limit`).
char* writeMagnitude(char* dst, char* limit, double a, int decimals) {
    if (!isExactHalf(a, decimals))
        return std::to_chars(dst, limit, a, std::chars_format::fixed, decimals).ptr;
    // The expansion ends at the digit after the last kept one, which is a
    // 5: write it exactly, drop it and round the magnitude up.
    char* end = std::to_chars(dst, limit, a, std::chars_format::fixed, decimals + 1).ptr;
    --end;
    if (end != dst && end[-1] == '.')
        --end;
    return incrementLastDigit(dst, end);
}

// Sign and digits of v, with no padding, at `dst` (room up to `limit`).
char* writeNumber(char* dst, char* limit, double v, int decimals) {
    char* end = dst;
    if (std::isnan(v)) {
        return std::copy_n("nan", 3, end);
    }
    if (v == 0.0) {
        // Zero, the commonest value of the files: no conversion, no sign.
        *end++ = '0';
        if (decimals > 0) {
            *end++ = '.';
            std::memset(end, '0', static_cast<std::size_t>(decimals));
            end += decimals;
        }
        return end;
    }
    // A negative value that rounds to zero keeps its sign ("-0.0" for
    // -0.03); zero itself has none (above).
    if (std::signbit(v))
        *end++ = '-';
    if (std::isinf(v)) {
        return std::copy_n("inf", 3, end);
    }
    return writeMagnitude(end, limit, std::fabs(v), decimals);
}

constexpr double ExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The field of the commonest values of the files and windows (below 2^53
// once scaled by 10^decimals, and not close to a half), written in one pass
// without the general conversion: the integer nearest to |v| * 10^decimals
// is the rounded value when the exact remainder, which fma gives, is less
// than a half. Null, nothing written, for any other value. It writes byte
// by byte, with no temporary buffer nor block copy: it is the commonest
// work of the archive's fuzz target, whose sanitizers check every copy.
char* writeScaledField(char* dst, double v, std::size_t field, int decimals) {
    if (decimals >= static_cast<int>(std::size(ExactPowersOfTen)))
        return nullptr;
    const double a = std::fabs(v);
    const double scale = ExactPowersOfTen[static_cast<std::size_t>(decimals)];
    const double scaled = a * scale;
    if (!(scaled < 0x1p53))
        return nullptr; // too large, or not a number
    const double nearest = std::nearbyint(scaled);
    if (!(std::fabs(std::fma(a, scale, -nearest)) < 0.5))
        return nullptr; // a half, or too close to one to tell here
    auto n = static_cast<std::uint64_t>(nearest);
    // A negative value keeps its sign also when it rounds to zero; zero
    // itself, 0 or -0, has none.
    const bool negative = v < 0.0;
    std::size_t length =
        1 + (negative ? 1 : 0) + (decimals > 0 ? static_cast<std::size_t>(decimals) + 1 : 0);
    std::uint64_t whole = n;
    for (int d = 0; d < decimals; ++d)
        whole /= 10;
    for (; whole >= 10; whole /= 10)
        ++length;
    char* p = dst;
    for (std::size_t pad = field > length ? field - length : 0; pad > 0; --pad)
        *p++ = ' ';
    if (negative)
        *p++ = '-';
    // The digits from the last one back. (No std::max here, nor std::clamp
    // in writeFixed: their references put the numbers on the stack, where
    // the sanitizers guard each of them.)
    char* const end = dst + (field > length ? field : length);
    char* q = end;
    for (int d = 0; d < decimals; ++d, n /= 10)
        *--q = static_cast<char>('0' + n % 10);
    if (decimals > 0)
        *--q = '.';
    do {
        *--q = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    return end;
}

} // namespace

char* writeFixed(char* dst, double v, int width, int decimals) {
    decimals = decimals < 0 ? 0 : decimals > 60 ? 60 : decimals;
    const std::size_t field = width < 0 ? 0
                              : static_cast<std::size_t>(width) > MaxFixedLength
                                  ? MaxFixedLength
                                  : static_cast<std::size_t>(width);
    if (char* end = writeScaledField(dst, v, field, decimals))
        return end;
    // Sign and digits at the start of the field, moved right when it is wider.
    char* end = writeNumber(dst, dst + MaxFixedLength, v, decimals);
    const auto length = static_cast<std::size_t>(end - dst);
    if (length >= field)
        return end;
    const std::size_t pad = field - length;
    std::memmove(dst + pad, dst, length);
    std::memset(dst, ' ', pad);
    return dst + field;
}

void appendFixed(std::string& out, double v, int width, int decimals) {
    // The digits first, then the blanks the field wants before them: the
    // field may be wider than any number.
    char buf[MaxFixedLength];
    const auto length = static_cast<std::size_t>(writeFixed(buf, v, 0, decimals) - buf);
    if (width > 0 && length < static_cast<std::size_t>(width))
        out.append(static_cast<std::size_t>(width) - length, ' ');
    out.append(buf, length);
}

std::string formatFixed(double v, int width, int decimals) {
    std::string s;
    appendFixed(s, v, width, decimals);
    return s;
}

std::string shortestNumber(double v) {
    if (!std::isfinite(v))
        return "nan";
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string fitOrStars(const std::string& text, std::size_t width) {
    return text.size() > width ? std::string(width, '*') : text;
}

} // namespace camini
