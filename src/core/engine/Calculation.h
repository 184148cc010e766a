#pragma once

#include "ChimneyInput.h"
#include "WallSolver.h"
#include "common/Cp1252.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace camini {

struct Session;
class Messages;
class MaterialArchive;
struct Worksheet;

// A calculation that cannot go on: undefined arithmetic or a layer without
// data. The text (CP1252, Italian) names the input at fault.
class CalculationStopped : public std::runtime_error {
public:
    explicit CalculationStopped(const Cp1252& text) : std::runtime_error(text) {}
};

// Checks that the inputs have a physical meaning, row by row in grid order
// (InputRowSpec::bound): finite values, temperatures not below -273.15 deg C,
// a positive inner diameter and positive surface coefficients, no negative
// thickness; then a material with points for every solid layer of non-zero
// thickness. The first fault stops, its message naming the row and its value.
// Throws CalculationStopped.
void checkInputs(const ChimneyInput& in, const MaterialArchive& archive);

// Stops the calculation when a solid layer of non-zero thickness got a
// conductivity that is not above 0 (or not finite) in the pass of `result`,
// naming the layer, its material and the temperature it was looked up at.
void checkConductivities(const CalcResult& result, const ChimneyInput& in,
                         const MaterialArchive& archive);

// Solves the wall (six passes) and stops the calculation when a pass gave a
// layer a conductivity not above 0 or left a value that is not a finite
// number.
void solveWallChecked(WallSolver& solver, const ChimneyInput& in, const MaterialArchive& archive);

// The outcome of a fire-resistance search: the flue-gas temperature found
// and the number of wall solutions it took (at most 101).
// `range` says whether it ended against an end of its bracket without
// meeting the limit.
struct FireSearch {
    double temperature = 0.0;
    int solutions = 0;
    FireRange range = FireRange::Inside;
};

// The bisection search of fireSearchTable for the flue-gas temperature at
// which the watched face reaches its limit: the outer surface (T6) reaches
// `outerFaceLimit` ("(est)", bracket 0..1800), the inner face of the
// technical gap (T3) reaches `gapFaceLimit` ("(int)", bracket 0..3500). It
// reads the inputs from the worksheet, solves the wall at every step and
// leaves the solver as its last solution left it. Throws CalculationStopped.
FireSearch searchFireTemp(FireSearchKind kind, const Worksheet& sheet, WallSolver& solver,
                          const MaterialArchive& archive);
FireSearch searchFireTempOuter(const Worksheet& sheet, WallSolver& solver,
                               const MaterialArchive& archive);
FireSearch searchFireTempInner(const Worksheet& sheet, WallSolver& solver,
                               const MaterialArchive& archive);

// The memo line of a search result: prefix, the temperature with 1 decimal
// in 7 characters, and the degree sign with C.
Cp1252 fireTempLine(Cp1252View prefix, double temperature);

// The memo line of a search: as above, or, for a search that ended against
// an end of its bracket, "... oltre 1800°C" ("oltre 3500" for the inner
// one) or "... sotto 0°C".
Cp1252 fireTempLine(FireSearchKind kind, const FireSearch& search);

// The prefixes of the two memo lines.
extern const char* const OuterFirePrefix; // "temp per resistenza al fuoco(est)="
extern const char* const InnerFirePrefix; // "temp per resistenza al fuoco(int)="

// The text of a failed layer check, or nothing when the layer's mean
// temperature is not above its material's highest temperature (a material
// without points has no limit).
std::optional<Cp1252> layerCheckText(const MaterialArchive& archive, int material,
                                     const Cp1252& layerName, double meanTemperature);

// One layer check: a material layer, its material number, its mean
// temperature and, when the check failed, its text.
// A layer of no thickness (the insulation of a single wall too) is not
// checked: `checked` is false and there is no failure.
struct LayerCheck {
    const LayerSpec* layer = nullptr;
    int material = 0;
    double meanTemperature = 0.0;
    bool checked = false;
    std::optional<Cp1252> failure;
};

// The layer checks of the four material layers, in layer order, on the
// session's last solution with the material numbers as they are now and the
// thicknesses of its last calculation. The report and "Calcola" (in boxes)
// show the failures in this order, the JSON document gives all four, a sweep
// counts the failures.
std::array<LayerCheck, MaterialSlots> layerChecks(const Session& session);

// How many of the checks failed.
int failedLayerChecks(const std::array<LayerCheck, MaterialSlots>& checks);

// The warning after a solution whose air gap has a negative resistance (the
// air gap formula gives one for wide gaps at low temperatures), or nothing.
std::optional<Cp1252> airGapWarning(const CalcResult& result, const ChimneyInput& in);

// The arithmetic of "Calcola" without its effects on the session: both
// searches and the final solution for the user's flue-gas temperature, run on
// a copy of the session's solver, which the outcome holds as they left it.
// Throws CalculationStopped.
struct CalculationOutcome {
    WallSolver solver;
    ChimneyInput input;
    FireSearch outer;
    FireSearch inner;
};
CalculationOutcome solveCalculation(const Session& session);

// The calculate operation of "Calcola": first one message listing the cells
// not read as typed (inputReadingWarnings), then both searches, their two lines in
// Memo1, the chosen materials in Memo2, the final solution for the user's
// flue-gas temperature in the results grid, then the failed layer checks
// in message boxes, in layer order, and the air
// gap warning. The viewer document is emptied; the results are current. Returns whether the
// calculation ran to its end: when it stops, its message goes to the error box and nothing of the
// session changes.
bool calculate(Session& session, Messages& messages);

} // namespace camini
