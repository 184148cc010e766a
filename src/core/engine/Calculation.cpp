#include "Calculation.h"

#include "ChimneyInput.h"
#include "ResultsGrid.h"
#include "Session.h"
#include "WallSolver.h"
#include "Worksheet.h"
#include "common/FixedPoint.h"
#include "common/Messages.h"
#include "materials/MaterialArchive.h"

#include <cmath>

namespace camini {

namespace {

// The label of an input row without its padding, for messages.
std::string inputName(int row) {
    std::string s = inputLabel(row);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

[[noreturn]] void stop(const std::string& why) {
    throw CalculationStopped("calcolo interrotto: " + why);
}

struct SearchConstants {
    double upper;  // upper end of the bracket
    int faceIndex; // boundary temperature watched (index into boundaryTemps)
    double ChimneyInput::*target;
};

double search(const Worksheet& sheet, WallSolver& solver, MaterialArchive& archive,
              const SearchConstants& k, int* solutions) {
    ChimneyInput in = readChimneyInput(sheet);
    checkInputs(in, archive);
    const double target = in.*k.target;
    double low = 0;
    double high = k.upper;
    in.flueGasTemp = (low + high) / 2;
    int n = 0;
    double face = 0;
    do {
        ++n;
        solveWallChecked(solver, in, archive);
        face = solver.result().boundaryTemps[static_cast<std::size_t>(k.faceIndex)];
        if (face < target)
            low = in.flueGasTemp;
        if (face > target)
            high = in.flueGasTemp;
        if (std::fabs(face - target) > 1.0)
            in.flueGasTemp = (low + high) / 2;
    } while (n <= 100 && std::fabs(face - target) >= 1.0);
    if (solutions)
        *solutions = n;
    return in.flueGasTemp;
}

const SearchConstants outerSearch{1800, 5, &ChimneyInput::outerFaceLimit};
const SearchConstants innerSearch{3500, 2, &ChimneyInput::gapFaceLimit};

const char* const outerPrefix = "temp per resistenza al fuoco(est)=";
const char* const innerPrefix = "temp per resistenza al fuoco(int)=";

// The checked layers: name, material slot in the worksheet, mean temperature
// index in CalcResult::layerMeanTemps.
struct CheckedLayer {
    const char* name;
    MaterialLayer layer;
    std::size_t meanIndex;
};
constexpr CheckedLayer insulationCheck{"isolante", InsulationLayer, 0};
constexpr CheckedLayer gapCheck{"asola tecnica", TechnicalGapLayer, 2};
constexpr CheckedLayer screen1Check{"schermo 1", Screen1Layer, 3};
constexpr CheckedLayer screen2Check{"schermo 2", Screen2Layer, 4};

} // namespace

void checkInputs(const ChimneyInput& in, const MaterialArchive& archive) {
    for (int r = 0; r < InputRows; ++r)
        if (!std::isfinite(in.value(r)))
            stop("valore non valido in \"" + inputName(r) + "\"");
    if (in.innerDiameter <= 0)
        stop("il diametro interno deve essere maggiore di 0 (\"" + inputName(2) + "\")");
    if (in.outerCoefficient == 0)
        stop("il coefficiente liminare esterno non pu\xF2 essere 0 (\"" + inputName(4) + "\")");

    // Each ring must keep a positive outer diameter; a negative thickness
    // that closes it makes the logarithm undefined.
    const double s2 = in.singleWall ? 0.0 : in.insulationThickness;
    struct Ring {
        int row;
        double thickness;
    };
    const Ring rings[] = {{5, s2},
                          {6, in.airGapThickness},
                          {7, in.technicalGapThickness},
                          {8, in.screen1Thickness},
                          {9, in.screen2Thickness}};
    double d = in.innerDiameter;
    for (const Ring& ring : rings) {
        d = d + 2 * ring.thickness;
        if (!(d > 0))
            stop("lo spessore \"" + inputName(ring.row) +
                 "\" chiude la parete (diametro non positivo)");
    }
    if (!std::isfinite(in.innerDiameter / (d * in.outerCoefficient)))
        stop("resistenza dello strato liminare esterno non definita (\"" + inputName(4) + "\")");

    // Solid layers of non-zero thickness need a conductivity.
    struct Solid {
        const char* name;
        int material;
        double thickness;
    };
    const Solid solids[] = {{"isolante", in.insulationMaterial, s2},
                            {"asola tecnica", in.technicalGapMaterial, in.technicalGapThickness},
                            {"schermo 1", in.screen1Material, in.screen1Thickness},
                            {"schermo 2", in.screen2Material, in.screen2Thickness}};
    for (const Solid& s : solids) {
        if (s.thickness != 0 && archive.pointCount(s.material) == 0)
            stop("il materiale n. " + std::to_string(s.material) + " dello strato \"" + s.name +
                 "\" non ha punti in archivio");
    }
}

void solveWallChecked(WallSolver& solver, const ChimneyInput& in, MaterialArchive& archive) {
    for (int pass = 0; pass < 6; ++pass) {
        solver.solvePass(in, archive);
        const CalcResult& c = solver.result();
        if (c.totalResistance == 0)
            stop("resistenza totale nulla");
        if (!c.finite())
            stop("risultato non definito con questi dati");
    }
}

double searchFireTempOuter(const Worksheet& sheet, WallSolver& solver, MaterialArchive& archive,
                           int* solutions) {
    return search(sheet, solver, archive, outerSearch, solutions);
}

double searchFireTempInner(const Worksheet& sheet, WallSolver& solver, MaterialArchive& archive,
                           int* solutions) {
    return search(sheet, solver, archive, innerSearch, solutions);
}

std::string fireTempLine(const std::string& prefix, double temperature) {
    std::string line = prefix;
    appendFixed(line, temperature, 7, 1);
    line += "\xB0"
            "C";
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

void checkLayerTemperature(Session& session, Messages& messages, CheckDestination destination,
                           int material, const std::string& layerName, double meanTemperature) {
    auto text = layerCheckText(session.archive, material, layerName, meanTemperature);
    if (!text)
        return;
    if (destination == CheckDestination::MessageBox)
        messages.message(*text);
    else
        session.viewer.append(*text);
}

void runLayerChecks(Session& session, Messages& messages, CheckDestination destination) {
    const auto& means = session.solver.result().layerMeanTemps;
    auto run = [&](const CheckedLayer& l) {
        checkLayerTemperature(session, messages, destination, session.sheet.materials[l.layer],
                              l.name, means[l.meanIndex]);
    };
    run(insulationCheck);
    run(gapCheck);
    if (destination == CheckDestination::Report)
        run(screen1Check);
    run(screen2Check);
}

std::optional<std::string> calculate(Session& session, Messages& messages) {
    // Work on a copy of the solver so that a calculation that stops leaves
    // the session as it was.
    WallSolver solver = session.solver;
    ChimneyInput input;
    std::string outerLine, innerLine;
    try {
        double outer = searchFireTempOuter(session.sheet, solver, session.archive);
        outerLine = fireTempLine(outerPrefix, outer);
        double inner = searchFireTempInner(session.sheet, solver, session.archive);
        innerLine = fireTempLine(innerPrefix, inner);
        input = readChimneyInput(session.sheet);
        solveWallChecked(solver, input, session.archive);
        solver.result().fireTempOuter = outer;
        solver.result().fireTempInner = inner;
    } catch (const CalculationStopped& e) {
        messages.error(e.what());
        return std::string(e.what());
    }

    Worksheet& sheet = session.sheet;
    session.viewer.clear();
    sheet.memo1 = {outerLine, innerLine};
    showMaterialChoices(sheet, session.archive);
    session.solver = solver;
    session.input = input;
    writeResultsGrid(solver.result(), input.singleWall, sheet.results);
    sheet.calculated = true;
    runLayerChecks(session, messages, CheckDestination::MessageBox);
    return std::nullopt;
}

} // namespace camini
