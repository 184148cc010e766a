#include "NumberReader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

namespace camini {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Scan {
    std::size_t start = 0; // first character of the number (sign included)
    std::size_t end = 0;   // one past the last character of the number
    bool ok = false;       // a number was found
};

// Finds the longest numeric prefix after leading blanks.
Scan scanNumber(std::string_view s) {
    Scan r;
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    r.start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t intDigits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++intDigits;
    }
    std::size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1;
        while (j < s.size() && isDigit(s[j])) {
            ++j;
            ++fracDigits;
        }
        if (intDigits > 0 || fracDigits > 0)
            i = j;
    }
    if (intDigits == 0 && fracDigits == 0)
        return r;
    r.ok = true;
    r.end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        std::size_t expDigits = 0;
        while (j < s.size() && isDigit(s[j])) {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            r.end = j;
    }
    return r;
}

double convert(std::string_view s, const Scan& sc) {
    std::string_view num = s.substr(sc.start, sc.end - sc.start);
    bool negative = false;
    if (!num.empty() && (num[0] == '+' || num[0] == '-')) {
        negative = num[0] == '-';
        num.remove_prefix(1);
    }
    double v = 0.0;
    auto res = std::from_chars(num.data(), num.data() + num.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves v alone: decide between overflow and underflow
        // from the exponent of the text.
        std::size_t e = num.find_first_of("eE");
        long long exp10 = 0;
        if (e != std::string_view::npos) {
            std::string_view ex = num.substr(e + 1);
            bool eneg = !ex.empty() && ex[0] == '-';
            if (!ex.empty() && (ex[0] == '+' || ex[0] == '-'))
                ex.remove_prefix(1);
            for (char c : ex) {
                exp10 = exp10 * 10 + (c - '0');
                if (exp10 > 100000)
                    break;
            }
            if (eneg)
                exp10 = -exp10;
        }
        // Count the position of the first significant digit.
        std::size_t point = num.find('.');
        std::string_view mant = num.substr(0, std::min(e, num.size()));
        long long lead = 0; // decimal exponent of the first non-zero digit
        bool found = false;
        std::size_t intLen = point == std::string_view::npos ? mant.size() : point;
        for (std::size_t k = 0; k < mant.size(); ++k) {
            if (mant[k] == '.')
                continue;
            if (mant[k] != '0') {
                lead = (k < intLen) ? static_cast<long long>(intLen - k - 1)
                                    : -static_cast<long long>(k - intLen);
                found = true;
                break;
            }
        }
        v = (found && lead + exp10 > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -v : v;
}

// Powers of ten a double holds exactly.
constexpr double ExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value of the commonest numbers of the files, a few digits with or
// without a point and no exponent, read without the general conversion:
// their digits make an integer below 2^53 and the point a power of ten
// that a double holds exactly, so one division gives the correctly rounded
// value, as the conversion does. Nothing for any other text.
std::optional<double> readPlainNumber(std::string_view s) {
    constexpr std::uint64_t Limit = ((std::uint64_t{1} << 53) - 10) / 10;
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::uint64_t digits = 0;
    std::size_t intDigits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i, ++intDigits) {
        if (digits > Limit)
            return std::nullopt;
        digits = digits * 10 + static_cast<std::uint64_t>(s[i] - '0');
    }
    std::size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i, ++fracDigits) {
            if (digits > Limit || fracDigits + 1 >= std::size(ExactPowersOfTen))
                return std::nullopt;
            digits = digits * 10 + static_cast<std::uint64_t>(s[i] - '0');
        }
    }
    if (intDigits == 0 && fracDigits == 0)
        return 0.0; // no number: the readers' 0
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E'))
        return std::nullopt;
    const double v = static_cast<double>(digits) / ExactPowersOfTen[fracDigits];
    return negative ? -v : v;
}

} // namespace

double readNumberLenient(std::string_view text) {
    if (const auto plain = readPlainNumber(text))
        return *plain;
    Scan sc = scanNumber(text);
    if (!sc.ok)
        return 0.0;
    return convert(text, sc);
}

std::string_view numberPrefix(std::string_view text) {
    Scan sc = scanNumber(text);
    if (!sc.ok)
        return {};
    return text.substr(sc.start, sc.end - sc.start);
}

std::optional<double> readNumberStrict(std::string_view text) {
    Scan sc = scanNumber(text);
    if (!sc.ok || sc.end != text.size())
        return std::nullopt;
    return convert(text, sc);
}

double readFileNumber(std::string_view text) {
    const double v = readNumberLenient(text);
    return std::isfinite(v) ? v : 0.0;
}

long long truncateToRange(double v, long long lo, long long hi) {
    if (std::isnan(v))
        return 0;
    double t = std::trunc(v);
    if (t <= static_cast<double>(lo))
        return lo;
    if (t >= static_cast<double>(hi))
        return hi;
    return static_cast<long long>(t);
}

} // namespace camini
