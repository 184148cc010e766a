// camini-calc --json: the document, its schema and the report it matches.
#include "BatchFixture.h"

#include "batch/BatchJson.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>

using namespace camini;
using namespace camini::test;
using json = nlohmann::ordered_json;

namespace {

// The number in a report table cell: columns 2..7 of 10 characters after a
// name of 31 and a first column of 13.
double reportCell(const std::string& line, int column) {
    const std::size_t start = column == 1 ? 31 : 44 + static_cast<std::size_t>(column - 2) * 10;
    return std::strtod(line.substr(start, column == 1 ? 13 : 10).c_str(), nullptr);
}

// The names of the number fields of a document, at any depth (an array's
// numbers by the array's name), leaving out the units themselves.
void numberFields(const json& value, const std::string& name, std::set<std::string>& names) {
    if (value.is_number())
        names.insert(name);
    if (value.is_array())
        for (const json& item : value)
            numberFields(item, name, names);
    if (value.is_object())
        for (const auto& [key, item] : value.items())
            if (key != "units")
                numberFields(item, key, names);
}

} // namespace

// Every document --json writes, stopped ones included, is valid under its
// schema, has format version 2 and names the unit of every number field; a
// stop (of the calculation or of a trial of the search) is said on standard
// error too.
TEST(JsonDocuments, EveryOutputValidatesAndNamesTheUnitOfEveryNumber) {
    TempDir dir;
    writeFile(dir.file("zero.CAM"), exampleProject(4, "0"));
    const std::string zero = " " + shellQuote(dir.file("zero.CAM"));
    struct Case {
        std::string args;
        const char* schema;
        int status;
        bool stopped; // the document is that of a stop
    };
    const Case cases[] = {
        {"", "calcolo.schema.json", 0, false},
        {zero, "calcolo.schema.json", 3, true},
        {" --sweep 4=0:8:4", "sweep.schema.json", 3, false}, // its first value stops
        {" --sweep 0=250:300:50", "sweep.schema.json", 0, false},
        {" --min-thickness 5 --flue 500", "spessore-minimo.schema.json", 0, false},
        {" --min-thickness 5 --flue 5000", "spessore-minimo.schema.json", 4, false},
        {" --min-thickness 5 --flue 500" + zero, "spessore-minimo.schema.json", 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const auto r = runCommand(calc() + " --json -" + c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        writeFile(dir.file("doc.json"), r.out);
        EXPECT_EQ(schemaComplaint(c.schema, dir.file("doc.json")), "");
        const json doc = json::parse(r.out);
        EXPECT_EQ(doc["formatVersion"], 2);
        EXPECT_EQ(doc.contains("stopped"), c.stopped);
        EXPECT_EQ(r.err.rfind("calcolo interrotto", 0) == 0, c.stopped) << r.err;
        std::set<std::string> names;
        numberFields(doc, "", names);
        names.erase("formatVersion");
        ASSERT_TRUE(names.count("value"));
        EXPECT_EQ(doc["units"]["value"].size(), 12u);
        names.erase("value");
        for (const std::string& name : names)
            EXPECT_TRUE(doc["units"].contains(name) && doc["units"][name].is_string()) << name;
    }
}

TEST(CalcJson, AStoppedCalculationWritesItsInputsAndItsMessage) {
    TempDir dir;
    writeFile(dir.file("zero.CAM"), exampleProject(4, "0"));
    const auto r = runCommand(calc() + " --json " + shellQuote(dir.file("c.json")) + " " +
                              shellQuote(dir.file("zero.CAM")));
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.out.empty());
    const std::string message = "calcolo interrotto: \"coefficiente liminare esterno[\u00b0C]\" = "
                                "0: deve essere maggiore di 0";
    EXPECT_EQ(r.err, message + "\n");
    const json doc = json::parse(readFile(dir.file("c.json")));
    EXPECT_EQ(doc["stopped"], message);
    EXPECT_EQ(doc["messages"], json::array({message}));
    EXPECT_EQ(doc["inputs"][4]["text"], "0");
    EXPECT_FALSE(doc.contains("wall"));
    EXPECT_FALSE(doc.contains("totalResistance"));
}

TEST(MinThicknessJson, TheAnswerItsTemperaturesAndItsTrials) {
    TempDir dir;
    const auto r = runCommand(calc() + " --min-thickness spessore-isolante --flue 500 --json " +
                              shellQuote(dir.file("m.json")));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "spessore isolante[mm]=21  temp per resistenza al fuoco(est)=  506.3\u00b0C  temp "
              "per resistenza al fuoco(int)=  355.5\u00b0C\n"); // the line is still printed
    const json doc = json::parse(readFile(dir.file("m.json")));
    EXPECT_EQ(doc["search"], json::parse(R"({"row": 5, "key": "spessore-isolante",
        "label": "spessore isolante[mm]", "flueTemperature": 500, "range": [0, 1000]})"));
    EXPECT_EQ(doc["thickness"], 21);
    EXPECT_EQ(doc["fireResistance"]["outer"]["temperature"], 506.25);
    EXPECT_EQ(doc["fireResistance"]["inner"]["temperature"], 355.46875);
    EXPECT_EQ(doc["fireResistance"]["outer"]["line"],
              "temp per resistenza al fuoco(est)=  506.3\u00b0C");
    ASSERT_EQ(doc["trials"].size(), 12u);
    EXPECT_EQ(doc["trials"][0], json::parse(R"({"thickness": 0, "fireTempOuter": 295.3125,
        "fireTempInner": 187.98828125, "reaches": false})"));
    EXPECT_EQ(doc["units"]["thickness"], "mm");
}

