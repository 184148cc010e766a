// Sweeps of one input and the minimum-thickness search.
#include "BatchFixture.h"

#include "batch/Sweep.h"
#include "engine/Calculation.h"
#include "engine/Session.h"
#include "forms/MainActions.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace camini;
using namespace camini::test;
using nlohmann::json;

namespace {

double field(const std::vector<std::string>& f, std::size_t i) {
    return std::strtod(f.at(i).c_str(), nullptr);
}

std::vector<std::string> texts(const SweepSpec& spec) {
    std::vector<std::string> t;
    for (std::size_t i = 0; i < spec.count; ++i)
        t.push_back(spec.text(i));
    return t;
}

// The fields of a sweep's table: the value, 10 numbers, the warnings and
// the message.
constexpr std::size_t CsvFields = 15;

// The header of a sweep of the insulation's thickness.
const std::string InsulationHeader =
    "spessore-isolante [mm],R_totale [m2K/W],T1 [\u00b0C],T2 [\u00b0C],T3 [\u00b0C],"
    "T4 [\u00b0C],T5 [\u00b0C],T6 [\u00b0C],T7 [\u00b0C],T_fuoco_est [\u00b0C],"
    "T_fuoco_int [\u00b0C],avvisi_strati,fuori_campo_est,fuori_campo_int,messaggio";

} // namespace

TEST(SweepSpec, ValuesAsTheUserWouldTypeThem) {
    struct Case {
        const char* argument;
        InputRow row;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"spessore-isolante=0:60:20", InputRow::InsulationThickness, {"0", "20", "40", "60"}},
        {"5=0:50:20", InputRow::InsulationThickness, {"0", "20", "40"}},
        {"0=300:200:-50", InputRow::FlueGasTemp, {"300", "250", "200"}},
        {"t-imposta-esterna=80:80:1", InputRow::OuterFaceLimit, {"80"}},
        // Tenths add up to TO although 0.1 is not exact in binary.
        {"4=7:7.3:0.1", InputRow::OuterCoefficient, {"7.0", "7.1", "7.2", "7.3"}},
        {"11=-0.5:0.5:0.5", InputRow::OuterFaceLimit, {"-0.5", "0.0", "0.5"}},
        // 0.3 - 3 x 0.1 is -5.6e-17 in binary; -0 is written 0.
        {"11=0.3:-0.2:-0.1",
         InputRow::OuterFaceLimit,
         {"0.3", "0.2", "0.1", "0.0", "-0.1", "-0.2"}},
        {"11=-0:1:1", InputRow::OuterFaceLimit, {"0", "1"}},
    };
    for (const Case& c : cases) {
        const SweepSpec spec = parseSweep(c.argument);
        EXPECT_EQ(spec.row, c.row) << c.argument;
        EXPECT_EQ(texts(spec), c.texts) << c.argument;
    }
    // A value that rounds to zero loses its sign, one that does not keeps it.
    const SweepSpec near0{InputRow::OuterFaceLimit, -0.01, 0.0, 0.00999, 3, 2};
    EXPECT_EQ(texts(near0), (std::vector<std::string>{"-0.01", "0.00", "0.01"}));
}

TEST(SweepSpec, RefusedArguments) {
    for (const char* bad :
         {"spessore=0:1:1", "12=0:1:1", "5", "5=0:1", "5=0:1:0", "5=1:0:1", "5=0:1:-1", "5=a:1:1",
          "5=0:1:1:1", "5=0:1e3:1", "5=0,5:1:1", "5=0:100000:1"}) {
        EXPECT_THROW(parseSweep(bad), BadArgument) << bad;
    }
    EXPECT_EQ(parseSweep("5=0:99999:1").count, 100000u);
}

