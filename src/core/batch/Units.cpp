#include "Units.h"

namespace camini {

const char* inputUnit(InputRow row) {
    switch (row) {
    case InputRow::FlueGasTemp:
    case InputRow::AmbientTemp:
    case InputRow::GapFaceLimit:
    case InputRow::OuterFaceLimit:
        return units::Celsius;
    case InputRow::InnerCoefficient:
    case InputRow::OuterCoefficient:
        return units::Coefficient;
    case InputRow::InnerDiameter:
    case InputRow::InsulationThickness:
    case InputRow::AirGapThickness:
    case InputRow::TechnicalGapThickness:
    case InputRow::Screen1Thickness:
    case InputRow::Screen2Thickness:
        break;
    }
    return units::Millimetre;
}

} // namespace camini