// A document written in pieces is the document dump(2) writes whole.
TEST(JsonArrayStream, WritesWhatTheWholeDocumentDumps) {
    const json head = json::parse(R"({"program": "camini-calc", "units": {"x": "mm"}})");
    const std::vector<json> cases[] = {
        {},
        {json::parse(R"({"text": "20", "value": 20.5})")},
        {json::parse(R"({"a": [1, 2], "b": {"c": null}})"), json::parse(R"({"stopped": "x"})")},
    };
    for (const auto& items : cases) {
        std::string streamed;
        const ContentWriter write = [&](std::string_view piece) { streamed += piece; };
        JsonArrayStream stream(head, "rows", write);
        for (const json& item : items)
            stream.item(item);
        stream.finish();
        json whole = head;
        whole["rows"] = json::array();
        for (const json& item : items)
            whole["rows"].push_back(item);
        EXPECT_EQ(streamed, whole.dump(2) + "\n");
    }
}

TEST(CalcJson, TheExampleValidatesAndHoldsItsNumbers) {
    TempDir dir;
    auto r = runCommand(calc() + " --json " + shellQuote(dir.file("c.json")));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("titolo progetto=esempio 1", 0), 0u); // the report is still printed
    EXPECT_EQ(schemaComplaint("calcolo.schema.json", dir.file("c.json")), "");
    // Flux: 230 K over the total resistance; per metre over pi x 0.13 m. The
    // bisections end on multiples of their bracket over a power of two. No
    // inner diameter for row 1, no outer one for row 7, no material for the
    // air gap.
    const std::string text = readFile(dir.file("c.json"));
    expectNumbers(text, R"({"formatVersion": 2,
"inputs": [{"row": 0, "value": 250}, {"row": 1, "value": 20}, {"row": 2, "value": 130},
    {"row": 3, "value": 15}, {"row": 4, "value": 8}, {"row": 5, "value": 40}, {"row": 6,
    "value": 20}, {"row": 7, "value": 20}, {"row": 8, "value": 20}, {"row": 9, "value": 10},
    {"row": 10, "value": 100}, {"row": 11, "value": 85}],
"innerDiameterUsed": 130,
"wall": [
  {"row": 1, "coefficient": 15, "resistance": 0.06666666667, "temperatureDrop": 19.90116313,
    "temperatureBefore": 250, "temperatureAfter": 230.0988369, "outerDiameter": 130},
  {"row": 2, "thickness": 40, "material": {"number": 5}, "conductivity": 0.059337505,
    "meanTemperature": 151.6875475, "resistance": 0.5253380677, "temperatureDrop": 156.8225787,
    "temperatureBefore": 230.0988369, "temperatureAfter": 73.27625814, "innerDiameter": 130,
    "outerDiameter": 210},
  {"row": 3, "thickness": 20, "unitResistance": 0.1254868063, "meanTemperature": 61.68149592,
    "resistance": 0.07768230865, "temperatureDrop": 23.18952445, "temperatureBefore":
    73.27625814, "temperatureAfter": 50.08673369, "innerDiameter": 210, "outerDiameter": 250},
  {"row": 4, "thickness": 20, "material": {"number": 1}, "conductivity": 0.3342965914,
    "meanTemperature": 45.77934986, "resistance": 0.02885850643, "temperatureDrop": 8.61476766,
    "temperatureBefore": 50.08673369, "temperatureAfter": 41.47196603, "innerDiameter": 250,
    "outerDiameter": 290},
  {"row": 5, "thickness": 20, "material": {"number": 1}, "conductivity": 0.3329511698,
    "meanTemperature": 37.70688367, "resistance": 0.0252252081, "temperatureDrop": 7.53016472,
    "temperatureBefore": 41.47196603, "temperatureAfter": 33.94180131, "innerDiameter": 290,
    "outerDiameter": 330},
  {"row": 6, "thickness": 10, "material": {"number": 9}, "conductivity": 13.9127697,
    "meanTemperature": 33.90076996, "resistance": 0.0002749008706, "temperatureDrop":
    0.08206270603, "temperatureBefore": 33.94180131, "temperatureAfter": 33.85973861,
    "innerDiameter": 330, "outerDiameter": 350},
  {"row": 7, "coefficient": 8, "resistance": 0.04642857143, "temperatureDrop": 13.85973861,
    "temperatureBefore": 33.85973861, "temperatureAfter": 20, "innerDiameter": 350}],
"totalResistance": 0.7704742299, "temperatureDifference": 230, "heatFlux": 298.5174469,
"heatFlowPerMetre": 121.9166284,
"fireResistance": {"outer": {"limit": 85, "bracket": [0, 1800], "temperature": 632.8125},
    "inner": {"limit": 100, "bracket": [0, 3500], "temperature": 464.84375}},
"layerChecks": [{"material": 5, "meanTemperature": 151.6875475, "highestTemperature": 400},
    {"material": 1, "meanTemperature": 45.77934986, "highestTemperature": 600}, {"material": 1,
    "meanTemperature": 37.70688367, "highestTemperature": 600}, {"material": 9,
    "meanTemperature": 33.90076996, "highestTemperature": 800}]})");
    const json doc = json::parse(text);
    EXPECT_EQ(doc["version"], "1.1.0");
    EXPECT_EQ(doc["units"]["heatFlux"], "W/m2");
    EXPECT_EQ(doc["units"]["temperatureDrop"], "K");
    EXPECT_EQ(doc["units"]["value"]["coefficiente-interno"], "W/m2K");
    EXPECT_EQ(doc["inputs"][0]["label"], "temperatura fumi[\u00b0C]"); // UTF-8
    EXPECT_EQ(doc["inputs"][5]["key"], "spessore-isolante");
    EXPECT_EQ(doc["wall"][1]["material"]["description"], "lana di roccia 100 kg/m3");
    EXPECT_EQ(doc["wall"][2]["material"], nullptr);
    EXPECT_EQ(doc["wall"][0]["innerDiameter"], nullptr);
    EXPECT_TRUE(doc["messages"].empty());
}