TEST(Sweep, InsulationThicknessTableAndThePlainRunOfItsFirstValue) {
    TempDir dir;
    const auto r = runCommand(calc() + " --sweep spessore-isolante=30:70:10");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const auto lines = textLines(r.out);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], InsulationHeader);
    // The example itself, 40 mm, on the second line.
    const auto at40 = csvFields(lines[2]);
    ASSERT_EQ(at40.size(), CsvFields);
    EXPECT_NEAR(field(at40, 1), 0.77047, 5e-6);
    EXPECT_EQ(at40[9], "632.8125");
    EXPECT_EQ(at40[10], "464.84375");

    // The first value gives what a plain run of a project with that value gives.
    writeFile(dir.file("p.CAM"), exampleProject(5, "30"));
    const json plain =
        json::parse(runCommand(calc() + " --json - " + shellQuote(dir.file("p.CAM"))).out);
    const auto first = csvFields(lines[1]);
    ASSERT_EQ(first.size(), CsvFields);
    EXPECT_EQ(first[0], "30");
    EXPECT_EQ(field(first, 1), plain["totalResistance"].get<double>());
    for (std::size_t t = 0; t < 7; ++t)
        EXPECT_EQ(field(first, 2 + t), plain["wall"][t]["temperatureAfter"].get<double>()) << t;
    EXPECT_EQ(field(first, 9), plain["fireResistance"]["outer"]["temperature"].get<double>());
    EXPECT_EQ(field(first, 10), plain["fireResistance"]["inner"]["temperature"].get<double>());
    EXPECT_EQ(first[11], "0");
    EXPECT_EQ(first[12], "");
    EXPECT_EQ(first[13], "");
    EXPECT_EQ(first[14], "");
}

TEST(Sweep, JsonDocumentValidatesAgainstItsSchema) {
    TempDir dir;
    const auto r = runCommand(calc() + " --sweep 4=0:8:4 --json " + shellQuote(dir.file("s.json")));
    ASSERT_EQ(r.status, 3) << r.err; // an outer coefficient of 0 stops
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(schemaComplaint("sweep.schema.json", dir.file("s.json")), "");
    const json doc = json::parse(readFile(dir.file("s.json")));
    EXPECT_EQ(doc["formatVersion"], 2);
    EXPECT_EQ(doc["projectTitle"], "esempio 1");
    EXPECT_EQ(doc["inputs"][4]["text"], "8"); // as loaded
    EXPECT_EQ(doc["sweep"], json::parse(R"({"row": 4, "key": "coefficiente-esterno",
        "label": "coefficiente liminare esterno[\u00b0C]", "from": 0, "to": 8, "step": 4,
        "count": 3})"));
    EXPECT_EQ(doc["units"]["from"], "W/m2K");
    EXPECT_EQ(doc["units"]["boundaryTemperatures"], "\u00b0C");
    const json& a = doc["rows"];
    ASSERT_EQ(a.size(), 3u);
    EXPECT_NE(a[0]["stopped"].get<std::string>().find("coefficiente liminare esterno"),
              std::string::npos);
    EXPECT_EQ(a[2]["text"], "8");
    EXPECT_EQ(a[2]["fireTempOuter"], 632.8125);
    EXPECT_EQ(a[2]["boundaryTemperatures"].size(), 7u);
}

