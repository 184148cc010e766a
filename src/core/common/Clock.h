#pragma once

#include "Cp1252.h"

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace camini {

// Local date and time as the report writes it: the Italian short date and
// long time, "08/12/2026 14:05:09".
Cp1252 formatDateTime(const std::tm& t);

// The clock the core is given: the program's reads the system's local time,
// tests fix it.
using Clock = std::function<std::tm()>;

// The system's local time.
std::tm localNow();

// The moment a SOURCE_DATE_EPOCH text names: a whole number of seconds since
// 1970-01-01 00:00:00 UTC, in decimal digits only, up to the end of the year
// 9999. Nothing for any other text.
std::optional<std::time_t> readSourceDateEpoch(std::string_view text);

// A moment as the time in UTC: documents dated from SOURCE_DATE_EPOCH are
// the same wherever they are made.
std::tm utcTime(std::time_t moment);

} // namespace camini
