#include "Sweep.h"

#include "Units.h"
#include "common/Cp1252.h"
#include "common/FixedPoint.h"
#include "common/NumberReader.h"
#include "engine/Calculation.h"
#include "engine/Session.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <system_error>

namespace camini {

namespace {

// Decimals a number is written with: the digits after its point.
int writtenDecimals(std::string_view text) {
    const auto point = text.find('.');
    if (point == std::string_view::npos)
        return 0;
    int n = 0;
    for (std::size_t i = point + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        ++n;
    return n;
}

double sweepNumber(std::string_view text, const char* what) {
    const auto v = readNumberStrict(text);
    if (!v || !std::isfinite(*v) || text.find_first_of("eE") != std::string_view::npos)
        throw BadArgument(std::string(what) + " non valido in --sweep: \"" + std::string(text) +
                          "\"");
    return *v;
}

// A text field: quoted when it holds the separator, a quote or a line end
// (a line end becomes a blank), or when `always`.
std::string csvText(const std::string& utf8, const CsvDialect& dialect, bool always = false) {
    if (!always &&
        utf8.find_first_of(std::string{dialect.separator, '"', '\n', '\r'}) == std::string::npos)
        return utf8;
    std::string s = "\"";
    for (char c : utf8) {
        if (c == '"')
            s += '"';
        s += c == '\n' || c == '\r' ? ' ' : c;
    }
    return s + '"';
}

// A number field in the dialect: empty for a number that is not finite.
std::string csvNumber(double v, const CsvDialect& dialect) {
    if (!std::isfinite(v))
        return {};
    if (dialect.decimalSeparator == '.')
        return shortestNumber(v);
    // Spreadsheets read plain decimals in every locale: no exponent.
    char buf[512];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    std::string s = r.ec == std::errc() ? std::string(buf, r.ptr) : shortestNumber(v);
    std::replace(s.begin(), s.end(), '.', dialect.decimalSeparator);
    return s;
}

// The numbers of a line after its value, in the columns' order.
std::array<double, WallRows + 3> lineNumbers(const SweepLine& line) {
    std::array<double, WallRows + 3> n{};
    n[0] = line.totalResistance;
    std::copy(line.boundaryTemps.begin(), line.boundaryTemps.end(), n.begin() + 1);
    n[WallRows + 1] = line.fireTempOuter;
    n[WallRows + 2] = line.fireTempInner;
    return n;
}

std::string withUnit(const std::string& name, const char* unit) {
    return name + " [" + toUtf8(unit) + "]";
}

} // namespace

SweepSpec parseSweep(std::string_view argument) {
    const auto eq = argument.find('=');
    if (eq == std::string_view::npos)
        throw BadArgument("--sweep vuole RIGA=DA:A:PASSO");
    SweepSpec spec;
    const auto row = findInputRow(argument.substr(0, eq));
    if (!row)
        throw BadArgument("riga sconosciuta in --sweep: \"" + std::string(argument.substr(0, eq)) +
                          "\" (0..11 o una chiave di --help)");
    spec.row = *row;
    const std::string_view range = argument.substr(eq + 1);
    const auto c1 = range.find(':');
    const auto c2 = c1 == std::string_view::npos ? c1 : range.find(':', c1 + 1);
    if (c2 == std::string_view::npos || range.find(':', c2 + 1) != std::string_view::npos)
        throw BadArgument("--sweep vuole RIGA=DA:A:PASSO");
    const std::string_view fromText = range.substr(0, c1);
    const std::string_view toText = range.substr(c1 + 1, c2 - c1 - 1);
    const std::string_view stepText = range.substr(c2 + 1);
    const double from = sweepNumber(fromText, "inizio");
    const double to = sweepNumber(toText, "fine");
    const double step = sweepNumber(stepText, "passo");
    if (step == 0.0 || (to - from) / step < 0.0)
        throw BadArgument("il passo di --sweep non porta da " + std::string(fromText) + " a " +
                          std::string(toText));
    const double steps = std::floor((to - from) / step + 1e-9);
    if (!(steps < static_cast<double>(MaxSweepValues)))
        throw BadArgument("troppi valori in --sweep (al massimo " + std::to_string(MaxSweepValues) +
                          ")");
    spec.from = from;
    spec.to = to;
    spec.step = step;
    spec.count = static_cast<std::size_t>(steps) + 1;
    spec.decimals = std::max(writtenDecimals(fromText), writtenDecimals(stepText));
    return spec;
}

std::string SweepSpec::text(std::size_t i) const {
    std::string t = formatFixed(from + static_cast<double>(i) * step, 0, decimals);
    if (t.find_first_not_of("-0.") == std::string::npos)
        t = formatFixed(0.0, 0, decimals); // no "-0"
    return t;
}

std::size_t runSweep(Session& session, const SweepSpec& spec,
                     const std::function<void(const SweepLine&)>& take) {
    std::size_t stopped = 0;
    for (std::size_t i = 0; i < spec.count; ++i) {
        SweepLine line;
        line.text = spec.text(i);
        line.value = readNumberLenient(line.text);
        session.sheet.input(spec.row) = line.text;
        try {
            // What "Calcola" leaves for the next calculation: the solver and
            // the inputs as read; the grid and the memos are not written.
            CalculationOutcome outcome = solveCalculation(session);
            session.solver = outcome.solver;
            session.input = outcome.input;
            const CalcResult& r = session.solver.result();
            line.totalResistance = r.totalResistance;
            line.boundaryTemps = r.boundaryTemps;
            line.fireTempOuter = r.fireTempOuter;
            line.fireTempInner = r.fireTempInner;
            line.fireRangeOuter = r.fireRangeOuter;
            line.fireRangeInner = r.fireRangeInner;
            line.layerWarnings = failedLayerChecks(layerChecks(session));
        } catch (const CalculationStopped& e) {
            line.stopped = e.what();
            ++stopped;
        }
        take(line);
    }
    return stopped;
}

std::vector<SweepLine> runSweep(Session& session, const SweepSpec& spec) {
    std::vector<SweepLine> lines;
    lines.reserve(spec.count);
    runSweep(session, spec, [&](const SweepLine& line) { lines.push_back(line); });
    return lines;
}

std::string sweepCsvHeader(InputRow row, const CsvDialect& dialect) {
    std::vector<std::string> names = {withUnit(inputRowSpec(row).key, inputUnit(row)),
                                      withUnit("R_totale", units::Resistance)};
    for (int t = 1; t <= WallRows; ++t)
        names.push_back(withUnit("T" + std::to_string(t), units::Celsius));
    names.push_back(withUnit("T_fuoco_est", units::Celsius));
    names.push_back(withUnit("T_fuoco_int", units::Celsius));
    names.emplace_back("avvisi_strati");
    names.emplace_back("fuori_campo_est");
    names.emplace_back("fuori_campo_int");
    names.emplace_back("messaggio");
    std::string out = dialect.byteOrderMark ? "\xEF\xBB\xBF" : "";
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i ? std::string(1, dialect.separator) : "") + csvText(names[i], dialect);
    return out + dialect.lineEnd;
}

std::string sweepCsvLine(const SweepLine& line, const CsvDialect& dialect) {
    std::string value = toUtf8(line.text);
    std::replace(value.begin(), value.end(), '.', dialect.decimalSeparator);
    std::string out = csvText(value, dialect);
    const char sep = dialect.separator;
    for (double n : lineNumbers(line))
        out += sep + (line.stopped ? std::string() : csvNumber(n, dialect));
    out += sep + (line.stopped ? std::string() : std::to_string(line.layerWarnings));
    out += sep + (line.stopped ? std::string() : fireRangeWord(line.fireRangeOuter));
    out += sep + (line.stopped ? std::string() : fireRangeWord(line.fireRangeInner));
    out += sep + (line.stopped ? csvText(printableText(toUtf8(*line.stopped)), dialect, true)
                               : std::string());
    return out + dialect.lineEnd;
}

Json sweepJsonHead(const Session& loaded, const SweepSpec& spec) {
    Json doc = documentHead(loaded.sheet);
    const char* unit = inputUnit(spec.row);
    doc["units"] = unitsJson({{"from", unit},
                              {"to", unit},
                              {"step", unit},
                              {"count", units::Count},
                              {"totalResistance", units::Resistance},
                              {"boundaryTemperatures", units::Celsius},
                              {"fireTempOuter", units::Celsius},
                              {"fireTempInner", units::Celsius},
                              {"layerWarnings", units::Count}});
    doc["sweep"] = {{"row", static_cast<int>(spec.row)},
                    {"key", inputRowSpec(spec.row).key},
                    {"label", jsonText(inputName(spec.row))},
                    {"from", jsonNumber(spec.from)},
                    {"to", jsonNumber(spec.to)},
                    {"step", jsonNumber(spec.step)},
                    {"count", spec.count}};
    return doc;
}

Json sweepJsonRow(const SweepLine& line, InputRow row) {
    Json item = {{"key", inputRowSpec(row).key},
                 {"text", jsonText(line.text)},
                 {"value", jsonNumber(line.value)}};
    if (line.stopped) {
        item["stopped"] = jsonText(*line.stopped);
        return item;
    }
    item["totalResistance"] = jsonNumber(line.totalResistance);
    Json temps = Json::array();
    for (double t : line.boundaryTemps)
        temps.push_back(jsonNumber(t));
    item["boundaryTemperatures"] = temps;
    item["fireTempOuter"] = jsonNumber(line.fireTempOuter);
    item["fireTempInner"] = jsonNumber(line.fireTempInner);
    item["fireOuterOutOfRange"] = fireRangeJson(line.fireRangeOuter);
    item["fireInnerOutOfRange"] = fireRangeJson(line.fireRangeInner);
    item["layerWarnings"] = line.layerWarnings;
    return item;
}

std::size_t writeSweep(Session& session, const SweepSpec& spec, SweepFormat format,
                       const ContentWriter& write) {
    if (format == SweepFormat::JsonDocument) {
        JsonArrayStream stream(sweepJsonHead(session, spec), "rows", write);
        const std::size_t stopped = runSweep(session, spec, [&](const SweepLine& line) {
            stream.item(sweepJsonRow(line, spec.row));
        });
        stream.finish();
        return stopped;
    }
    const CsvDialect& dialect = format == SweepFormat::CsvItalian ? ItalianCsv : PlainCsv;
    write(sweepCsvHeader(spec.row, dialect));
    return runSweep(session, spec,
                    [&](const SweepLine& line) { write(sweepCsvLine(line, dialect)); });
}

bool isThicknessRow(InputRow row) {
    return row >= InputRow::InsulationThickness && row <= InputRow::Screen2Thickness;
}

MinThickness findMinThickness(const Session& loaded, InputRow row, double flueTemp) {
    MinThickness answer;
    std::map<int, std::size_t> tried; // millimetres, their trial
    auto trial = [&](int mm) -> const ThicknessTrial& {
        if (auto it = tried.find(mm); it != tried.end())
            return answer.trials[it->second];
        Session copy = loaded;
        copy.sheet.input(row) = std::to_string(mm);
        const CalculationOutcome outcome = solveCalculation(copy);
        ThicknessTrial t;
        t.millimetres = mm;
        t.fireTempOuter = outcome.outer.temperature;
        t.fireTempInner = outcome.inner.temperature;
        t.outerLine = fireTempLine(FireSearchKind::Outer, outcome.outer);
        t.innerLine = fireTempLine(FireSearchKind::Inner, outcome.inner);
        tried.emplace(mm, answer.trials.size());
        answer.trials.push_back(std::move(t));
        return answer.trials.back();
    };
    auto reaches = [&](int mm) { return trial(mm).fireTempOuter >= flueTemp; };
    if (reaches(0)) {
        answer.found = trial(0);
        return answer;
    }
    if (!reaches(MaxSearchedThickness))
        return answer;
    int lo = 0, hi = MaxSearchedThickness; // lo does not reach, hi does
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        (reaches(mid) ? hi : lo) = mid;
    }
    answer.found = trial(hi);
    return answer;
}