// The table read back by Python's csv module as a script would, in both
// dialects: as many fields on every line as in the header, the units in
// the header, a stopped line's empty numbers and its message; the sweep
// goes on after it and exits with 3.
TEST(Sweep, CsvReadsBackWithPythonsCsvModuleInBothDialects) {
    struct Case {
        const char* option;
        const char* delimiter;
        bool byteOrderMark;
        const char* lineEnd;
        const char* stoppedValue;
        const char* value;
        const char* resistance;
        const char* outer;
        const char* inner;
    };
    const Case cases[] = {
        {"", ",", false, "\n", "-70.0", "30.0", "0.6647642490025938", "576.5625", "410.15625"},
        {"--csv-it", ";", true, "\r\n", "-70,0", "30,0", "0,6647642490025938", "576,5625",
         "410,15625"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        TempDir dir;
        const auto r = runCommand("(" + calc() + " --sweep spessore-isolante=-70.0:30:50 " +
                                  c.option + " > " + shellQuote(dir.file("s.csv")) + ")");
        ASSERT_EQ(r.status, 3) << r.err;
        const json table = readCsvWithPython(dir.file("s.csv"), c.delimiter);
        EXPECT_EQ(table["byteOrderMark"], c.byteOrderMark);
        EXPECT_EQ(table["lineEnd"], std::string(c.lineEnd));
        const json& rows = table["rows"];
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(rows[0], json(csvFields(InsulationHeader)));
        for (const json& row : rows)
            EXPECT_EQ(row.size(), CsvFields) << row;
        EXPECT_EQ(rows[1][0], c.stoppedValue);
        for (std::size_t f = 1; f < 14; ++f)
            EXPECT_EQ(rows[1][f], "") << f;
        EXPECT_EQ(rows[1][14], "calcolo interrotto: \"spessore isolante[mm]\" = -70: non "
                               "pu\xC3\xB2 essere negativo");
        EXPECT_EQ(rows[3][0], c.value);
        EXPECT_EQ(rows[3][1], c.resistance);
        EXPECT_EQ(rows[3][9], c.outer);
        EXPECT_EQ(rows[3][10], c.inner);
        EXPECT_EQ(rows[3][11], "0");
        EXPECT_EQ(rows[3][14], "");
    }
}

// The table reaches the writer one line at a time, each as soon as its
// value is computed: the cell holds that line's value while it is written.
TEST(Sweep, EachLineIsWrittenAsSoonAsItIsComputed) {
    Session session(binDir());
    RecordingMessages messages;
    startUp(session, messages, {.readSizeCatalogue = false, .goOnAfterFailure = false});
    const SweepSpec spec = parseSweep("spessore-isolante=10:30:10");
    for (const SweepFormat format : {SweepFormat::Csv, SweepFormat::JsonDocument}) {
        Session swept = session;
        std::vector<std::string> cellWhileWritten;
        const std::size_t stopped = writeSweep(swept, spec, format, [&](std::string_view) {
            cellWhileWritten.push_back(swept.sheet.input(InputRow::InsulationThickness));
        });
        EXPECT_EQ(stopped, 0u);
        // The header (or the document's head) before the first value, then
        // one piece per value (and the document's end).
        std::vector<std::string> expected = {"40", "10", "20", "30"};
        if (format == SweepFormat::JsonDocument)
            expected.emplace_back("30");
        EXPECT_EQ(cellWhileWritten, expected);
    }
}

// The memory a sweep holds does not grow with its number of values: the
// peak of 5000 values is that of 200 within 2 MB (the whole JSON
// document of 5000 values is about 8 MB).
TEST(Sweep, MemoryStaysFlatInTheNumberOfValues) {
    auto peakKiB = [](const std::string& range, const char* output) {
        const auto r = runCommand(
            "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=0\" python3 -c " +
            shellQuote("import resource, subprocess, sys\n"
                       "subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)\n"
                       "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)") +
            " " + calc() + " --sweep spessore-isolante=" + range + " " + output);
        EXPECT_EQ(r.status, 0) << r.err;
        return std::atol(r.out.c_str());
    };
    for (const char* output : {"--json -", ""}) {
        const long small = peakKiB("0:19.9:0.1", output);
        const long large = peakKiB("0:499.9:0.1", output);
        EXPECT_GT(small, 0) << output;
        EXPECT_LT(large - small, 2048) << output << ": " << small << " KiB, then " << large;
    }
}

TEST(Sweep, CountsTheLayerWarnings) {
    // Above about 520 deg C of flue gas the rock wool passes its 400 deg C.
    const auto r = runCommand(calc() + " --sweep temperatura-fumi=400:800:400");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = textLines(r.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(csvFields(lines[1])[11], "0");
    EXPECT_EQ(csvFields(lines[2])[11], "1");
}

// The answer s is the least whole millimetre whose "(est)" temperature is at
// least T: est(s) >= T and est(s - 1) < T, each est a calculation of its own;
// T equal to est(s) itself gives s. Above est(1000 mm) there is none.
TEST(MinThickness, TheLeastThicknessThatReachesTheTemperature) {
    Session example(binDir());
    RecordingMessages messages;
    startUp(example, messages, {.readSizeCatalogue = false, .goOnAfterFailure = false});
    auto est = [](Session s, InputRow row, int mm) {
        s.sheet.input(row) = std::to_string(mm);
        return solveCalculation(s).outer.temperature;
    };
    const double none = -1; // no s - 1 for s = 0, nothing for no answer
    struct Case {
        int changedRow; // of the example, -1 for none
        const char* text;
        int row;
        double flue;
        int s;                // -1: no answer
        double estS, estLess; // est(s), est(s - 1)
    };
    const Case cases[] = {
        {-1, "", 5, 250, 0, 295.3125, none},
        {-1, "", 5, 295.3125, 0, 295.3125, none},
        {-1, "", 5, 295.3126, 1, 309.375, 295.3125},
        {-1, "", 5, 499.21875, 20, 499.21875, 492.1875},
        {-1, "", 5, 500, 21, 506.25, 499.21875},
        {-1, "", 5, 506.25, 21, 506.25, 499.21875},
        {-1, "", 5, 700, 50, 703.125, 689.0625},
        {-1, "", 5, 1800, 171, 1800, 1796.484375},
        {-1, "", 5, 1800.01, -1, none, none},
        {-1, "", 6, 1000, 138, 1350, 900},
        {-1, "", 9, 1000, 137, 1012.5, 984.375},
        {11, "60", 7, 500, 27, 506.25, 492.1875},
        {2, "300", 8, 600, 57, 604.6875, 597.65625},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.row) + " at " + shortestNumber(c.flue));
        Session loaded = example;
        if (c.changedRow >= 0)
            loaded.sheet.input(static_cast<InputRow>(c.changedRow)) = c.text;
        const auto row = static_cast<InputRow>(c.row);
        const MinThickness answer = findMinThickness(loaded, row, c.flue);
        ASSERT_EQ(answer.found ? answer.found->millimetres : -1, c.s);
        if (c.s < 0) {
            EXPECT_LT(est(loaded, row, MaxSearchedThickness), c.flue);
            continue;
        }
        EXPECT_EQ(answer.found->fireTempOuter, c.estS);
        EXPECT_EQ(est(loaded, row, c.s), c.estS);
        EXPECT_GE(c.estS, c.flue);
        if (c.s > 0) {
            EXPECT_EQ(est(loaded, row, c.s - 1), c.estLess);
            EXPECT_LT(c.estLess, c.flue);
        }
    }
}

