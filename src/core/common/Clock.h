#pragma once

#include "Cp1252.h"

#include <ctime>
#include <functional>
#include <string>

namespace camini {

// Local date and time as the report writes it: the Italian short date and
// long time, "08/12/2026 14:05:09".
Cp1252 formatDateTime(const std::tm& t);

// The clock the core is given: the program's reads the system's local time,
// tests fix it.
using Clock = std::function<std::tm()>;

// The system's local time.
std::tm localNow();

} // namespace camini
