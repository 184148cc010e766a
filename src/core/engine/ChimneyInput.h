#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace camini {

struct Worksheet;

// The values from which one calculation is made. Temperatures in deg C,
// lengths in mm, surface coefficients in W/m2 K.
struct ChimneyInput {
    std::string projectTitle;
    double flueGasTemp = 0.0;           // row 0
    double ambientTemp = 0.0;           // row 1
    double innerDiameter = 0.0;         // row 2, after the diameter rule
    double innerCoefficient = 0.0;      // row 3
    double outerCoefficient = 0.0;      // row 4
    double insulationThickness = 0.0;   // row 5
    double airGapThickness = 0.0;       // row 6
    double technicalGapThickness = 0.0; // row 7
    double screen1Thickness = 0.0;      // row 8
    double screen2Thickness = 0.0;      // row 9
    double gapFaceLimit = 0.0;          // row 10
    double outerFaceLimit = 0.0;        // row 11
    bool squareSection = false;
    bool singleWall = false;
    bool raiseSmallDiameter = false;
    std::uint8_t insulationMaterial = 0;
    std::uint8_t technicalGapMaterial = 0;
    std::uint8_t screen1Material = 0;
    std::uint8_t screen2Material = 0;

    // The twelve numeric fields in input-row order.
    double& value(int row);
    double value(int row) const;
};

// Reads the worksheet's input texts (rows 0..11, lenient number syntax: an
// empty cell or one that does not begin with a number reads 0), then applies
// the diameter rule: below 200 with "D>=200" ticked, the inner diameter
// becomes 200. Flags, title and material numbers are taken as they stand.
ChimneyInput readChimneyInput(const Worksheet& sheet);

} // namespace camini