TEST(MinThickness, NoneUpTo1000MmAndRefusedRows) {
    TempDir dir;
    const auto r = runCommand(calc() + " --min-thickness 5 --flue 5000 --json " +
                              shellQuote(dir.file("m.json")));
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.out, "spessore isolante[mm]: nessuno spessore fino a 1000 mm porta la "
                     "temperatura (est) a 5000\n");
    const json nothing = json::parse(readFile(dir.file("m.json")));
    EXPECT_EQ(nothing["thickness"], nullptr);
    EXPECT_EQ(nothing["fireResistance"], nullptr);
    EXPECT_EQ(nothing["trials"][1]["thickness"], 1000);
    for (const char* bad :
         {"--min-thickness 4 --flue 500", "--min-thickness 10 --flue 500", "--min-thickness 5",
          "--flue 500", "--min-thickness 5 --flue x",
          "--min-thickness 5 --flue 500 --sweep 5=0:1:1", "--sweep 5=0:1:1 --rtf x.rtf"}) {
        EXPECT_EQ(runCommand(calc() + " " + bad).status, 2) << bad;
    }
}

TEST(MinThickness, TrialsDoNotDependOnEachOtherNorOnTheLoadedSession) {
    Session session(binDir());
    RecordingMessages messages;
    startUp(session, messages, {.readSizeCatalogue = false, .goOnAfterFailure = false});
    // A calculation at another thickness first leaves its solver state behind.
    session.sheet.input(InputRow::InsulationThickness) = "400";
    ASSERT_TRUE(calculate(session, messages));
    session.sheet.input(InputRow::InsulationThickness) = "40";
    const Session loaded = session;
    const auto a = findMinThickness(loaded, InputRow::InsulationThickness, 700);
    const auto b = findMinThickness(loaded, InputRow::InsulationThickness, 700);
    ASSERT_TRUE(a.found && b.found);
    EXPECT_EQ(a.found->millimetres, b.found->millimetres);
    EXPECT_EQ(a.found->fireTempOuter, b.found->fireTempOuter);
    EXPECT_GE(a.found->fireTempOuter, 700);
    // 0 and 1000 mm, then the bisection's ten halvings; the answer is one of them.
    EXPECT_EQ(a.trials.size(), 12u);
    EXPECT_EQ(a.trials[0].millimetres, 0);
    EXPECT_EQ(a.trials[1].millimetres, 1000);
    EXPECT_EQ(a.trials[2].millimetres, 500);
    EXPECT_EQ(loaded.sheet.input(InputRow::InsulationThickness), "40");
    EXPECT_EQ(session.solver.result().totalResistance, loaded.solver.result().totalResistance);
}

