#pragma once

#include "Cp1252.h"

#include <optional>
#include <string_view>

namespace camini {

// The number syntax of the cells and files: leading blanks, an optional sign,
// digits with an optional decimal point and digits, an optional exponent
// (E or e, optional sign, digits). The point is always the decimal separator,
// whatever the regional settings.

// Lenient reader of the input grid, the project file, the archive and the
// size catalogue: takes the longest prefix of the text that is a number and
// ignores the rest. "12abc" reads 12, "2,5" reads 2, "abc" and "" read 0.
// A number too large for a double reads as an infinity of its sign; one too
// small reads as 0.
double readNumberLenient(Cp1252View text);

// The part of a text the lenient reader takes as its number, without the
// leading blanks ("2" of "2,5", "12" of " 12abc"); empty when the text does
// not begin with a number.
Cp1252View numberPrefix(Cp1252View text);

// Strict reader of the archive editor: leading blanks are allowed, but the
// rest of the text must be a number and nothing else. Returns nothing when it
// is not (an empty text, "12a", "x", "1,5").
std::optional<double> readNumberStrict(Cp1252View text);

// The value read from a line of a data file: the lenient reading, except that
// a number too large for a double (which no file can write back) reads 0,
// like any other line that is not a number.
double readFileNumber(Cp1252View text);

// Converts a value read as above to a whole number cut toward zero, limited to
// the range [lo, hi]; NaN gives 0.
long long truncateToRange(double v, long long lo, long long hi);

} // namespace camini
