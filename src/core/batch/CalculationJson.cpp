#include "CalculationJson.h"

#include "common/Cp1252.h"
#include "common/Version.h"
#include "engine/Calculation.h"
#include "engine/ChimneyInput.h"
#include "engine/Session.h"

#include <cmath>
#include <numbers>

namespace camini {

namespace {

using json = nlohmann::ordered_json;

json text(const std::string& cp1252) {
    return toUtf8(cp1252);
}

// A number, or null for one that is not finite (JSON has no such numbers).
json number(double v) {
    return std::isfinite(v) ? json(v) : json(nullptr);
}

const LayerSpec* layerAtRow(int wallRow) {
    for (const LayerSpec& layer : layerTable)
        if (layer.wallRow == wallRow)
            return &layer;
    return nullptr;
}

json inputsJson(const Session& session) {
    // The numbers as the reader takes them from the texts, before the
    // diameter rule (which `innerDiameterUsed` shows).
    Worksheet typed = session.sheet;
    typed.raiseSmallDiameter = false;
    const ChimneyInput read = readChimneyInput(typed);
    json rows = json::array();
    for (const InputRowSpec& spec : inputRowTable) {
        rows.push_back({{"row", static_cast<int>(spec.row)},
                        {"key", spec.key},
                        {"label", text(spec.label)},
                        {"text", text(session.sheet.input(spec.row))},
                        {"value", number(read.value(spec.row))}});
    }
    return rows;
}

json wallRowJson(const Session& session, int wallRow) {
    const CalcResult& r = session.solver.result();
    const ChimneyInput& in = session.input;
    const std::size_t i = wallIndex(wallRow);
    json row = {{"row", wallRow}, {"name", text(resultRowName(wallRow))}};
    const LayerSpec* layer = layerAtRow(wallRow);
    row["kind"] = layer ? "layer" : "film";
    if (layer) {
        row["key"] = inputRowSpec(layer->thickness).key;
        row["thickness"] = number(in.value(layer->thickness));
        if (layer->material) {
            const int m = session.sheet.material(*layer->material);
            row["material"] = {{"number", m},
                               {"description", text(session.archive.description(m))}};
            row["conductivity"] = number(r.conductivities[index(*layer->material)]);
        } else {
            row["material"] = nullptr;
            row["conductivity"] = nullptr;
            row["unitResistance"] = number(r.airGapUnitResistance);
        }
        row["meanTemperature"] = number(r.layerMeanTemps[layer->meanIndex()]);
    } else {
        row["coefficient"] = number(in.value(wallRow == InnerFilmRow ? InputRow::InnerCoefficient
                                                                     : InputRow::OuterCoefficient));
    }
    row["resistance"] = number(r.resistances[i]);
    row["temperatureDrop"] = number(r.drops[i]);
    row["temperatureBefore"] = number(i == 0 ? in.flueGasTemp : r.boundaryTemps[i - 1]);
    row["temperatureAfter"] = number(r.boundaryTemps[i]);
    // Row 1 has no inner diameter and row 7 no outer one.
    row["innerDiameter"] = wallRow == InnerFilmRow ? json(nullptr) : number(r.innerDiameters[i]);
    row["outerDiameter"] = wallRow == OuterFilmRow ? json(nullptr) : number(r.outerDiameters[i]);
    return row;
}

json layerChecksJson(const Session& session) {
    json checks = json::array();
    for (const LayerCheck& check : layerChecks(session)) {
        const int m = check.material;
        checks.push_back(
            {{"layer", text(check.layer->name)},
             {"material", m},
             {"meanTemperature", number(check.meanTemperature)},
             {"highestTemperature",
              session.archive.pointCount(m) ? number(session.archive.tempMax(m)) : json(nullptr)},
             {"passed", !check.failure},
             {"message", check.failure ? text(*check.failure) : json(nullptr)}});
    }
    return checks;
}

json fireSearchJson(FireSearchKind kind, const char* face, double temperature,
                    const std::string& line, const ChimneyInput& in) {
    const FireSearchSpec& search = fireSearch(kind);
    return {{"face", face},
            {"limit", number(in.value(search.limit))},
            {"bracket", {0, search.bracketHigh}},
            {"temperature", number(temperature)},
            {"line", text(line)}};
}

} // namespace

json calculationJson(const Session& session, const std::vector<std::string>& messages) {
    const CalcResult& r = session.solver.result();
    const ChimneyInput& in = session.input;
    const Worksheet& sheet = session.sheet;

    json doc;
    doc["program"] = "camini-calc";
    doc["version"] = ProgramVersion;
    doc["projectTitle"] = text(sheet.projectTitle);
    doc["ticks"] = {{"squareSection", sheet.squareSection},
                    {"singleWall", sheet.singleWall},
                    {"raiseSmallDiameter", sheet.raiseSmallDiameter}};
    doc["inputs"] = inputsJson(session);
    doc["innerDiameterUsed"] = number(in.innerDiameter);
    json rows = json::array();
    for (int row = InnerFilmRow; row <= OuterFilmRow; ++row)
        rows.push_back(wallRowJson(session, row));
    doc["wall"] = rows;
    doc["totalResistance"] = number(r.totalResistance);
    doc["temperatureDifference"] = number(in.flueGasTemp - in.ambientTemp);
    doc["heatFlux"] = number(r.heatFlux);
    // Per metre of chimney: the flux times the inner surface of one metre of
    // a round flue of the diameter used (pi d0, d0 in metres).
    doc["heatFlowPerMetre"] = number(r.heatFlux * std::numbers::pi * in.innerDiameter / 1000.0);

    const std::string outerLine =
        sheet.fireResistanceLines.size() > 0 ? sheet.fireResistanceLines[0] : "";
    const std::string innerLine =
        sheet.fireResistanceLines.size() > 1 ? sheet.fireResistanceLines[1] : "";
    doc["fireResistance"] = {
        {"outer", fireSearchJson(FireSearchKind::Outer, "superficie esterna (T6)", r.fireTempOuter,
                                 outerLine, in)},
        {"inner", fireSearchJson(FireSearchKind::Inner, "faccia interna dell'asola tecnica (T3)",
                                 r.fireTempInner, innerLine, in)},
    };
    doc["layerChecks"] = layerChecksJson(session);
    json said = json::array();
    for (const std::string& m : messages)
        said.push_back(text(m));
    doc["messages"] = said;
    return doc;
}

} // namespace camini