TEST(Sweep, EachLineIsWhatCalcolaGivesAfterTheValuesBeforeIt) {
    Session swept(binDir());
    RecordingMessages messages;
    startUp(swept, messages, {.readSizeCatalogue = false, .goOnAfterFailure = false});
    Session pressed = swept;
    const SweepSpec spec = parseSweep("coefficiente-esterno=12:-4:-4"); // 0 stops, -4 goes on
    const auto lines = runSweep(swept, spec);
    ASSERT_EQ(lines.size(), 5u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        pressed.sheet.input(InputRow::OuterCoefficient) = spec.text(i);
        const bool ran = calculate(pressed, messages);
        SCOPED_TRACE(spec.text(i));
        ASSERT_EQ(ran, !lines[i].stopped.has_value());
        if (!ran) {
            EXPECT_EQ(*lines[i].stopped, messages.errors.back());
            continue;
        }
        const CalcResult& r = pressed.solver.result();
        EXPECT_EQ(lines[i].totalResistance, r.totalResistance);
        EXPECT_EQ(lines[i].boundaryTemps, r.boundaryTemps);
        EXPECT_EQ(lines[i].fireTempOuter, r.fireTempOuter);
        EXPECT_EQ(lines[i].fireTempInner, r.fireTempInner);
    }
    EXPECT_EQ(lines[3].text, "0");
    EXPECT_EQ(swept.solver.result().layerMeanTemps, pressed.solver.result().layerMeanTemps);
}

TEST(Sweep, CellsNotReadAsTypedAreSaidOnceBeforeTheTable) {
    TempDir dir;
    writeFile(dir.file("p.CAM"), exampleProject(2, "150,5"));
    for (const std::string args : {"--sweep 5=40:50:10 ", "--min-thickness 5 --flue 500 "}) {
        const auto r = runCommand(calc() + " " + args + shellQuote(dir.file("p.CAM")));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(textLines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find("\"150,5\""), std::string::npos) << r.err;
    }
    // The swept cell itself is written by the sweep.
    writeFile(dir.file("q.CAM"), exampleProject(5, "4x"));
    EXPECT_EQ(runCommand(calc() + " --sweep 5=40:50:10 " + shellQuote(dir.file("q.CAM"))).err, "");
}
