// What "Calcola" says about the inputs beside the calculation itself: cells
// not read as typed, a negative air-gap resistance, results that no longer
// match the worksheet.
#include "EngineFixture.h"
#include "engine/ChimneyInput.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace camini;
using camini::test::CalculatedSession;
using camini::test::StartedSession;

TEST(InputReadingWarnings, CellsThatAreNotEntirelyANumber) {
    struct Case {
        InputRow row;
        const char* text;
        const char* line; // nullptr: no warning
    };
    const Case cases[] = {
        {InputRow::InnerCoefficient, "2,5",
         "il valore \"2,5\" di \"coefficiente liminare interno[\xB0"
         "C]\" \xE8 letto come 2 (usare il punto come separatore decimale)"},
        {InputRow::FlueGasTemp, "abc",
         "il valore \"abc\" di \"temperatura fumi[\xB0"
         "C]\" \xE8 letto come 0"},
        {InputRow::InsulationThickness, " 12abc ",
         "il valore \" 12abc \" di \"spessore isolante[mm]\" \xE8 letto come 12"},
        {InputRow::Screen2Thickness, "1.5 mm",
         "il valore \"1.5 mm\" di \"spessore schermo 2 [mm]\" \xE8 letto come 1.5"},
        {InputRow::AmbientTemp, ",5",
         "il valore \",5\" di \"temperatura ambiente[\xB0"
         "C]\" \xE8 letto come 0 (usare il punto come separatore decimale)"},
        {InputRow::AirGapThickness, "", nullptr},
        {InputRow::AirGapThickness, "   ", nullptr},
        {InputRow::AirGapThickness, " 20 ", nullptr},
        {InputRow::AirGapThickness, "\t20\t", nullptr},
        {InputRow::AirGapThickness, "-2e1", nullptr},
        {InputRow::AirGapThickness, "1e999", nullptr}, // a number, though too large
    };
    for (const Case& c : cases) {
        Worksheet sheet;
        setStartProject(sheet);
        sheet.input(c.row) = c.text;
        const std::vector<std::string> lines = inputReadingWarnings(sheet);
        if (!c.line) {
            EXPECT_TRUE(lines.empty()) << c.text;
            continue;
        }
        ASSERT_EQ(lines.size(), 1u) << c.text;
        EXPECT_EQ(lines[0], c.line);
    }
}

TEST(InputReadingWarnings, OneMessageBeforeACalculationThatRunsAsBefore) {
    CalculatedSession typed([](Worksheet& s) {
        s.input(InputRow::InnerCoefficient) = "15,5";
        s.input(InputRow::OuterCoefficient) = "8x";
    });
    CalculatedSession plain([](Worksheet& s) {
        s.input(InputRow::InnerCoefficient) = "15";
        s.input(InputRow::OuterCoefficient) = "8";
    });
    ASSERT_EQ(typed.messages.messages.size(), 1u);
    EXPECT_EQ(typed.messages.messages[0],
              "il valore \"15,5\" di \"coefficiente liminare interno[\xB0"
              "C]\" \xE8 letto come 15 (usare il punto come separatore decimale)\n"
              "il valore \"8x\" di \"coefficiente liminare esterno[\xB0"
              "C]\" \xE8 letto come 8");
    EXPECT_TRUE(plain.messages.messages.empty());
    EXPECT_EQ(typed.session.sheet.results, plain.session.sheet.results);
    EXPECT_EQ(typed.session.sheet.fireResistanceLines, plain.session.sheet.fireResistanceLines);
}

