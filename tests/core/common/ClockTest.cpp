// The moments SOURCE_DATE_EPOCH names, and their time in UTC as the report
// writes it.
#include "common/Clock.h"

#include <gtest/gtest.h>

#include <optional>

using namespace camini;

TEST(Clock, SourceDateEpochAndItsTimeInUtc) {
    struct Case {
        const char* text;
        std::optional<std::time_t> moment;
        const char* written; // formatDateTime of utcTime
    };
    const Case cases[] = {
        {"0", 0, "01/01/1970 00:00:00"},
        {"1700000000", 1700000000, "14/11/2023 22:13:20"},
        {"000086399", 86399, "01/01/1970 23:59:59"},
        {"253402300799", 253402300799, "31/12/9999 23:59:59"},
    };
    for (const Case& c : cases) {
        const auto moment = readSourceDateEpoch(c.text);
        EXPECT_EQ(moment, c.moment) << c.text;
        if (moment) {
            EXPECT_EQ(formatDateTime(utcTime(*moment)), c.written) << c.text;
        }
    }
    // Past the year 9999, signed, with blanks, not a whole number.
    for (const char* text :
         {"253402300800", "9999999999999", "", "-1", "+5", " 5", "5 ", "1e9", "12.5", "ieri"})
        EXPECT_EQ(readSourceDateEpoch(text), std::nullopt) << text;
}
