#pragma once

#include <cstddef>
#include <string>

namespace camini {

// Writes v in fixed-point notation with `decimals` digits after the point,
// right-aligned in a field of `width` characters padded with blanks on the
// left. The field grows when the number needs more room; nothing is cut.
// Rounding is to nearest on the exact binary value of v, halves away from
// zero (2.5 -> "3", 0.125 -> "0.13", but 1.005 -> "1.00" since that double
// lies below the half). The decimal separator is always the point. A minus
// sign precedes every negative value, also one that rounds to zero (-0.03
// with one decimal is "-0.0"); zero itself, 0 or -0, has no sign. Non-finite
// values are written as "nan", "inf" or "-inf".
std::string formatFixed(double v, int width, int decimals);

// The same, appended to `out` without building a temporary string.
void appendFixed(std::string& out, double v, int width, int decimals);

// Room enough for any value written as above in a field of at most this width.
constexpr std::size_t MaxFixedLength = 400;

// The same, written at `dst`, which has room for MaxFixedLength characters;
// a width beyond MaxFixedLength counts as MaxFixedLength. Returns the end of
// the text written. For writers that gather many fields before one append.
char* writeFixed(char* dst, double v, int width, int decimals);

// The shortest text of a double that reads back as the same double, the
// point as decimal separator ("0.1", "1e+30"); "nan" for a value that is not
// finite.
std::string shortestNumber(double v);

// A number's text as a column of `width` characters shows it: the text itself
// when it fits (shorter texts are padded by the column), else `width` stars,
// never its first characters.
std::string fitOrStars(const std::string& text, std::size_t width);

} // namespace camini
