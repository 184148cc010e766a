#include "CalculationJson.h"

#include "Units.h"
#include "common/Cp1252.h"
#include "engine/Calculation.h"
#include "engine/ChimneyInput.h"
#include "engine/Session.h"

#include <cmath>
#include <numbers>

namespace camini {

namespace {

using json = Json;

const LayerSpec* layerAtRow(int wallRow) {
    for (const LayerSpec& layer : layerTable)
        if (layer.wallRow == wallRow)
            return &layer;
    return nullptr;
}

json wallRowJson(const Session& session, int wallRow) {
    const CalcResult& r = session.solver.result();
    const ChimneyInput& in = session.input;
    const std::size_t i = wallIndex(wallRow);
    json row = {{"row", wallRow}, {"name", jsonText(resultRowName(wallRow))}};
    const LayerSpec* layer = layerAtRow(wallRow);
    row["kind"] = layer ? "layer" : "film";
    if (layer) {
        row["key"] = inputRowSpec(layer->thickness).key;
        row["thickness"] = jsonNumber(in.value(layer->thickness));
        if (layer->material) {
            const int m = session.sheet.material(*layer->material);
            row["material"] = {{"number", m},
                               {"description", jsonText(session.archive.description(m))}};
            row["conductivity"] = jsonNumber(r.conductivities[index(*layer->material)]);
        } else {
            row["material"] = nullptr;
            row["conductivity"] = nullptr;
            row["unitResistance"] = jsonNumber(r.airGapUnitResistance);
        }
        row["meanTemperature"] = jsonNumber(r.layerMeanTemps[layer->meanIndex()]);
    } else {
        row["coefficient"] = jsonNumber(in.value(
            wallRow == InnerFilmRow ? InputRow::InnerCoefficient : InputRow::OuterCoefficient));
    }
    row["resistance"] = jsonNumber(r.resistances[i]);
    row["temperatureDrop"] = jsonNumber(r.drops[i]);
    row["temperatureBefore"] = jsonNumber(i == 0 ? in.flueGasTemp : r.boundaryTemps[i - 1]);
    row["temperatureAfter"] = jsonNumber(r.boundaryTemps[i]);
    // Row 1 has no inner diameter and row 7 no outer one.
    row["innerDiameter"] =
        wallRow == InnerFilmRow ? json(nullptr) : jsonNumber(r.innerDiameters[i]);
    row["outerDiameter"] =
        wallRow == OuterFilmRow ? json(nullptr) : jsonNumber(r.outerDiameters[i]);
    return row;
}

json layerChecksJson(const Session& session) {
    json checks = json::array();
    for (const LayerCheck& check : layerChecks(session)) {
        const int m = check.material;
        checks.push_back({{"layer", jsonText(check.layer->name)},
                          {"material", m},
                          {"meanTemperature", jsonNumber(check.meanTemperature)},
                          {"highestTemperature", session.archive.pointCount(m)
                                                     ? jsonNumber(session.archive.tempMax(m))
                                                     : json(nullptr)},
                          {"checked", check.checked},
                          {"passed", check.checked ? json(!check.failure) : json(nullptr)},
                          {"message", check.failure ? jsonText(*check.failure) : json(nullptr)}});
    }
    return checks;
}

json fireSearchJson(FireSearchKind kind, const char* face, double temperature, FireRange range,
                    const std::string& line, const ChimneyInput& in) {
    const FireSearchSpec& search = fireSearch(kind);
    // The end of the bracket the search ran into, when it did.
    json bound = nullptr;
    if (range == FireRange::Above)
        bound = search.bracketHigh;
    else if (range == FireRange::Below)
        bound = 0;
    return {{"face", face},
            {"limit", jsonNumber(in.value(search.limit))},
            {"bracket", {0, search.bracketHigh}},
            {"temperature", jsonNumber(temperature)},
            {"outOfRange", fireRangeJson(range)},
            {"bound", bound},
            {"line", jsonText(line)}};
}

json messagesJson(const std::vector<std::string>& messages) {
    json said = json::array();
    for (const std::string& m : messages)
        said.push_back(jsonText(m));
    return said;
}

// The unit of every number field of the calculation's document.
json calculationUnits() {
    return unitsJson({{"innerDiameterUsed", units::Millimetre},
                      {"thickness", units::Millimetre},
                      {"number", units::Count},
                      {"conductivity", units::Conductivity},
                      {"unitResistance", units::Resistance},
                      {"meanTemperature", units::Celsius},
                      {"coefficient", units::Coefficient},
                      {"resistance", units::Resistance},
                      {"temperatureDrop", units::Kelvin},
                      {"temperatureBefore", units::Celsius},
                      {"temperatureAfter", units::Celsius},
                      {"innerDiameter", units::Millimetre},
                      {"outerDiameter", units::Millimetre},
                      {"totalResistance", units::Resistance},
                      {"temperatureDifference", units::Kelvin},
                      {"heatFlux", units::HeatFlux},
                      {"heatFlowPerMetre", units::HeatFlowPerMetre},
                      {"limit", units::Celsius},
                      {"bracket", units::Celsius},
                      {"temperature", units::Celsius},
                      {"bound", units::Celsius},
                      {"material", units::Count},
                      {"highestTemperature", units::Celsius}});
}

} // namespace

json calculationJson(const Session& session, const std::vector<std::string>& messages) {
    const CalcResult& r = session.solver.result();
    const ChimneyInput& in = session.input;
    const Worksheet& sheet = session.sheet;

    json doc = documentHead(sheet);
    doc["units"] = calculationUnits();
    doc["innerDiameterUsed"] = jsonNumber(in.innerDiameter);
    json rows = json::array();
    for (int row = InnerFilmRow; row <= OuterFilmRow; ++row)
        rows.push_back(wallRowJson(session, row));
    doc["wall"] = rows;
    doc["totalResistance"] = jsonNumber(r.totalResistance);
    doc["temperatureDifference"] = jsonNumber(in.flueGasTemp - in.ambientTemp);
    doc["heatFlux"] = jsonNumber(r.heatFlux);
    // Per metre of chimney: the flux times the inner surface of one metre of
    // a round flue of the diameter used (pi d0, d0 in metres).
    doc["heatFlowPerMetre"] = jsonNumber(r.heatFlux * std::numbers::pi * in.innerDiameter / 1000.0);

    const std::string outerLine =
        sheet.fireResistanceLines.size() > 0 ? sheet.fireResistanceLines[0] : "";
    const std::string innerLine =
        sheet.fireResistanceLines.size() > 1 ? sheet.fireResistanceLines[1] : "";
    doc["fireResistance"] = {
        {"outer", fireSearchJson(FireSearchKind::Outer, "superficie esterna (T6)", r.fireTempOuter,
                                 r.fireRangeOuter, outerLine, in)},
        {"inner", fireSearchJson(FireSearchKind::Inner, "faccia interna dell'asola tecnica (T3)",
                                 r.fireTempInner, r.fireRangeInner, innerLine, in)},
    };
    doc["layerChecks"] = layerChecksJson(session);
    doc["messages"] = messagesJson(messages);
    return doc;
}

json stoppedCalculationJson(const Session& session, const std::vector<std::string>& messages,
                            std::string_view stopped) {
    json doc = documentHead(session.sheet);
    doc["units"] = calculationUnits();
    doc["messages"] = messagesJson(messages);
    doc["stopped"] = jsonText(stopped);
    return doc;
}

} // namespace camini