TEST(CalcJson, EveryNumberOfTheReportTableComesFromTheDocument) {
    TempDir dir;
    writeFile(dir.file("p.CAM"), exampleProject(0, "1200"));
    const auto report = runCommand(calc() + " " + shellQuote(dir.file("p.CAM")));
    const auto r = runCommand(calc() + " --json - " + shellQuote(dir.file("p.CAM")));
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.front(), '{'); // no report before the document
    const json doc = json::parse(r.out);
    const auto lines = textLines(report.out);
    // The table: its heading at line 15, the seven wall rows, then "R totale".
    ASSERT_EQ(lines[15].rfind("strato", 0), 0u);
    for (int row = 1; row <= 7; ++row) {
        const std::string& line = lines[15 + static_cast<std::size_t>(row)];
        const json& w = doc["wall"][static_cast<std::size_t>(row - 1)];
        SCOPED_TRACE(line);
        EXPECT_NEAR(reportCell(line, 2), w["resistance"].get<double>(), 5.1e-6);
        EXPECT_NEAR(reportCell(line, 3), w["temperatureAfter"].get<double>(), 0.051);
        EXPECT_NEAR(reportCell(line, 4), w["temperatureDrop"].get<double>(), 0.051);
        if (w["kind"] == "layer") {
            EXPECT_NEAR(
                reportCell(line, 1),
                (w["material"].is_null() ? w["unitResistance"] : w["conductivity"]).get<double>(),
                5.1e-6);
            EXPECT_NEAR(reportCell(line, 5), w["meanTemperature"].get<double>(), 0.051);
        }
    }
    EXPECT_NEAR(reportCell(lines[23], 2), doc["totalResistance"].get<double>(), 5.1e-6);
    EXPECT_EQ(lines[25], doc["fireResistance"]["outer"]["line"].get<std::string>());
    EXPECT_EQ(lines[26], doc["fireResistance"]["inner"]["line"].get<std::string>());
    // At 1200 deg C the rock wool (400 deg C at most) fails its check, on
    // standard error, in the report and in the document alike.
    const std::string failed = "temperatura media isolante = 697.8 maggiore della massima= 400.0";
    EXPECT_EQ(report.err, failed + "\n");
    EXPECT_NE(report.out.find(failed), std::string::npos);
    EXPECT_FALSE(doc["layerChecks"][0]["passed"].get<bool>());
    EXPECT_EQ(doc["layerChecks"][0]["message"], failed);
    EXPECT_EQ(doc["messages"], json::array({failed}));
}