namespace {

Json minThicknessHead(const Session& loaded, InputRow row, double flueTemp) {
    Json doc = documentHead(loaded.sheet);
    doc["units"] = unitsJson({{"flueTemperature", units::Celsius},
                              {"range", units::Millimetre},
                              {"thickness", units::Millimetre},
                              {"temperature", units::Celsius},
                              {"fireTempOuter", units::Celsius},
                              {"fireTempInner", units::Celsius}});
    doc["search"] = {{"row", static_cast<int>(row)},
                     {"key", inputRowSpec(row).key},
                     {"label", jsonText(inputName(row))},
                     {"flueTemperature", jsonNumber(flueTemp)},
                     {"range", {0, MaxSearchedThickness}}};
    return doc;
}

} // namespace

Json minThicknessJson(const Session& loaded, InputRow row, double flueTemp,
                      const MinThickness& answer) {
    Json doc = minThicknessHead(loaded, row, flueTemp);
    if (answer.found) {
        const ThicknessTrial& t = *answer.found;
        doc["thickness"] = t.millimetres;
        doc["fireResistance"] = {
            {"outer",
             {{"temperature", jsonNumber(t.fireTempOuter)}, {"line", jsonText(t.outerLine)}}},
            {"inner",
             {{"temperature", jsonNumber(t.fireTempInner)}, {"line", jsonText(t.innerLine)}}}};
    } else {
        doc["thickness"] = nullptr;
        doc["fireResistance"] = nullptr;
    }
    Json trials = Json::array();
    for (const ThicknessTrial& t : answer.trials)
        trials.push_back({{"thickness", t.millimetres},
                          {"fireTempOuter", jsonNumber(t.fireTempOuter)},
                          {"fireTempInner", jsonNumber(t.fireTempInner)},
                          {"reaches", t.fireTempOuter >= flueTemp}});
    doc["trials"] = trials;
    return doc;
}

Json stoppedMinThicknessJson(const Session& loaded, InputRow row, double flueTemp,
                             std::string_view stopped) {
    Json doc = minThicknessHead(loaded, row, flueTemp);
    doc["stopped"] = jsonText(stopped);
    return doc;
}

} // namespace camini
