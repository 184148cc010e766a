#pragma once

#include "BatchJson.h"
#include "common/Cp1252.h"
#include "common/FixedPoint.h"
#include "common/SafeReplace.h"
#include "engine/WallTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
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

// The values of a sweep of one input row, as the cell texts a user would
// type: `count` values from `from` by `step`, each written with `decimals`
// decimals. The texts are made one at a time, so a sweep holds none of them.
struct SweepSpec {
    InputRow row = InputRow::FlueGasTemp;
    double from = 0.0;
    double to = 0.0;
    double step = 1.0;
    std::size_t count = 0;
    int decimals = 0;

    // The i-th value's text (i < count): "-0" is written 0.
    Cp1252 text(std::size_t i) const;
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
    FireRange fireRangeOuter = FireRange::Inside; // whether "(est)" ended against an end
    FireRange fireRangeInner = FireRange::Inside;
    int layerWarnings = 0; // failed checks of the material layers that have a thickness
};

// Runs the arithmetic of "Calcola" once for each value, in order, on the
// session's worksheet, as a user who types each value into the row's cell
// and presses "Calcola": the solver's state goes on from one value to the
// next, and a calculation that stops leaves it as it was. Only what the next
// calculation reads is kept (the solver, the inputs as read); the results
// grid and the memos are not written, no message is shown, and the layer
// warnings are counted on each line. Each line goes to `take` as soon as it
// is computed; none is kept. The cell keeps the last value. Returns how many
// calculations stopped.
std::size_t runSweep(Session& session, const SweepSpec& spec,
                     const std::function<void(const SweepLine&)>& take);

// All the lines of a sweep at once.
std::vector<SweepLine> runSweep(Session& session, const SweepSpec& spec);

// How a CSV table is written: the field separator, the decimal separator,
// the line end and whether the text begins with UTF-8's byte-order mark.
struct CsvDialect {
    char separator;
    char decimalSeparator;
    const char* lineEnd;
    bool byteOrderMark;
};
// Commas, decimal points and LF: what programs read.
inline constexpr CsvDialect PlainCsv{',', '.', "\n", false};
// The Italian spreadsheets' own: semicolons, decimal commas, CR LF and the
// mark that tells them the text is UTF-8.
inline constexpr CsvDialect ItalianCsv{';', ',', "\r\n", true};

// The header line of a sweep's CSV table (with the byte-order mark when the
// dialect has one): the swept row's key, R_totale, T1..T7, T_fuoco_est,
// T_fuoco_int, each with its unit in brackets, then avvisi_strati and
// messaggio. UTF-8.
Utf8 sweepCsvHeader(InputRow row, const CsvDialect& dialect);

// One line of the table, with as many fields as the header: the value as
// typed, then the numbers in the shortest form that reads back as the same
// double (without exponent and with the decimal comma in the Italian
// dialect; a number that is not finite leaves its field empty), the count
// of failed layer checks and an empty message. A stopped line leaves the
// number fields empty and holds the message, quoted. UTF-8.
Utf8 sweepCsvLine(const SweepLine& line, const CsvDialect& dialect);

// The JSON document of a sweep begins with what documentHead gives for the
// worksheet as loaded, the units, and `sweep`: the row, its key and label
// and the range of values (docs/sweep.schema.json); its `rows` follow.
Json sweepJsonHead(const Session& loaded, const SweepSpec& spec);

// One item of the `rows` of a sweep's JSON document.
Json sweepJsonRow(const SweepLine& line, InputRow row);

// What a sweep writes.
enum class SweepFormat : std::uint8_t { Csv, CsvItalian, JsonDocument };

// Runs the sweep on the session and writes its table or its JSON document
// to `write`, each line as soon as it is computed. Returns how many
// calculations stopped.
std::size_t writeSweep(Session& session, const SweepSpec& spec, SweepFormat format,
                       const ContentWriter& write);

// The thickness rows a minimum thickness is searched for: 5 to 9.
bool isThicknessRow(InputRow row);

// One trial of a minimum-thickness search: the millimetres and the two
// fire-resistance temperatures with their memo lines.
struct ThicknessTrial {
    int millimetres = 0;
    double fireTempOuter = 0.0;
    double fireTempInner = 0.0;
    Cp1252 outerLine;
    Cp1252 innerLine;
};

// The answer of a minimum-thickness search, and the trials that gave it in
// the order they were made.
struct MinThickness {
    std::optional<ThicknessTrial> found; // nothing when 1000 mm do not reach
    std::vector<ThicknessTrial> trials;
};

// The most millimetres a minimum-thickness search tries.
constexpr int MaxSearchedThickness = 1000;

// The smallest whole number of millimetres 0..1000 for the thickness in
// `row` at which the "(est)" fire-resistance temperature is at least
// `flueTemp`, by bisection (the temperature grows with the thickness). Each
// trial is "Calcola" on a copy of `loaded` with the cell set to the trial's
// millimetres, so no trial depends on another. Nothing found when 1000 mm
// does not reach `flueTemp`. Throws CalculationStopped with the message of a
// trial whose calculation stops.
MinThickness findMinThickness(const Session& loaded, InputRow row, double flueTemp);

// The JSON document of a minimum-thickness search (docs/spessore-minimo.schema.json):
// the head of the worksheet as loaded, the units, `search` (the row, its key
// and label, the flue-gas temperature asked and the range of millimetres),
// `thickness` (null when none is found), `fireResistance` at that thickness
// (null likewise) and `trials`.
Json minThicknessJson(const Session& loaded, InputRow row, double flueTemp,
                      const MinThickness& answer);

// The document of a search whose trial stopped: the head, the units, the
// search and `stopped`, the trial's message.
Json stoppedMinThicknessJson(const Session& loaded, InputRow row, double flueTemp,
                             Cp1252View stopped);

} // namespace camini
