#include "Sweep.h"

#include "common/Cp1252.h"
#include "common/FixedPoint.h"
#include "common/NumberReader.h"
#include "engine/Calculation.h"
#include "engine/Session.h"

#include <charconv>
#include <cmath>
#include <map>

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

std::string csvQuoted(const std::string& utf8) {
    std::string s = "\"";
    for (char c : utf8) {
        if (c == '"')
            s += '"';
        s += c == '\n' || c == '\r' ? ' ' : c;
    }
    return s + '"';
}

} // namespace

std::string shortestNumber(double v) {
    if (!std::isfinite(v))
        return "nan";
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

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
    const int decimals = std::max(writtenDecimals(fromText), writtenDecimals(stepText));
    const auto count = static_cast<std::size_t>(steps) + 1;
    spec.texts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string t = formatFixed(from + static_cast<double>(i) * step, 0, decimals);
        if (t.find_first_not_of("-0.") == std::string::npos)
            t = formatFixed(0.0, 0, decimals); // no "-0"
        spec.texts.push_back(std::move(t));
    }
    return spec;
}

std::vector<SweepLine> runSweep(Session& session, const SweepSpec& spec) {
    std::vector<SweepLine> lines;
    lines.reserve(spec.texts.size());
    for (const std::string& text : spec.texts) {
        SweepLine line;
        line.text = text;
        line.value = readNumberLenient(text);
        session.sheet.input(spec.row) = text;
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
            line.layerWarnings = failedLayerChecks(layerChecks(session));
        } catch (const CalculationStopped& e) {
            line.stopped = e.what();
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string sweepCsv(const std::vector<SweepLine>& lines, InputRow row) {
    std::string out = inputRowSpec(row).key;
    out += ",R_totale,T1,T2,T3,T4,T5,T6,T7,T_fuoco_est,T_fuoco_int,avvisi_strati\n";
    for (const SweepLine& line : lines) {
        out += toUtf8(line.text);
        if (line.stopped) {
            out += ',' + csvQuoted(toUtf8(*line.stopped)) + '\n';
            continue;
        }
        out += ',' + shortestNumber(line.totalResistance);
        for (double t : line.boundaryTemps)
            out += ',' + shortestNumber(t);
        out += ',' + shortestNumber(line.fireTempOuter);
        out += ',' + shortestNumber(line.fireTempInner);
        out += ',' + std::to_string(line.layerWarnings);
        out += '\n';
    }
    return out;
}

nlohmann::ordered_json sweepJson(const std::vector<SweepLine>& lines, InputRow row) {
    auto number = [](double v) {
        return std::isfinite(v) ? nlohmann::ordered_json(v) : nlohmann::ordered_json(nullptr);
    };
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const SweepLine& line : lines) {
        nlohmann::ordered_json item = {{"key", inputRowSpec(row).key},
                                       {"text", toUtf8(line.text)},
                                       {"value", number(line.value)}};
        if (line.stopped) {
            item["stopped"] = toUtf8(*line.stopped);
        } else {
            item["totalResistance"] = number(line.totalResistance);
            nlohmann::ordered_json temps = nlohmann::ordered_json::array();
            for (double t : line.boundaryTemps)
                temps.push_back(number(t));
            item["boundaryTemperatures"] = temps;
            item["fireTempOuter"] = number(line.fireTempOuter);
            item["fireTempInner"] = number(line.fireTempInner);
            item["layerWarnings"] = line.layerWarnings;
        }
        array.push_back(std::move(item));
    }
    return array;
}

bool isThicknessRow(InputRow row) {
    return row >= InputRow::InsulationThickness && row <= InputRow::Screen2Thickness;
}

std::optional<MinThickness> findMinThickness(const Session& loaded, InputRow row, double flueTemp) {
    std::map<int, MinThickness> tried;
    auto trial = [&](int mm) -> const MinThickness& {
        if (auto it = tried.find(mm); it != tried.end())
            return it->second;
        Session copy = loaded;
        copy.sheet.input(row) = std::to_string(mm);
        const CalculationOutcome outcome = solveCalculation(copy);
        MinThickness t;
        t.millimetres = mm;
        t.fireTempOuter = outcome.outer.temperature;
        t.fireTempInner = outcome.inner.temperature;
        t.outerLine = fireTempLine(OuterFirePrefix, t.fireTempOuter);
        t.innerLine = fireTempLine(InnerFirePrefix, t.fireTempInner);
        return tried.emplace(mm, std::move(t)).first->second;
    };
    auto reaches = [&](int mm) { return trial(mm).fireTempOuter >= flueTemp; };
    if (reaches(0))
        return trial(0);
    if (!reaches(MaxSearchedThickness))
        return std::nullopt;
    int lo = 0, hi = MaxSearchedThickness; // lo does not reach, hi does
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        (reaches(mid) ? hi : lo) = mid;
    }
    return trial(hi);
}

} // namespace camini
