#include "ChimneyInput.h"

#include "Worksheet.h"
#include "common/NumberReader.h"

namespace camini {

namespace {
// Pointers to the numeric fields in input-row order.
constexpr std::array<double ChimneyInput::*, InputRows> fields = {
    &ChimneyInput::flueGasTemp,      &ChimneyInput::ambientTemp,
    &ChimneyInput::innerDiameter,    &ChimneyInput::innerCoefficient,
    &ChimneyInput::outerCoefficient, &ChimneyInput::insulationThickness,
    &ChimneyInput::airGapThickness,  &ChimneyInput::technicalGapThickness,
    &ChimneyInput::screen1Thickness, &ChimneyInput::screen2Thickness,
    &ChimneyInput::gapFaceLimit,     &ChimneyInput::outerFaceLimit,
};
} // namespace

double& ChimneyInput::value(int row) {
    return this->*fields[static_cast<std::size_t>(row)];
}
double ChimneyInput::value(int row) const {
    return this->*fields[static_cast<std::size_t>(row)];
}

ChimneyInput readChimneyInput(const Worksheet& sheet) {
    ChimneyInput in;
    in.projectTitle = sheet.projectTitle;
    for (int r = 0; r < InputRows; ++r)
        in.value(r) = readNumberLenient(sheet.inputTexts[static_cast<std::size_t>(r)]);
    in.squareSection = sheet.squareSection;
    in.singleWall = sheet.singleWall;
    in.raiseSmallDiameter = sheet.raiseSmallDiameter;
    if (in.innerDiameter < 200.0 && in.raiseSmallDiameter)
        in.innerDiameter = 200.0;
    in.insulationMaterial = sheet.materials[InsulationLayer];
    in.technicalGapMaterial = sheet.materials[TechnicalGapLayer];
    in.screen1Material = sheet.materials[Screen1Layer];
    in.screen2Material = sheet.materials[Screen2Layer];
    return in;
}

} // namespace camini
