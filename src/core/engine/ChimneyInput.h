#pragma once

#include "WallTable.h"
#include "common/Cp1252.h"

#include <cstdint>
#include <string>
#include <vector>

namespace camini {

struct Worksheet;

// The values from which one calculation is made. Temperatures in deg C,
// lengths in mm, surface coefficients in W/m2 K. Each numeric field is the
// number of one input row (WallTable.h).
struct ChimneyInput {
    Cp1252 projectTitle;
    double flueGasTemp = 0.0;
    double ambientTemp = 0.0;
    double innerDiameter = 0.0; // after the diameter rule
    double innerCoefficient = 0.0;
    double outerCoefficient = 0.0;
    double insulationThickness = 0.0;
    double airGapThickness = 0.0;
    double technicalGapThickness = 0.0;
    double screen1Thickness = 0.0;
    double screen2Thickness = 0.0;
    double gapFaceLimit = 0.0;
    double outerFaceLimit = 0.0;
    bool squareSection = false;
    bool singleWall = false;
    bool raiseSmallDiameter = false;
    std::uint8_t insulationMaterial = 0;
    std::uint8_t technicalGapMaterial = 0;
    std::uint8_t screen1Material = 0;
    std::uint8_t screen2Material = 0;

    // The numeric field of an input row.
    double& value(InputRow row) { return this->*inputRowSpec(row).field; }
    double value(InputRow row) const { return this->*inputRowSpec(row).field; }
    // The thickness the solver gives a layer: its row's value, except the
    // insulation of a single wall, which is 0.
    double thicknessUsed(const LayerSpec& layer) const {
        return singleWall && layer.material == MaterialSlot::Insulation ? 0.0
                                                                        : value(layer.thickness);
    }
};

// Reads the worksheet's input texts (lenient number syntax: an empty cell or
// one that does not begin with a number reads 0), then applies the diameter
// rule: below 200 with "D>=200" ticked, the inner diameter becomes 200.
// Flags, title and material numbers are taken as they stand.
ChimneyInput readChimneyInput(const Worksheet& sheet);

// The cells that are not read as typed: those whose text, blanks around it
// aside, is not entirely a number. One line each, in row order:
// il valore "2,5" di "coefficiente liminare interno[°C]" è letto come 2
// followed, for a text holding a comma, by " (usare il punto come separatore
// decimale)". Empty cells are read as 0 without a word.
std::vector<Cp1252> inputReadingWarnings(const Worksheet& sheet);

} // namespace camini