// A 100 mm air gap below 40 deg C: the formula gives Rg = -0.00686, referred
// to the inner surface 130 * -0.00686 / 210 = -0.00425.
TEST(AirGapWarning, NegativeResistanceIsNamedAndTheResultsKept) {
    CalculatedSession cold([](Worksheet& s) {
        s.input(InputRow::FlueGasTemp) = "30";
        s.input(InputRow::AirGapThickness) = "100";
    });
    ASSERT_TRUE(cold.session.sheet.calculated);
    EXPECT_EQ(cold.session.sheet.results[3][LambdaColumn], "-0.00686");
    EXPECT_EQ(cold.session.sheet.results[3][ResistanceColumn], "-0.00425");
    ASSERT_EQ(cold.messages.messages.size(), 1u);
    const std::string& m = cold.messages.messages[0];
    const std::string head = "la resistenza dello strato \"camera d aria\" \xE8 negativa (-0.00425 "
                             "mq K/w): la sua formula non vale per lo spessore di 100 mm alla "
                             "temperatura media di ";
    EXPECT_EQ(m.substr(0, head.size()), head) << m;
    EXPECT_NE(m.find("\xB0"
                     "C; i risultati sono quelli calcolati"),
              std::string::npos)
        << m;

    CalculatedSession usual;
    EXPECT_TRUE(usual.messages.messages.empty());

    // Only a resistance below 0 is named: 0 is no gap, or a wide hot one.
    CalcResult result;
    ChimneyInput in;
    in.airGapThickness = 12.5;
    result.layerMeanTemps[airGapLayer().meanIndex()] = 35.25;
    double& r = result.resistances[wallIndex(airGapLayer().wallRow)];
    for (const double value : {0.0, -0.0, 1e-9}) {
        r = value;
        EXPECT_EQ(airGapWarning(result, in), std::nullopt) << value;
    }
    r = -1e-9;
    EXPECT_EQ(airGapWarning(result, in),
              "la resistenza dello strato \"camera d aria\" \xE8 negativa (-0.00000 mq K/w): la "
              "sua formula non vale per lo spessore di 12.5 mm alla temperatura media di 35.3\xB0"
              "C; i risultati sono quelli calcolati");
}

TEST(ResultsCurrent, EveryChangeOfWhatACalculationReadsMarksTheResults) {
    struct Case {
        const char* what;
        void (*change)(Session&);
    };
    const Case cases[] = {
        {"cell", [](Session& s) { s.sheet.input(InputRow::FlueGasTemp) = "260"; }},
        {"same number typed otherwise",
         [](Session& s) { s.sheet.input(InputRow::FlueGasTemp) = "250.0"; }},
        {"title", [](Session& s) { s.sheet.projectTitle = "altro"; }},
        {"quadrata", [](Session& s) { s.sheet.squareSection = true; }},
        {"Monoparete", [](Session& s) { s.sheet.singleWall = true; }},
        {"D>=200", [](Session& s) { s.sheet.raiseSmallDiameter = true; }},
        {"material", [](Session& s) { s.sheet.material(MaterialSlot::Screen2) = 1; }},
        {"archive point", [](Session& s) { s.archive.material(9).lambdas[0] = 2.0; }},
    };
    for (const Case& c : cases) {
        CalculatedSession calc;
        EXPECT_TRUE(resultsCurrent(calc.session)) << c.what;
        EXPECT_EQ(calc.report().front().rfind("titolo progetto=", 0), 0u);
        c.change(calc.session);
        EXPECT_FALSE(resultsCurrent(calc.session)) << c.what;
        const std::vector<std::string> report = calc.report();
        EXPECT_EQ(std::count(report.begin(), report.end(),
                             "ATTENZIONE: risultati non aggiornati ai dati"),
                  1)
            << c.what;
        calculate(calc.session, calc.messages);
        EXPECT_TRUE(resultsCurrent(calc.session)) << c.what;
    }
}

TEST(ResultsCurrent, AStoppedCalculationKeepsTheValuesButNotTheirStanding) {
    CalculatedSession calc;
    const ResultsTable before = calc.session.sheet.results;
    calc.session.sheet.input(InputRow::OuterCoefficient) = "0";
    EXPECT_FALSE(calculate(calc.session, calc.messages));
    EXPECT_EQ(calc.session.sheet.results, before);
    // Putting the cell back does not make the old results current again:
    // only a calculation that runs does.
    calc.session.sheet.input(InputRow::OuterCoefficient) = "8";
    EXPECT_FALSE(resultsCurrent(calc.session));
    EXPECT_TRUE(calculate(calc.session, calc.messages));
    EXPECT_TRUE(resultsCurrent(calc.session));

    StartedSession fresh;
    EXPECT_FALSE(resultsCurrent(fresh.session));
}
