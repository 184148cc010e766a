#include "WallTable.h"

#include "ChimneyInput.h"
#include "common/Cp1252.h"

namespace camini {

namespace {

// The labels that end in a temperature's unit.
constexpr auto flueGasLabel = joinText("temperatura fumi[", DegreesCelsius, "]");
constexpr auto ambientLabel = joinText("temperatura ambiente[", DegreesCelsius, "]");
constexpr auto innerCoefficientLabel =
    joinText("coefficiente liminare interno[", DegreesCelsius, "]");
constexpr auto outerCoefficientLabel =
    joinText("coefficiente liminare esterno[", DegreesCelsius, "]");
constexpr auto gapFaceLimitLabel =
    joinText("T imposta interna asola tecnica [", DegreesCelsius, "]");
constexpr auto outerFaceLimitLabel = joinText("T imposta esterna  [", DegreesCelsius, "]");

} // namespace

const std::array<InputRowSpec, InputRows> inputRowTable = {{
    {InputRow::FlueGasTemp, flueGasLabel.c_str(), 34, "250", "temperatura-fumi",
     &ChimneyInput::flueGasTemp, InputBound::AbsoluteZero},
    {InputRow::AmbientTemp, ambientLabel.c_str(), 34, "20", "temperatura-ambiente",
     &ChimneyInput::ambientTemp, InputBound::AbsoluteZero},
    {InputRow::InnerDiameter, "diametro interno [mm]", 34, "130", "diametro-interno",
     &ChimneyInput::innerDiameter, InputBound::Positive},
    {InputRow::InnerCoefficient, innerCoefficientLabel.c_str(), 34, "15", "coefficiente-interno",
     &ChimneyInput::innerCoefficient, InputBound::Positive},
    {InputRow::OuterCoefficient, outerCoefficientLabel.c_str(), 34, "8", "coefficiente-esterno",
     &ChimneyInput::outerCoefficient, InputBound::Positive},
    {InputRow::InsulationThickness, "spessore isolante[mm]", 34, "40", "spessore-isolante",
     &ChimneyInput::insulationThickness, InputBound::NotNegative},
    {InputRow::AirGapThickness, "spessore camera d aria[mm]", 34, "20", "spessore-camera-aria",
     &ChimneyInput::airGapThickness, InputBound::NotNegative},
    {InputRow::TechnicalGapThickness, "spessore asola tecnica [mm]", 38, "20",
     "spessore-asola-tecnica", &ChimneyInput::technicalGapThickness, InputBound::NotNegative},
    {InputRow::Screen1Thickness, "spessore schermo 1 [mm]", 34, "20", "spessore-schermo-1",
     &ChimneyInput::screen1Thickness, InputBound::NotNegative},
    {InputRow::Screen2Thickness, "spessore schermo 2 [mm]", 28, "10", "spessore-schermo-2",
     &ChimneyInput::screen2Thickness, InputBound::NotNegative},
    {InputRow::GapFaceLimit, gapFaceLimitLabel.c_str(), 39, "100", "t-imposta-interna",
     &ChimneyInput::gapFaceLimit, InputBound::Any},
    {InputRow::OuterFaceLimit, outerFaceLimitLabel.c_str(), 33, "85", "t-imposta-esterna",
     &ChimneyInput::outerFaceLimit, InputBound::Any},
}};

const std::array<LayerSpec, Layers> layerTable = {{
    {.wallRow = 2,
     .name = "isolante",
     .thickness = InputRow::InsulationThickness,
     .material = MaterialSlot::Insulation,
     .inputMaterial = &ChimneyInput::insulationMaterial,
     .startMaterial = 5,
     .listMode = MaterialListMode::Insulation,
     .choiceHeading = "-->Isolante",
     .profileName = "isolante"},
    {.wallRow = 3,
     .name = "camera d aria",
     .thickness = InputRow::AirGapThickness,
     .material = std::nullopt,
     .inputMaterial = nullptr,
     .startMaterial = 0,
     .listMode = MaterialListMode::None,
     .choiceHeading = nullptr,
     .profileName = "camera aria"},
    {.wallRow = 4,
     .name = "asola tecnica",
     .thickness = InputRow::TechnicalGapThickness,
     .material = MaterialSlot::TechnicalGap,
     .inputMaterial = &ChimneyInput::technicalGapMaterial,
     .startMaterial = 1,
     .listMode = MaterialListMode::TechnicalGap,
     .choiceHeading = "-->asola tecnica",
     .profileName = "asola tecnica"},
    {.wallRow = 5,
     .name = "schermo 1",
     .thickness = InputRow::Screen1Thickness,
     .material = MaterialSlot::Screen1,
     .inputMaterial = &ChimneyInput::screen1Material,
     .startMaterial = 1,
     .listMode = MaterialListMode::Screen1,
     .choiceHeading = "-->schermo 1",
     .profileName = "schermo 1"},
    {.wallRow = 6,
     .name = "schermo 2",
     .thickness = InputRow::Screen2Thickness,
     .material = MaterialSlot::Screen2,
     .inputMaterial = &ChimneyInput::screen2Material,
     .startMaterial = 9,
     .listMode = MaterialListMode::Screen2,
     .choiceHeading = "-->schermo 2",
     .profileName = "schermo 2"},
}};

// "(est)": the outer surface, the face after screen 2; "(int)": the inner
// face of the technical gap, the face after the air gap.
const std::array<FireSearchSpec, FireSearches> fireSearchTable = {{
    {.kind = FireSearchKind::Outer,
     .bracketHigh = 1800,
     .layer = MaterialSlot::Screen2,
     .face = LayerFace::Outer,
     .limit = InputRow::OuterFaceLimit},
    {.kind = FireSearchKind::Inner,
     .bracketHigh = 3500,
     .layer = MaterialSlot::TechnicalGap,
     .face = LayerFace::Inner,
     .limit = InputRow::GapFaceLimit},
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

const LayerSpec& airGapLayer() {
    for (const LayerSpec& layer : layerTable)
        if (!layer.material)
            return layer;
    return layerTable.front();
}

std::array<std::uint8_t, MaterialSlots> startMaterials() {
    std::array<std::uint8_t, MaterialSlots> m{};
    for (const LayerSpec& layer : layerTable)
        if (layer.material)
            m[index(*layer.material)] = layer.startMaterial;
    return m;
}

std::size_t FireSearchSpec::watchedTemperature() const {
    const int row = layerOf(layer).wallRow;
    return wallIndex(face == LayerFace::Outer ? row : row - 1);
}

const FireSearchSpec& fireSearch(FireSearchKind kind) {
    return fireSearchTable[static_cast<std::size_t>(kind)];
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
