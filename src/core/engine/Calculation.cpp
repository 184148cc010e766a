#include "Calculation.h"

#include "ChimneyInput.h"
#include "ResultsGrid.h"
#include "Session.h"
#include "WallSolver.h"
#include "Worksheet.h"
#include "common/Cp1252.h"
#include "common/FixedPoint.h"
#include "common/Messages.h"
#include "materials/MaterialArchive.h"

#include <cmath>

namespace camini {

namespace {

[[noreturn]] void stop(const std::string& why) {
    throw CalculationStopped("calcolo interrotto: " + why);
}

std::string quoted(InputRow row) {
    return "\"" + inputName(row) + "\"";
}

} // namespace

FireSearch searchFireTemp(FireSearchKind kind, const Worksheet& sheet, WallSolver& solver,
                          const MaterialArchive& archive) {
    const FireSearchSpec& k = fireSearch(kind);
    ChimneyInput in = readChimneyInput(sheet);
    checkInputs(in, archive);
    const double target = in.value(k.limit);
    const std::size_t face = k.watchedTemperature();
    double low = 0;
    double high = k.bracketHigh;
    in.flueGasTemp = (low + high) / 2;
    int n = 0;
    double t = 0;
    do {
        ++n;
        solveWallChecked(solver, in, archive);
        t = solver.result().boundaryTemps[face];
        if (t < target)
            low = in.flueGasTemp;
        if (t > target)
            high = in.flueGasTemp;
        if (std::fabs(t - target) > 1.0)
            in.flueGasTemp = (low + high) / 2;
    } while (n <= 100 && std::fabs(t - target) >= 1.0);
    // Not met, and pressed against an end of the bracket: the limit lies
    // beyond it. A search that stops inside the bracket keeps its answer.
    FireRange range = FireRange::Inside;
    if (std::fabs(t - target) >= 1.0) {
        if (std::fabs(in.flueGasTemp - k.bracketHigh) <= 1.0)
            range = FireRange::Above;
        else if (std::fabs(in.flueGasTemp) <= 1.0)
            range = FireRange::Below;
    }
    return {in.flueGasTemp, n, range};
}

const char* const OuterFirePrefix = "temp per resistenza al fuoco(est)=";
const char* const InnerFirePrefix = "temp per resistenza al fuoco(int)=";

void checkInputs(const ChimneyInput& in, const MaterialArchive& archive) {
    // The rows in order: the first value without a physical meaning stops.
    for (const InputRowSpec& spec : inputRowTable) {
        const double v = in.*spec.field;
        if (!std::isfinite(v))
            stop("valore non valido in " + quoted(spec.row));
        const std::string named = quoted(spec.row) + " = " + shortestNumber(v) + ": ";
        switch (spec.bound) {
        case InputBound::Any:
            break;
        case InputBound::AbsoluteZero:
            if (v < AbsoluteZeroCelsius)
                stop(named + "non pu\xF2 essere sotto lo zero assoluto (-273.15" + DegreesCelsius +
                     ")");
            break;
        case InputBound::Positive:
            if (!(v > 0))
                stop(named + "deve essere maggiore di 0");
            break;
        case InputBound::NotNegative:
            if (v < 0)
                stop(named + "non pu\xF2 essere negativo");
            break;
        }
    }

    // With positive diameters and coefficients and no negative thickness
    // every ring is open; the outer film's resistance may still overflow.
    double d = in.innerDiameter;
    for (const LayerSpec& layer : layerTable)
        d = d + 2 * in.thicknessUsed(layer);
    if (!std::isfinite(in.innerDiameter / (d * in.outerCoefficient)) ||
        !std::isfinite(1 / in.innerCoefficient))
        stop("resistenza di uno strato liminare non definita (" +
             quoted(InputRow::InnerCoefficient) + ", " + quoted(InputRow::OuterCoefficient) + ")");

    // Solid layers of non-zero thickness need a conductivity.
    for (const LayerSpec& layer : layerTable) {
        if (!layer.material)
            continue;
        const int material = in.*layer.inputMaterial;
        if (in.thicknessUsed(layer) != 0 && archive.pointCount(material) == 0)
            stop("il materiale n. " + std::to_string(material) + " dello strato \"" + layer.name +
                 "\" non ha punti in archivio");
    }
}

void checkConductivities(const CalcResult& c, const ChimneyInput& in,
                         const MaterialArchive& archive) {
    for (const LayerSpec& layer : layerTable) {
        if (!layer.material || in.thicknessUsed(layer) == 0)
            continue;
        const double lambda = c.conductivities[index(*layer.material)];
        if (lambda > 0 && std::isfinite(lambda))
            continue;
        const int material = in.*layer.inputMaterial;
        std::string text = "la conducibilit\xE0 del materiale n. " + std::to_string(material) +
                           " \"" + archive.description(material) + "\" dello strato \"" +
                           layer.name + "\" a ";
        appendFixed(text, c.conductivityTemps[index(*layer.material)], 0, 1);
        text += DegreesCelsius;
        text += " vale " + shortestNumber(lambda) + ": deve essere maggiore di 0";
        stop(text);
    }
}

void solveWallChecked(WallSolver& solver, const ChimneyInput& in, const MaterialArchive& archive) {
    for (int pass = 0; pass < SolverPasses; ++pass) {
        solver.solvePass(in, archive);
        const CalcResult& c = solver.result();
        checkConductivities(c, in, archive);
        if (c.totalResistance == 0)
            stop("resistenza totale nulla");
        if (!c.finite())
            stop("risultato non definito con questi dati");
    }
}

FireSearch searchFireTempOuter(const Worksheet& sheet, WallSolver& solver,
                               const MaterialArchive& archive) {
    return searchFireTemp(FireSearchKind::Outer, sheet, solver, archive);
}

FireSearch searchFireTempInner(const Worksheet& sheet, WallSolver& solver,
                               const MaterialArchive& archive) {
    return searchFireTemp(FireSearchKind::Inner, sheet, solver, archive);
}

std::string fireTempLine(std::string_view prefix, double temperature) {
    std::string line(prefix);
    appendFixed(line, temperature, 7, 1);
    line += DegreesCelsius;
    return line;
}

std::string fireTempLine(FireSearchKind kind, const FireSearch& search) {
    const char* prefix = kind == FireSearchKind::Outer ? OuterFirePrefix : InnerFirePrefix;
    if (search.range == FireRange::Inside)
        return fireTempLine(prefix, search.temperature);
    const int end = search.range == FireRange::Above ? fireSearch(kind).bracketHigh : 0;
    return std::string(prefix) + " " + fireRangeWord(search.range) + " " + std::to_string(end) +
           DegreesCelsius;
}

std::optional<std::string> layerCheckText(const MaterialArchive& archive, int material,
                                          const std::string& layerName, double meanTemperature) {
    if (archive.withinMaxTemperature(material, meanTemperature))
        return std::nullopt;
    std::string text = "temperatura media " + layerName + " =";
    appendFixed(text, meanTemperature, 6, 1);
    text += " maggiore della massima=";
    appendFixed(text, archive.tempMax(material), 6, 1);
    return text;
}

std::array<LayerCheck, MaterialSlots> layerChecks(const Session& session) {
    const auto& means = session.solver.result().layerMeanTemps;
    std::array<LayerCheck, MaterialSlots> checks;
    auto check = checks.begin();
    for (const LayerSpec& layer : layerTable) {
        if (!layer.material)
            continue;
        check->layer = &layer;
        check->material = session.sheet.material(*layer.material);
        check->meanTemperature = means[layer.meanIndex()];
        // A layer of no thickness is not there to check.
        check->checked = session.input.thicknessUsed(layer) != 0;
        if (check->checked)
            check->failure = layerCheckText(session.archive, check->material, layer.name,
                                            check->meanTemperature);
        ++check;
    }
    return checks;
}

int failedLayerChecks(const std::array<LayerCheck, MaterialSlots>& checks) {
    int n = 0;
    for (const LayerCheck& c : checks)
        if (c.failure)
            ++n;
    return n;
}

std::optional<std::string> airGapWarning(const CalcResult& result, const ChimneyInput& in) {
    const LayerSpec* gap = &airGapLayer();
    const double r = result.resistances[wallIndex(gap->wallRow)];
    if (!(r < 0))
        return std::nullopt;
    const double thickness = in.value(gap->thickness);
    std::string text = "la resistenza dello strato \"" + std::string(gap->name) +
                       "\" \xE8 negativa (" + formatFixed(r, 0, 5) +
                       " mq K/w): la sua formula non vale per lo spessore di ";
    appendFixed(text, thickness, 0, thickness == std::trunc(thickness) ? 0 : 1);
    text += " mm alla temperatura media di ";
    appendFixed(text, result.layerMeanTemps[gap->meanIndex()], 0, 1);
    text += DegreesCelsius;
    text += "; i risultati sono quelli calcolati";
    return text;
}

CalculationOutcome solveCalculation(const Session& session) {
    CalculationOutcome out{session.solver, {}, {}, {}};
    out.outer = searchFireTempOuter(session.sheet, out.solver, session.archive);
    out.inner = searchFireTempInner(session.sheet, out.solver, session.archive);
    out.input = readChimneyInput(session.sheet);
    solveWallChecked(out.solver, out.input, session.archive);
    out.solver.result().fireTempOuter = out.outer.temperature;
    out.solver.result().fireTempInner = out.inner.temperature;
    out.solver.result().fireRangeOuter = out.outer.range;
    out.solver.result().fireRangeInner = out.inner.range;
    return out;
}

bool calculate(Session& session, Messages& messages) {
    if (const auto unread = inputReadingWarnings(session.sheet); !unread.empty()) {
        std::string text;
        for (const std::string& line : unread)
            text += (text.empty() ? "" : "\n") + line;
        messages.message(text);
    }
    // Work on a copy of the solver so that a calculation that stops leaves
    // the session as it was.
    CalculationOutcome outcome;
    try {
        outcome = solveCalculation(session);
    } catch (const CalculationStopped& e) {
        // The results stay as they were, no longer current.
        session.calculatedFrom.reset();
        messages.error(e.what());
        return false;
    }

    Worksheet& sheet = session.sheet;
    session.viewer.clear();
    sheet.fireResistanceLines = {fireTempLine(FireSearchKind::Outer, outcome.outer),
                                 fireTempLine(FireSearchKind::Inner, outcome.inner)};
    showMaterialChoices(sheet, session.archive);
    session.solver = outcome.solver;
    session.input = outcome.input;
    const WallSolver& solver = session.solver;
    const ChimneyInput& input = session.input;
    writeResultsGrid(solver.result(), input.singleWall, sheet.results);
    sheet.calculated = true;
    session.calculatedFrom = basisOf(session);
    for (const LayerCheck& check : layerChecks(session))
        if (check.failure)
            messages.message(*check.failure);
    if (auto warning = airGapWarning(solver.result(), input))
        messages.message(*warning);
    return true;
}

} // namespace camini
