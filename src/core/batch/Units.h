#pragma once

#include "common/Cp1252.h"
#include "engine/WallTable.h"

namespace camini {

// The units of the numbers the batch calculator writes, spelled the same in
// the CSV headers and in the JSON documents' `units` (CP1252: the degree
// sign is one byte).
namespace units {
inline constexpr const char* Celsius = DegreesCelsius; // temperatures
inline constexpr const char* Kelvin = "K";             // temperature differences
inline constexpr const char* Millimetre = "mm";
inline constexpr const char* Coefficient = "W/m2K";    // surface coefficients
inline constexpr const char* Conductivity = "W/mK";    // conductivities
inline constexpr const char* Resistance = "m2K/W";     // per square metre of the inner surface
inline constexpr const char* HeatFlux = "W/m2";        // through the inner surface
inline constexpr const char* HeatFlowPerMetre = "W/m"; // per metre of chimney
inline constexpr const char* Count = "1";              // counts, rows and material numbers
} // namespace units

// The unit of an input row's number. The coefficients' labels end in degrees C,
// their numbers are surface coefficients.
const char* inputUnit(InputRow row);

} // namespace camini
