#pragma once

#include "common/Cp1252.h"
#include "engine/WallTable.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace camini {

struct Session;

// A command-line argument that does not say what it should; the text
// (UTF-8, Italian) says why.
class BadArgument : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// The values of a sweep of one input row, as the cell texts a user would type.
struct SweepSpec {
    InputRow row = InputRow::FlueGasTemp;
    std::vector<Cp1252> texts;
};

// The most values one sweep runs.
constexpr std::size_t MaxSweepValues = 100000;

// Parses ROW=FROM:TO:STEP: ROW a row number 0..11 or its key, FROM, TO and
// STEP numbers with the point as decimal separator. The values run from FROM
// by STEP while they do not pass TO (STEP may be negative when TO is below
// FROM; a tolerance of a billionth of a step keeps TO when the steps add up
// to it), each written with as many decimals as FROM and STEP are written
// with. Throws BadArgument.
SweepSpec parseSweep(Utf8View argument);

// One value of a sweep: the cell text, the number read from it and either the
// results or the message of the calculation that stopped.
struct SweepLine {
    Cp1252 text; // as typed into the cell
    double value = 0.0;
    std::optional<Cp1252> stopped; // the stop message
    double totalResistance = 0.0;
    std::array<double, WallRows> boundaryTemps{}; // T1..T7
    double fireTempOuter = 0.0;                   // "(est)"
    double fireTempInner = 0.0;                   // "(int)"
    int layerWarnings = 0;                        // failed checks of the four material layers
};

// Runs the arithmetic of "Calcola" once for each value, in order, on the
// session's worksheet, as a user who types each value into the row's cell
// and presses "Calcola": the solver's state goes on from one value to the
// next, and a calculation that stops leaves it as it was. Only what the next
// calculation reads is kept (the solver, the inputs as read); the results
// grid and the memos are not written, no message is shown, and the layer
// warnings are counted on each line. The cell keeps the last value.
std::vector<SweepLine> runSweep(Session& session, const SweepSpec& spec);

// The sweep as CSV: a header line (the row's key, R_totale, T1..T7,
// T_fuoco_est, T_fuoco_int, avvisi_strati), then one line per value, numbers
// with the point as decimal separator in the shortest form that reads back
// as the same double; a stopped line holds the value and the message (UTF-8,
// quoted). Lines end with LF.
Utf8 sweepCsv(const std::vector<SweepLine>& lines, InputRow row);

// The sweep as a JSON array (docs/sweep.schema.json).
nlohmann::ordered_json sweepJson(const std::vector<SweepLine>& lines, InputRow row);

// The shortest text of a double that reads back as the same double, the
// point as decimal separator.
std::string shortestNumber(double v);

// The thickness rows a minimum thickness is searched for: 5 to 9.
bool isThicknessRow(InputRow row);

// The answer of a minimum-thickness search.
struct MinThickness {
    int millimetres = 0;
    double fireTempOuter = 0.0;
    double fireTempInner = 0.0;
    Cp1252 outerLine; // the two memo lines of that calculation
    Cp1252 innerLine;
};

// The most millimetres a minimum-thickness search tries.
constexpr int MaxSearchedThickness = 1000;

// The smallest whole number of millimetres 0..1000 for the thickness in
// `row` at which the "(est)" fire-resistance temperature is at least
// `flueTemp`, by bisection (the temperature grows with the thickness). Each
// trial is "Calcola" on a copy of `loaded` with the cell set to the trial's
// millimetres, so no trial depends on another. Nothing when 1000 mm does not
// reach `flueTemp`. Throws CalculationStopped with the message of a trial
// whose calculation stops.
std::optional<MinThickness> findMinThickness(const Session& loaded, InputRow row, double flueTemp);

} // namespace camini