TEST(CalcJson, CellsAsTypedAndAsReadAndTheTicks) {
    TempDir dir;
    writeFile(dir.file("p.CAM"), exampleProject(2, "150,5"));
    const auto r =
        runCommand(calc() + " --raise-diameter --json - " + shellQuote(dir.file("p.CAM")));
    ASSERT_EQ(r.status, 0) << r.err;
    writeFile(dir.file("c.json"), r.out);
    EXPECT_EQ(schemaComplaint("calcolo.schema.json", dir.file("c.json")), "");
    const json doc = json::parse(r.out);
    EXPECT_EQ(doc["inputs"][2]["text"], "150,5");
    EXPECT_EQ(doc["inputs"][2]["value"], 150.0);
    EXPECT_EQ(doc["innerDiameterUsed"], 200.0);
    EXPECT_TRUE(doc["ticks"]["raiseSmallDiameter"].get<bool>());
    ASSERT_EQ(doc["messages"].size(), 1u);
    EXPECT_NE(doc["messages"][0].get<std::string>().find("150,5"), std::string::npos);
}

TEST(CalcJson, TheSchemaRefusesADocumentWithoutItsResults) {
    TempDir dir;
    const auto r = runCommand(calc() + " --json -");
    json doc = json::parse(r.out);
    doc.erase("heatFlux");
    writeFile(dir.file("short.json"), doc.dump());
    EXPECT_NE(schemaComplaint("calcolo.schema.json", dir.file("short.json")).find("heatFlux"),
              std::string::npos);
    doc = json::parse(r.out);
    doc["wall"][0]["resistance"] = "0.07";
    writeFile(dir.file("text.json"), doc.dump());
    EXPECT_NE(schemaComplaint("calcolo.schema.json", dir.file("text.json")), "");
}

TEST(CalcJson, UnwritableFileAndMissingName) {
    TempDir dir;
    auto r = runCommand(calc() + " --json " + shellQuote(dir.path()));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
    EXPECT_EQ(runCommand(calc() + " --json").status, 2);
}
