#include "WallTable.h"

#include "ChimneyInput.h"

namespace camini {

const std::array<InputRowSpec, InputRows> inputRowTable = {{
    {InputRow::FlueGasTemp,
     "temperatura fumi[\xB0"
     "C]",
     34, "250", "temperatura-fumi", &ChimneyInput::flueGasTemp},
    {InputRow::AmbientTemp,
     "temperatura ambiente[\xB0"
     "C]",
     34, "20", "temperatura-ambiente", &ChimneyInput::ambientTemp},
    {InputRow::InnerDiameter, "diametro interno [mm]", 34, "130", "diametro-interno",
     &ChimneyInput::innerDiameter},
    {InputRow::InnerCoefficient,
     "coefficiente liminare interno[\xB0"
     "C]",
     34, "15", "coefficiente-interno", &ChimneyInput::innerCoefficient},
    {InputRow::OuterCoefficient,
     "coefficiente liminare esterno[\xB0"
     "C]",
     34, "8", "coefficiente-esterno", &ChimneyInput::outerCoefficient},
    {InputRow::InsulationThickness, "spessore isolante[mm]", 34, "40", "spessore-isolante",
     &ChimneyInput::insulationThickness},
    {InputRow::AirGapThickness, "spessore camera d aria[mm]", 34, "20", "spessore-camera-aria",
     &ChimneyInput::airGapThickness},
    {InputRow::TechnicalGapThickness, "spessore asola tecnica [mm]", 38, "20",
     "spessore-asola-tecnica", &ChimneyInput::technicalGapThickness},
    {InputRow::Screen1Thickness, "spessore schermo 1 [mm]", 34, "20", "spessore-schermo-1",
     &ChimneyInput::screen1Thickness},
    {InputRow::Screen2Thickness, "spessore schermo 2 [mm]", 28, "10", "spessore-schermo-2",
     &ChimneyInput::screen2Thickness},
    {InputRow::GapFaceLimit,
     "T imposta interna asola tecnica [\xB0"
     "C]",
     39, "100", "t-imposta-interna", &ChimneyInput::gapFaceLimit},
    {InputRow::OuterFaceLimit,
     "T imposta esterna  [\xB0"
     "C]",
     33, "85", "t-imposta-esterna", &ChimneyInput::outerFaceLimit},
}};

const std::array<LayerSpec, Layers> layerTable = {{
    {2, "isolante", InputRow::InsulationThickness, MaterialSlot::Insulation,
     &ChimneyInput::insulationMaterial, 5, 0, MaterialListMode::Insulation, "-->Isolante",
     "isolante", true},
    {3, "camera d aria", InputRow::AirGapThickness, std::nullopt, nullptr, 0, 1,
     MaterialListMode::None, nullptr, "camera aria", false},
    {4, "asola tecnica", InputRow::TechnicalGapThickness, MaterialSlot::TechnicalGap,
     &ChimneyInput::technicalGapMaterial, 1, 2, MaterialListMode::TechnicalGap, "-->asola tecnica",
     "asola tecnica", true},
    {5, "schermo 1", InputRow::Screen1Thickness, MaterialSlot::Screen1,
     &ChimneyInput::screen1Material, 1, 3, MaterialListMode::Screen1, "-->schermo 1", "schermo 1",
     false},
    {6, "schermo 2", InputRow::Screen2Thickness, MaterialSlot::Screen2,
     &ChimneyInput::screen2Material, 9, 4, MaterialListMode::Screen2, "-->schermo 2", "schermo 2",
     true},
}};

const InputRowSpec& inputRowSpec(InputRow row) {
    return inputRowTable[index(row)];
}

const std::string& inputLabel(InputRow row) {
    static const std::array<std::string, InputRows> padded = [] {
        std::array<std::string, InputRows> l;
        for (const InputRowSpec& spec : inputRowTable) {
            std::string& s = l[index(spec.row)];
            s = spec.label;
            if (s.size() < spec.labelLength)
                s.append(spec.labelLength - s.size(), ' ');
        }
        return l;
    }();
    return padded[index(row)];
}

std::string inputName(InputRow row) {
    return inputRowSpec(row).label;
}

std::optional<InputRow> findInputRow(std::string_view key) {
    for (const InputRowSpec& spec : inputRowTable) {
        if (key == spec.key)
            return spec.row;
    }
    if (!key.empty() && key.size() <= 2 &&
        key.find_first_not_of("0123456789") == std::string_view::npos) {
        const int n = key.size() == 1 ? key[0] - '0' : (key[0] - '0') * 10 + (key[1] - '0');
        if (n < InputRows)
            return inputRowAt(n);
    }
    return std::nullopt;
}

const std::string& resultRowName(int row) {
    static const std::array<std::string, TotalRow + 1> names = [] {
        std::array<std::string, TotalRow + 1> n;
        n[InnerFilmRow] = "strato liminare interno";
        for (const LayerSpec& layer : layerTable)
            n[static_cast<std::size_t>(layer.wallRow)] = layer.name;
        n[OuterFilmRow] = "strato liminare esterno";
        n[TotalRow] = "R totale";
        return n;
    }();
    static const std::string none;
    return (row >= 1 && row <= TotalRow) ? names[static_cast<std::size_t>(row)] : none;
}

const LayerSpec& layerOf(MaterialSlot slot) {
    for (const LayerSpec& layer : layerTable)
        if (layer.material == slot)
            return layer;
    return layerTable.front();
}

const LayerSpec* layerFor(MaterialListMode mode) {
    if (mode == MaterialListMode::None)
        return nullptr;
    for (const LayerSpec& layer : layerTable)
        if (layer.listMode == mode)
            return &layer;
    return nullptr;
}

bool diameterRaised(double typed, bool raise) {
    return raise && typed < SmallDiameterLimit;
}

double diameterUsed(double typed, bool raise) {
    return diameterRaised(typed, raise) ? SmallDiameterLimit : typed;
}

} // namespace camini
