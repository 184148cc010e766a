// The two number readers and the writer on any text: the strict reader
// accepts only what the lenient one reads the same way, a number written
// with the writer reads back and writes again to the same text, and the
// conversion to a whole material number stays in its range.
#include "FuzzSupport.h"
#include "common/FixedPoint.h"
#include "common/NumberReader.h"

#include <cmath>
#include <cstring>

using namespace camini;
using namespace camini::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double lenient = readNumberLenient(text);
    require(!std::isnan(lenient), "the lenient reader gave NaN");
    const auto strict = readNumberStrict(text);
    if (strict) {
        require(std::memcmp(&*strict, &lenient, sizeof lenient) == 0,
                "strict and lenient disagree");
        require(!readNumberStrict(text + "a"), "trailing characters accepted");
        const auto blanks = readNumberStrict("  " + text);
        require(blanks && std::memcmp(&*blanks, &*strict, sizeof lenient) == 0,
                "leading blanks changed the value");
    }
    // The longest numeric prefix: what follows it never changes the value.
    const double withX = readNumberLenient(text + "x");
    require(std::memcmp(&lenient, &withX, sizeof lenient) == 0,
            "a character after the number changed it");
    const long long m = truncateToRange(lenient, 0, 255);
    require(m >= 0 && m <= 255, "whole number outside its range");

    if (std::isfinite(lenient) && std::fabs(lenient) < 1e30) {
        for (int decimals : {0, 1, 4}) {
            const std::string written = formatFixed(lenient, 7, decimals);
            const auto back = readNumberStrict(written);
            require(back.has_value(), "a written number does not read back");
            // A negative value that rounds to zero is written with its sign
            // ("-0.0") and reads back as zero, which is written without it.
            std::string expected = written;
            if (*back == 0.0 && expected.find('-') != std::string::npos)
                expected[expected.find('-')] = ' ';
            require(formatFixed(*back, 7, decimals) == expected,
                    "writing the number read back changed the text");
        }
    }
    return 0;
}
