#pragma once

#include "common/Cp1252.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace camini {

struct ChimneyInput;

// The table of the wall: every fact about an input row or a layer is written
// here once and read everywhere else (the worksheet, the calculation, the
// report, the project file, the graphs, the windows).

// The rows of the input grid, top to bottom; the project file keeps their
// texts in this order.
enum class InputRow : std::uint8_t {
    FlueGasTemp,
    AmbientTemp,
    InnerDiameter,
    InnerCoefficient,
    OuterCoefficient,
    InsulationThickness,
    AirGapThickness,
    TechnicalGapThickness,
    Screen1Thickness,
    Screen2Thickness,
    GapFaceLimit,
    OuterFaceLimit,
};
constexpr int InputRows = 12;

constexpr std::size_t index(InputRow row) {
    return static_cast<std::size_t>(row);
}
constexpr InputRow inputRowAt(int position) {
    return static_cast<InputRow>(position);
}

// What an input row's value must be for the calculation to have a physical
// meaning; a value outside it stops the calculation before any solving.
enum class InputBound : std::uint8_t {
    Any,          // any finite value (the imposed limits)
    AbsoluteZero, // a temperature: not below -273.15 deg C
    Positive,     // above 0 (the inner diameter, the surface coefficients)
    NotNegative,  // 0 or more (the thicknesses)
};
constexpr double AbsoluteZeroCelsius = -273.15;

// One row of the input grid.
struct InputRowSpec {
    InputRow row;
    const char* label;       // column 0 without its padding (CP1252)
    std::size_t labelLength; // the label's stored length, padding blanks included
    const char* startValue;  // the start project's text
    const char* key;         // the row's name on the command line
    double ChimneyInput::*field;
    InputBound bound; // the values it may take
};
extern const std::array<InputRowSpec, InputRows> inputRowTable;

const InputRowSpec& inputRowSpec(InputRow row);

// The label of an input row as column 0 holds it, padded with blanks to its
// stored length (the report prints it so).
const Cp1252& inputLabel(InputRow row);

// The label without its padding, for messages.
Cp1252 inputName(InputRow row);

// The row whose key is `key` ("spessore-isolante"), or whose number (0..11)
// it is; nothing for any other text.
std::optional<InputRow> findInputRow(Utf8View key);

// The four layers that have a material, as Worksheet::materials holds them.
enum class MaterialSlot : std::uint8_t { Insulation, TechnicalGap, Screen1, Screen2 };
constexpr int MaterialSlots = 4;

constexpr std::size_t index(MaterialSlot slot) {
    return static_cast<std::size_t>(slot);
}

// What a choice in the main window's material list is for.
enum class MaterialListMode : std::uint8_t {
    None = 0,
    Insulation = 1,
    TechnicalGap = 2,
    Screen1 = 3,
    Screen2 = 4,
    Graph = 5,
};

// Rows of the wall from the flue gas outwards, as the results grid numbers
// them: the inner surface film, the five layers, the outer surface film, and
// the total below them.
constexpr int InnerFilmRow = 1;
constexpr int Layers = 5;
constexpr int WallRows = Layers + 2;
constexpr int OuterFilmRow = InnerFilmRow + WallRows - 1;
constexpr int TotalRow = OuterFilmRow + 1;
static_assert(OuterFilmRow == 7 && TotalRow == 8, "the results grid numbers the rows so");

// The points of the temperature profile: the flue gas, the boundaries after
// each wall row but the last, and the ambient air.
constexpr int ProfilePoints = WallRows + 1;

// The entry of a wall row (1..7) in the arrays of CalcResult, which hold row 1
// at index 0; row r's boundary temperature is the temperature after it.
constexpr std::size_t wallIndex(int wallRow) {
    return static_cast<std::size_t>(wallRow - InnerFilmRow);
}

// The name of a row of the results grid (1..8) in its column 0: the films,
// the layers and "R totale"; empty for any other row.
const Cp1252& resultRowName(int row);

// One of the five layers between the two surface films.
struct LayerSpec {
    int wallRow;                               // its row of the wall and of the results grid
    const char* name;                          // in the results grid, the report and the checks
    InputRow thickness;                        // the input row of its thickness
    std::optional<MaterialSlot> material;      // none for the air gap
    std::uint8_t ChimneyInput::*inputMaterial; // its material number; null for the air gap
    std::uint8_t startMaterial; // its material in the start project; 0 for the air gap
    MaterialListMode listMode;  // the list mode that chooses its material
    const char* choiceHeading;  // its line before the material in Memo2
    const char* profileName;    // its name on its segment of the temperature profile

    // Its entry in CalcResult::layerMeanTemps, which holds the layers in
    // wall order.
    constexpr std::size_t meanIndex() const {
        return static_cast<std::size_t>(wallRow - InnerFilmRow - 1);
    }
};
extern const std::array<LayerSpec, Layers> layerTable;

// The layer of a material slot, and of a material-list mode (nothing for
// the graph mode and None).
const LayerSpec& layerOf(MaterialSlot slot);
const LayerSpec* layerFor(MaterialListMode mode);

// The layer without a material: the air gap.
const LayerSpec& airGapLayer();

// The material numbers of the start project, by material slot.
std::array<std::uint8_t, MaterialSlots> startMaterials();

// The two fire-resistance searches: the flue-gas temperature at which a face
// of the wall reaches its limit temperature.
enum class FireSearchKind : std::uint8_t { Outer, Inner };
constexpr int FireSearches = 2;

// Where a search ended: inside its bracket, or against one of its ends
// without meeting its limit (the limit lies beyond the bracket).
enum class FireRange : std::uint8_t { Inside, Above, Below };

// The word of the search's line for its range: "oltre", "sotto", or empty
// inside the bracket.
constexpr const char* fireRangeWord(FireRange range) {
    switch (range) {
    case FireRange::Above:
        return "oltre";
    case FireRange::Below:
        return "sotto";
    case FireRange::Inside:
        break;
    }
    return "";
}

// Which face of a layer a search watches.
enum class LayerFace : std::uint8_t { Inner, Outer };

struct FireSearchSpec {
    FireSearchKind kind;
    int bracketHigh;    // the bisection's bracket is 0..bracketHigh (deg C of flue gas)
    MaterialSlot layer; // the layer whose face is watched
    LayerFace face;     // and which of its faces
    InputRow limit;     // the input row of the face's limit temperature

    // The entry of CalcResult::boundaryTemps that holds the watched face's
    // temperature: an outer face is the boundary after the layer's row, an
    // inner face the one after the row before it.
    std::size_t watchedTemperature() const;
};
extern const std::array<FireSearchSpec, FireSearches> fireSearchTable;

const FireSearchSpec& fireSearch(FireSearchKind kind);

// Inner diameters below this are taken as this when "D>=200" is ticked.
constexpr double SmallDiameterLimit = 200.0;

// Whether a typed inner diameter is raised: below SmallDiameterLimit with
// `raise` set. The calculation then uses SmallDiameterLimit and the report
// notes it.
bool diameterRaised(double typed, bool raise);
double diameterUsed(double typed, bool raise);

} // namespace camini
