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
    return {in.flueGasTemp, n};
}

const char* const OuterFirePrefix = "temp per resistenza al fuoco(est)=";
const char* const InnerFirePrefix = "temp per resistenza al fuoco(int)=";

void checkInputs(const ChimneyInput& in, const MaterialArchive& archive) {
    for (const InputRowSpec& spec : inputRowTable)
        if (!std::isfinite(in.*spec.field))
            stop("valore non valido in " + quoted(spec.row));
    if (in.innerDiameter <= 0)
        stop("il diametro interno deve essere maggiore di 0 (" + quoted(InputRow::InnerDiameter) +
             ")");
    if (in.outerCoefficient == 0)
        stop("il coefficiente liminare esterno non pu\xF2 essere 0 (" +
             quoted(InputRow::OuterCoefficient) + ")");

    // Each ring must keep a positive outer diameter; a negative thickness
    // that closes it makes the logarithm undefined. A single wall has no
    // insulation.
    auto thickness = [&in](const LayerSpec& layer) {
        return in.singleWall && layer.material == MaterialSlot::Insulation
                   ? 0.0
                   : in.value(layer.thickness);
    };
    double d = in.innerDiameter;
    for (const LayerSpec& layer : layerTable) {
        d = d + 2 * thickness(layer);
        if (!(d > 0))
            stop("lo spessore " + quoted(layer.thickness) +
                 " chiude la parete (diametro non positivo)");
    }
    if (!std::isfinite(in.innerDiameter / (d * in.outerCoefficient)))
        stop("resistenza dello strato liminare esterno non definita (" +
             quoted(InputRow::OuterCoefficient) + ")");

    // Solid layers of non-zero thickness need a conductivity.
    for (const LayerSpec& layer : layerTable) {
        if (!layer.material)
            continue;
        const int material = in.*layer.inputMaterial;
        if (thickness(layer) != 0 && archive.pointCount(material) == 0)
            stop("il materiale n. " + std::to_string(material) + " dello strato \"" + layer.name +
                 "\" non ha punti in archivio");
    }
}

void solveWallChecked(WallSolver& solver, const ChimneyInput& in, const MaterialArchive& archive) {
    for (int pass = 0; pass < SolverPasses; ++pass) {
        solver.solvePass(in, archive);
        const CalcResult& c = solver.result();
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
        check->failure =
            layerCheckText(session.archive, check->material, layer.name, check->meanTemperature);
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
    sheet.fireResistanceLines = {fireTempLine(OuterFirePrefix, outcome.outer.temperature),
                                 fireTempLine(InnerFirePrefix, outcome.inner.temperature)};
    showMaterialChoices(sheet, session.archive);
    session.solver = outcome.solver;
    session.input = outcome.input;
    const WallSolver& solver = session.solver;
    const ChimneyInput& input = session.input;
    writeResultsGrid(solver.result(), input.singleWall, sheet.results);
    sheet.calculated = true;
    session.calculatedFrom = basisOf(session);
    for (const LayerCheck& check : layerChecks(session))
        if (check.failure && check.layer->checkedByCalculation)
            messages.message(*check.failure);
    if (auto warning = airGapWarning(solver.result(), input))
        messages.message(*warning);
    return true;
}

} // namespace camini
