#include "engine/WallSolver.h"
#include "engine/ChimneyInput.h"
#include "engine/ResultsGrid.h"
#include "engine/Worksheet.h"
#include "support/TestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace camini;

namespace {

// The start project solved once (six passes) from a fresh solver, as the
// first calculation after program start, with constant conductivities.
struct Solved {
    Worksheet sheet;
    WallSolver solver;
    MaterialArchive archive = test::constantArchive();

    explicit Solved(void (*adjust)(Worksheet&) = nullptr) {
        setStartProject(sheet);
        if (adjust)
            adjust(sheet);
        solver.solveWall(readChimneyInput(sheet), archive);
        writeResultsGrid(solver.result(), sheet.singleWall, sheet.results);
    }

    std::vector<std::string> column(int col, int first, int last) const {
        std::vector<std::string> v;
        for (int r = first; r <= last; ++r)
            v.push_back(sheet.results[static_cast<std::size_t>(r)][static_cast<std::size_t>(col)]);
        return v;
    }
};

std::vector<std::string> cells(std::initializer_list<const char*> numbers) {
    std::vector<std::string> v;
    for (const char* n : numbers) {
        std::string s = n;
        v.push_back(std::string(s.size() < 8 ? 8 - s.size() : 0, ' ') + s);
    }
    return v;
}

} // namespace

TEST(WallSolver, StartProjectRoundSection) {
    Solved s;
    EXPECT_EQ(s.column(2, 1, 8), cells({"0.06667", "0.62345", "0.08142", "0.01929", "0.01680",
                                        "0.00382", "0.04643", "0.85787"}));
    EXPECT_EQ(s.sheet.results[3][1], cells({"0.13152"})[0]);
    EXPECT_EQ(s.column(3, 1, 7), cells({"232.1", "65.0", "43.1", "38.0", "33.5", "32.4", "20.0"}));
    EXPECT_EQ(s.column(5, 2, 6), cells({"148.6", "54.1", "40.6", "35.7", "33.0"}));
    EXPECT_EQ(s.sheet.results[6][7], "     350");
    EXPECT_EQ(s.sheet.results[7][6], "     350");
    EXPECT_EQ(s.sheet.results[0][1], "lamda");
    // Cells the solver never fills stay empty.
    for (auto [r, c] : {std::pair{1, 1},
                        {1, 5},
                        {1, 6},
                        {7, 1},
                        {7, 5},
                        {7, 7},
                        {8, 1},
                        {8, 3},
                        {8, 5},
                        {8, 6},
                        {8, 7}})
        EXPECT_TRUE(
            s.sheet.results[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)].empty())
            << r << "," << c;
}

TEST(WallSolver, StartProjectSquareSection) {
    Solved round;
    Solved square([](Worksheet& w) { w.squareSection = true; });
    EXPECT_EQ(square.column(2, 4, 6), cells({"0.02122", "0.01848", "0.00421"}));
    EXPECT_EQ(square.sheet.results[2][2], round.sheet.results[2][2]); // R2 is round anyway
    EXPECT_EQ(square.sheet.results[3][2], cells({"0.08098"})[0]);
    EXPECT_EQ(square.sheet.results[8][2], cells({"0.86143"})[0]);
}

TEST(WallSolver, StartProjectSingleWall) {
    Solved s([](Worksheet& w) { w.singleWall = true; });
    EXPECT_EQ(s.sheet.results[2][0], "isolante");
    for (int c = 1; c < ResultCols; ++c)
        EXPECT_TRUE(s.sheet.results[2][static_cast<std::size_t>(c)].empty()) << c;
    EXPECT_EQ(s.column(2, 3, 8),
              cells({"0.06800", "0.02747", "0.02267", "0.00500", "0.06019", "0.24999"}));
    EXPECT_EQ(s.sheet.results[1][2], cells({"0.06667"})[0]);
    EXPECT_EQ(s.sheet.results[1][3], cells({"188.7"})[0]);
    EXPECT_EQ(s.column(3, 3, 7), cells({"126.1", "100.8", "80.0", "75.4", "20.0"}));
    // The grid still holds 40 for the insulation; the diameters use 0.
    EXPECT_EQ(s.sheet.input(InputRow::InsulationThickness), "40");
    EXPECT_EQ(s.sheet.results[3][6], "     130");
    EXPECT_EQ(s.sheet.results[6][7], "     270");
}

TEST(WallSolver, ZeroThicknessGivesNoResistance) {
    Solved s([](Worksheet& w) {
        w.input(InputRow::TechnicalGapThickness) = "0"; // technical gap
        w.input(InputRow::AirGapThickness) = "0";       // air gap
    });
    EXPECT_EQ(s.sheet.results[4][2], cells({"0.00000"})[0]);
    EXPECT_EQ(s.sheet.results[4][6], s.sheet.results[4][7]);
    EXPECT_EQ(s.sheet.results[3][1], cells({"0.00000"})[0]); // Rg = 0
    EXPECT_EQ(s.sheet.results[3][2], cells({"0.00000"})[0]);
}

// The expected values worked out by hand from the formula: at 150 deg C and
// 60 mm, 0.057925 + 0.94 * 0.06 - 13.75 * 0.06^2 = 0.064825.
TEST(AirGap, ClampsTheTemperatureAndDropsWideHotGaps) {
    struct Case {
        double t, s, expected;
    };
    const Case cases[] = {
        {250, 60, 0.0},                     // wide gap above 200 deg C
        {150, 60, 0.064825},                // wide gap, cooler
        {250, 30, 0.0545},                  // narrow gap above 200: the value at 200
        {10, 20, 0.14322},                  // below 40: the value at 40
        {40, 20, 0.14322},   {100, 0, 0.0}, // no gap
        {200, 60, 0.0461},                  // exactly 200 is not above
        {250, 50, 0.0509},                  // exactly 50 mm is not wide: the value at 200
        {250, 50.001, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(airGapResistance(c.t, c.s), c.expected, 1e-12) << c.t << " " << c.s;
}

// 130 * 0.0005 * ln(250 / 210) / 0.5 = 0.02266594..., and 1.1 times that
// for a square section.
TEST(CylinderLayer, SquareFactorOnlyWhenAllowed) {
    EXPECT_NEAR(cylinderLayerResistance(0.5, 20, 210, 130, false), 0.0226659403288211, 1e-15);
    EXPECT_NEAR(cylinderLayerResistance(0.5, 20, 210, 130, true), 0.0249325343617032, 1e-15);
    EXPECT_EQ(cylinderLayerResistance(0.5, 0, 210, 130, true), 0.0);
}

// With materials whose conductivity varies, every conductivity of a pass is
// the lookup at the mean temperature left by the pass before, and the drops
// add up to the whole temperature difference. The expected conductivities
// (insulation, technical gap, screen 1, screen 2) and air-gap resistances
// of the first and the sixth pass come from a separate evaluation of the
// formulas.
TEST(WallSolver, MultiPointMaterialsFollowThePreviousPass) {
    MaterialArchive archive;
    test::setMaterial(archive, 5, "lana",
                      {{50, 0.041}, {100, 0.049}, {200, 0.069}, {300, 0.099}, {400, 0.139}});
    test::setMaterial(archive, 1, "calcestruzzo",
                      {{20, 0.33}, {200, 0.36}, {400, 0.40}, {600, 0.45}});
    test::setMaterial(archive, 9, "inox", {{20, 13.6}, {100, 15.4}, {300, 19.5}});
    struct Pass {
        std::array<double, MaterialSlots> lambdas;
        double airGap;
    };
    struct Case {
        const char* tf;
        const char* ta;
        Pass first, sixth;
    };
    const Case cases[] = {
        {"250",
         "20",
         {{0.056, 0.33, 0.33, 13.6}, 0.14322},
         {{0.05933751581419, 0.3342965549781, 0.3329511448496, 13.91276705679}, 0.125486928859}},
        {"600",
         "-10",
         {{0.0975, 0.33, 0.33, 13.6}, 0.14322},
         {{0.1169747355408, 0.343205431613, 0.3375724661873, 14.26138600069}, 0.07304121310762}},
        {"90",
         "35",
         {{0.043, 0.33, 0.33, 13.6}, 0.14322},
         {{0.04354949837212, 0.3333161530461, 0.3330603196895, 13.99688831889}, 0.140508212112}},
    };
    for (const Case& c : cases) {
        Worksheet sheet;
        setStartProject(sheet);
        sheet.input(InputRow::FlueGasTemp) = c.tf;
        sheet.input(InputRow::AmbientTemp) = c.ta;
        ChimneyInput in = readChimneyInput(sheet);
        WallSolver solver;
        for (int pass = 1; pass <= SolverPasses; ++pass) {
            solver.solvePass(in, archive);
            const CalcResult& r = solver.result();
            if (pass == 1 || pass == 6) {
                const Pass& expected = pass == 1 ? c.first : c.sixth;
                for (std::size_t k = 0; k < MaterialSlots; ++k)
                    EXPECT_NEAR(r.conductivities[k], expected.lambdas[k], 1e-9)
                        << c.tf << " pass " << pass << " layer " << k;
                EXPECT_NEAR(r.airGapUnitResistance, expected.airGap, 1e-9) << c.tf;
            }
            EXPECT_NEAR(r.dropSum, in.flueGasTemp - in.ambientTemp, 1e-9);
            EXPECT_NEAR(r.boundaryTemps[6], in.ambientTemp, 1e-9);
            EXPECT_TRUE(r.finite());
            EXPECT_EQ(r.profileTemps[7], in.ambientTemp);
            EXPECT_EQ(r.profilePositions[7], 110.0);
        }
    }
}

TEST(WallSolver, RecomputesEveryResistanceInEveryPass) {
    MaterialArchive archive = test::constantArchive();
    Worksheet sheet;
    setStartProject(sheet);
    WallSolver solver;
    solver.solveWall(readChimneyInput(sheet), archive);
    // An inner coefficient of 2, and an insulation of 0 mm in a material
    // without points: nothing of the solution before is kept.
    sheet.input(InputRow::InnerCoefficient) = "2";
    sheet.input(InputRow::InsulationThickness) = "0";
    sheet.material(MaterialSlot::Insulation) = 40;
    solver.solveWall(readChimneyInput(sheet), archive);
    EXPECT_EQ(solver.result().resistances[0], 0.5);
    EXPECT_EQ(solver.result().resistances[1], 0.0);
    EXPECT_EQ(solver.result().conductivities[0], 0.0);
}

TEST(ChimneyInputReading, DiameterRuleAndLenientCells) {
    struct Case {
        const char* diameter;
        bool raise;
        double used;
    };
    for (Case c : {Case{"130", true, 200}, Case{"200", true, 200}, Case{"199.9", true, 200},
                   Case{"250", true, 250}, Case{"130", false, 130}, Case{"", true, 200}}) {
        Worksheet sheet;
        setStartProject(sheet);
        sheet.raiseSmallDiameter = c.raise;
        sheet.input(InputRow::InnerDiameter) = c.diameter;
        EXPECT_EQ(readChimneyInput(sheet).innerDiameter, c.used) << c.diameter;
        EXPECT_EQ(sheet.input(InputRow::InnerDiameter),
                  c.diameter); // the cell keeps what was typed
    }
    Worksheet sheet;
    setStartProject(sheet);
    sheet.input(InputRow::FlueGasTemp) = "";
    sheet.input(InputRow::AmbientTemp) = "abc";
    sheet.input(InputRow::InnerCoefficient) = "2,5";
    sheet.input(InputRow::OuterCoefficient) = " 1e1";
    ChimneyInput in = readChimneyInput(sheet);
    EXPECT_EQ(in.flueGasTemp, 0);
    EXPECT_EQ(in.ambientTemp, 0);
    EXPECT_EQ(in.innerCoefficient, 2);
    EXPECT_EQ(in.outerCoefficient, 10);
    EXPECT_EQ(in.outerFaceLimit, 85);
    EXPECT_EQ(in.gapFaceLimit, 100);
}

TEST(MaterialChoices, EightLinesInLayerOrder) {
    MaterialArchive archive = test::constantArchive();
    Worksheet sheet;
    setStartProject(sheet);
    sheet.materialListVisible = true;
    sheet.materials = {5, 1, 17, 9};
    showMaterialChoices(sheet, archive);
    const std::vector<std::string> expected = {"-->Isolante",      "isolante costante",
                                               "-->asola tecnica", "calcestruzzo",
                                               "-->schermo 1",     "",
                                               "-->schermo 2",     "acciaio"};
    EXPECT_EQ(sheet.materialChoiceLines, expected);
    EXPECT_FALSE(sheet.materialListVisible);
}

TEST(ResultsTableLine, FieldsOf31And13And10) {
    Worksheet sheet;
    setStartProject(sheet);
    sheet.results[0][1] = "lamda";
    const std::string heading = resultsTableLine(sheet.results[0]);
    EXPECT_EQ(heading.size(), 104u);
    EXPECT_EQ(heading.substr(0, 44),
              "strato" + std::string(25, ' ') + "lamda" + std::string(8, ' '));
    EXPECT_EQ(heading.substr(44, 10), "Rcalc     ");
    EXPECT_EQ(heading.substr(54, 10), "T \xB0"
                                      "C      ");
    std::array<std::string, ResultCols> row;
    row[0] = std::string(40, 'x');
    row[1] = std::string(20, 'y');
    row[7] = "12345678901";
    const std::string line = resultsTableLine(row);
    EXPECT_EQ(line.size(), 104u);
    EXPECT_EQ(line.substr(29, 2), "  ");
    // Too long for their columns: stars, not their first characters.
    EXPECT_EQ(line.substr(31, 13), std::string(13, '*'));
    EXPECT_EQ(line.substr(94), "**********");
}

// A report line is the label with its blanks, then the value: most values
// start at column 35, those of rows 7, 9, 10 and 11 at columns 39, 29, 40
// and 34.
TEST(InputLabels, KeepTheirStoredLengths) {
    const std::size_t valueColumns[] = {35, 35, 35, 35, 35, 35, 35, 39, 35, 29, 40, 34};
    for (int r = 0; r < InputRows; ++r)
        EXPECT_EQ((inputLabel(inputRowAt(r)) + "#").find('#') + 1, valueColumns[r]) << r;
    EXPECT_EQ(inputLabel(InputRow::FlueGasTemp), "temperatura fumi[\xB0"
                                                 "C]" +
                                                     std::string(14, ' '));
    EXPECT_EQ(inputLabel(InputRow::OuterFaceLimit), "T imposta esterna  [\xB0"
                                                    "C]" +
                                                        std::string(10, ' '));
}

// The fire searches of the table: "(est)" watches T6, the outer face of
// screen 2, with a bracket up to 1800; "(int)" watches T3, the inner face of
// the technical gap, up to 3500. The layers' mean temperatures are held in
// wall order, and the start project's materials are 5, 1, 1, 9.
TEST(WallTable, SearchesLayersAndStartMaterials) {
    const FireSearchSpec& outer = fireSearch(FireSearchKind::Outer);
    const FireSearchSpec& inner = fireSearch(FireSearchKind::Inner);
    EXPECT_EQ(outer.watchedTemperature(), 5u);
    EXPECT_EQ(outer.bracketHigh, 1800);
    EXPECT_EQ(outer.limit, InputRow::OuterFaceLimit);
    EXPECT_EQ(inner.watchedTemperature(), 2u);
    EXPECT_EQ(inner.bracketHigh, 3500);
    EXPECT_EQ(inner.limit, InputRow::GapFaceLimit);
    for (std::size_t i = 0; i < layerTable.size(); ++i)
        EXPECT_EQ(layerTable[i].meanIndex(), i);
    EXPECT_EQ(startMaterials(), (std::array<std::uint8_t, MaterialSlots>{5, 1, 1, 9}));
    EXPECT_STREQ(airGapLayer().name, "camera d aria");
}
