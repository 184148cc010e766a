// Inputs at the edges: values without a physical meaning stop, searches that
// run into the end of their range say so, numbers too long for their column
// are stars, and only layers that exist are checked.

#include "EngineFixture.h"
#include "common/FixedPoint.h"
#include "engine/Calculation.h"
#include "engine/ResultsGrid.h"
#include "engine/Session.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace camini;

using Fresh = camini::test::StartedSession;

namespace {

// The errors of "Calcola" on `f` with `inputs` typed in ("\260" is the degree
// sign); the calculation runs exactly when there are none.
std::vector<std::string> stops(Fresh& f,
                               std::initializer_list<std::pair<InputRow, const char*>> inputs) {
    for (auto [row, text] : inputs)
        f.session.sheet.input(row) = text;
    const bool ran = calculate(f.session, f.messages);
    EXPECT_EQ(ran, f.messages.errors.empty());
    return f.messages.errors;
}

using Errors = std::vector<std::string>;

} // namespace

// Every row's bound, both sides of it; the message of each stop in full; of
// two offending rows the first is named.
TEST(StopRule, EachRowOnBothSidesOfItsBound) {
    // Why a value stops: nothing (the row runs on both sides), below absolute
    // zero, not above 0, negative, or not a finite number.
    using R = InputRow;
    enum Why { Runs, Zero, Positive, Negative, Invalid };
    const struct {
        InputRow row;
        const char* runs;  // a value on the side of the bound that runs
        const char* stops; // and one beyond it
        const char* name;  // the row's name in the message
        Why why;
    } cases[] = {
        {R::FlueGasTemp, "-273.15", "-273.16", "temperatura fumi[\260C]", Zero},
        {R::FlueGasTemp, "10", nullptr, nullptr, Runs}, // colder than the ambient
        {R::AmbientTemp, "-273.15", "-300", "temperatura ambiente[\260C]", Zero},
        {R::InnerDiameter, "0.5", "0", "diametro interno [mm]", Positive},
        {R::InnerCoefficient, "0.001", "0", "coefficiente liminare interno[\260C]", Positive},
        {R::InnerCoefficient, "0.001", "-15", "coefficiente liminare interno[\260C]", Positive},
        {R::OuterCoefficient, "0.001", "-8", "coefficiente liminare esterno[\260C]", Positive},
        {R::InsulationThickness, "0", "-40", "spessore isolante[mm]", Negative},
        {R::AirGapThickness, "0", "-0.001", "spessore camera d aria[mm]", Negative},
        {R::TechnicalGapThickness, "0", "-1", "spessore asola tecnica [mm]", Negative},
        {R::Screen1Thickness, "0", "-1", "spessore schermo 1 [mm]", Negative},
        {R::Screen2Thickness, "0", "-1", "spessore schermo 2 [mm]", Negative},
        {R::FlueGasTemp, "-273.15", "-1e999", "temperatura fumi[\260C]", Invalid},
        {R::AmbientTemp, "-273.15", "1e999", "temperatura ambiente[\260C]", Invalid},
        {R::InnerDiameter, "0.5", "-130", "diametro interno [mm]", Positive},
        {R::OuterCoefficient, "0.001", "0", "coefficiente liminare esterno[\260C]", Positive},
        {R::InsulationThickness, "0", "-65", "spessore isolante[mm]", Negative},
        {R::AirGapThickness, "0", "-200", "spessore camera d aria[mm]", Negative},
        {R::Screen2Thickness, "0", "-1000", "spessore schermo 2 [mm]", Negative},
        {R::GapFaceLimit, "-1e6", nullptr, nullptr, Runs}, // limits take any finite value
        {R::OuterFaceLimit, "-500", "1e999", "T imposta esterna  [\260C]", Invalid},
    };
    // The message of a stop: the row's name and value, then why.
    const auto message = [](const std::string& name, const std::string& value, Why why) {
        const std::string stop = "calcolo interrotto: ";
        if (why == Invalid)
            return stop + "valore non valido in \"" + name + "\"";
        const char* because[] = {"", "non pu\xF2 essere sotto lo zero assoluto (-273.15\260C)",
                                 "deve essere maggiore di 0", "non pu\xF2 essere negativo"};
        return stop + "\"" + name + "\" = " + value + ": " + because[why];
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(inputName(c.row));
        Fresh runs, stopped;
        EXPECT_EQ(stops(runs, {{c.row, c.runs}}), Errors{}) << c.runs;
        if (!c.stops)
            continue;
        // A stop after a calculation leaves everything as it was.
        ASSERT_TRUE(calculate(stopped.session, stopped.messages));
        stopped.session.viewer.append("relazione");
        stopped.messages.messages.clear();
        const Session before = stopped.session;
        EXPECT_EQ(stops(stopped, {{c.row, c.stops}}), Errors{message(c.name, c.stops, c.why)});
        const Session& after = stopped.session;
        EXPECT_TRUE(stopped.messages.messages.empty());
        EXPECT_EQ(after.sheet.results, before.sheet.results);
        EXPECT_EQ(after.sheet.fireResistanceLines, before.sheet.fireResistanceLines);
        EXPECT_EQ(after.sheet.materialChoiceLines, before.sheet.materialChoiceLines);
        EXPECT_EQ(after.viewer.paragraphs, before.viewer.paragraphs);
        EXPECT_EQ(after.solver.result().layerMeanTemps, before.solver.result().layerMeanTemps);
        EXPECT_EQ(after.solver.result().resistances, before.solver.result().resistances);
        EXPECT_EQ(after.input.flueGasTemp, before.input.flueGasTemp);
    }
    Fresh f;
    EXPECT_EQ(stops(f, {{InputRow::InsulationThickness, "-40"}, {InputRow::FlueGasTemp, "-300"}}),
              Errors{message("temperatura fumi[\260C]", "-300", Zero)});
}

// A layer with a thickness needs a material with points, and a conductivity
// above 0 in whichever pass it comes; a layer of 0 mm (and the insulation of
// a single wall) asks nothing of its material.
TEST(StopRule, ALayersMaterialOnlyWhereItHasAThickness) {
    const MaterialSlot gap = MaterialSlot::TechnicalGap;
    const InputRow gapMm = InputRow::TechnicalGapThickness;
    const MaterialSlot ins = MaterialSlot::Insulation;
    const InputRow insMm = InputRow::InsulationThickness;
    const std::string stop = "calcolo interrotto: ";
    const auto noPoints = [&](const char* layer) {
        return stop + "il materiale n. 40 dello strato \"" + layer + "\" non ha punti in archivio";
    };
    const std::string prova = "la conducibilit\xE0 del materiale n. 1 \"prova\" dello strato ";
    const auto notAbove0 = [&](const char* at, const char* value) {
        return stop + prova + "\"asola tecnica\" a " + at + "\260C vale " + value +
               ": deve essere maggiore di 0";
    };
    const struct {
        MaterialSlot slot;
        InputRow thicknessRow;
        const char* thickness;
        bool singleWall;
        std::initializer_list<std::pair<double, double>> points; // material 1's; none: 40, empty
        std::string stop;                                        // nothing: the calculation runs
    } cases[] = {
        // 0.5 up to 100 deg C, 0 from 101: the first pass (seeded at 0 deg C)
        // passes, a later one at the layer's real temperature does not.
        {gap, gapMm, "20", false, {{20, 0.5}, {100, 0.5}, {101, 0.0}}, notAbove0("131.1", "0")},
        {gap, gapMm, "0", false, {{20, 0.5}, {100, 0.5}, {101, 0.0}}, ""},
        {gap, gapMm, "20", false, {{20, -0.1}, {600, -0.1}}, notAbove0("0.0", "-0.1")},
        {gap, gapMm, "0", false, {{20, 0.0}, {600, 0.0}}, ""},
        {gap, gapMm, "20", false, {{20, 0.5}, {600, 0.5}}, ""},
        {gap, gapMm, "20", false, {}, noPoints("asola tecnica")},
        {gap, gapMm, "0", false, {}, ""},
        {MaterialSlot::Screen2, InputRow::Screen2Thickness, "10", false, {}, noPoints("schermo 2")},
        {ins, insMm, "40", false, {}, noPoints("isolante")},
        {ins, insMm, "40", true, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases) + ": " + c.thickness + " mm");
        Fresh f;
        f.session.sheet.singleWall = c.singleWall;
        f.session.sheet.material(MaterialSlot::Screen1) = 9;
        if (c.points.size() != 0)
            test::setMaterial(f.session.archive, 1, "prova", c.points);
        f.session.sheet.material(c.slot) = c.points.size() != 0 ? 1 : 40;
        EXPECT_EQ(stops(f, {{c.thicknessRow, c.thickness}}),
                  c.stop.empty() ? Errors{} : Errors{c.stop});
        if (c.stop.empty()) {
            EXPECT_TRUE(f.session.sheet.calculated);
            EXPECT_TRUE(f.messages.messages.empty()); // the layer checks pass
        }
    }
}

// A search that runs into an end of its range stops there after its 101
// solutions and says so; one inside it ends on the limit's temperature.
TEST(FireSearch, TheEndOfTheRangeIsSaid) {
    const struct {
        InputRow row;
        const char* limit; // nothing: the start project's
        FireRange range;
        double temperature;
        int solutions;
        const char* line;
    } cases[] = {
        {InputRow::OuterFaceLimit, "1000", FireRange::Above, 1800.0, 101,
         "temp per resistenza al fuoco(est)= oltre 1800\260C"},
        {InputRow::OuterFaceLimit, "10", FireRange::Below, 0.0, 101,
         "temp per resistenza al fuoco(est)= sotto 0\260C"},
        {InputRow::GapFaceLimit, "5000", FireRange::Above, 3500.0, 101,
         "temp per resistenza al fuoco(int)= oltre 3500\260C"},
        {InputRow::GapFaceLimit, "10", FireRange::Below, 0.0, 101,
         "temp per resistenza al fuoco(int)= sotto 0\260C"},
        {InputRow::OuterFaceLimit, nullptr, FireRange::Inside, 1153.125, 6,
         "temp per resistenza al fuoco(est)= 1153.1\260C"},
        {InputRow::GapFaceLimit, nullptr, FireRange::Inside, 792.96875, 7,
         "temp per resistenza al fuoco(int)=  793.0\260C"},
    };
    for (const auto& c : cases) {
        Fresh f;
        if (c.limit)
            f.session.sheet.input(c.row) = c.limit;
        const bool outer = c.row == InputRow::OuterFaceLimit;
        SCOPED_TRACE(c.line);
        const FireSearch search =
            outer ? searchFireTempOuter(f.session.sheet, f.session.solver, f.session.archive)
                  : searchFireTempInner(f.session.sheet, f.session.solver, f.session.archive);
        EXPECT_NEAR(search.temperature, c.temperature, 1e-20); // 0 reached within 1e-27
        EXPECT_EQ(search.solutions, c.solutions);
        EXPECT_EQ(search.range, c.range);
        ASSERT_TRUE(calculate(f.session, f.messages));
        const CalcResult& r = f.session.solver.result();
        EXPECT_EQ(outer ? r.fireRangeOuter : r.fireRangeInner, c.range);
        EXPECT_NEAR(outer ? r.fireTempOuter : r.fireTempInner, c.temperature, 1e-20);
        EXPECT_EQ(f.session.sheet.fireResistanceLines[outer ? 0 : 1], c.line);
    }
}

// The line follows the search's range alone: a search that ended inside
// its range prints its temperature as before, even next to an end.
TEST(FireSearch, LineOfEachRange) {
    const struct {
        FireSearchKind kind;
        FireSearch search;
        const char* line;
    } cases[] = {
        {FireSearchKind::Outer,
         {1799.999, 101, FireRange::Inside},
         "temp per resistenza al fuoco(est)= 1800.0\260C"},
        {FireSearchKind::Outer,
         {1799.999, 101, FireRange::Above},
         "temp per resistenza al fuoco(est)= oltre 1800\260C"},
        {FireSearchKind::Inner,
         {0.2, 101, FireRange::Below},
         "temp per resistenza al fuoco(int)= sotto 0\260C"},
        {FireSearchKind::Inner,
         {0.2, 101, FireRange::Inside},
         "temp per resistenza al fuoco(int)=    0.2\260C"},
        {FireSearchKind::Outer,
         {0.0, 101, FireRange::Inside},
         "temp per resistenza al fuoco(est)=    0.0\260C"},
        {FireSearchKind::Inner,
         {3500.0, 101, FireRange::Inside},
         "temp per resistenza al fuoco(int)= 3500.0\260C"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fireTempLine(c.kind, c.search), c.line);
}

TEST(Stars, NumbersLongerThanTheirReportColumn) {
    const struct {
        std::size_t column;
        const char* text;
        const char* shown; // the column's characters
    } cases[] = {
        {1, "380.00000", "380.00000    "},         // a copper layer, as today
        {1, "1234567.12345", "1234567.12345"},     // 13 characters fit
        {1, "12345678.12345", "*************"},    // 14 do not
        {2, "   232.1", "   232.1  "},             // the usual 8
        {2, "99999999.9", "99999999.9"},           // 10 fit
        {2, "83763411501623658849", "**********"}, // never its first digits
        {7, "1000000000000", "**********"},
    };
    for (const auto& c : cases) {
        std::array<std::string, ResultCols> row;
        row[0] = "isolante";
        row[c.column] = c.text;
        const std::string line = resultsTableLine(row);
        ASSERT_EQ(line.size(), 104u);
        const std::size_t at = c.column == 1 ? 31 : 44 + 10 * (c.column - 2);
        EXPECT_EQ(line.substr(at, c.column == 1 ? 13 : 10), c.shown) << c.text;
        EXPECT_EQ(line.substr(0, 8), "isolante");
    }
    EXPECT_EQ(fitOrStars("12345", 4), "****");
    EXPECT_EQ(fitOrStars("1234", 4), "1234");
}

// "Calcola" checks the four layers in the report's order, and none of no
// thickness (the insulation of a single wall neither).
TEST(LayerChecks, FourInReportOrderOnlyThoseThatExist) {
    const struct {
        const char* insulation;
        const char* screen1;
        bool singleWall;
        std::vector<std::string> boxes;
    } cases[] = {
        {"40", "20", false, {"isolante", "asola tecnica", "schermo 1", "schermo 2"}},
        {"0", "20", false, {"asola tecnica", "schermo 1", "schermo 2"}},
        {"40", "20", true, {"asola tecnica", "schermo 1", "schermo 2"}},
        {"40", "0", false, {"isolante", "asola tecnica", "schermo 2"}},
    };
    // The layers named in the messages' or the report's "temperatura media"
    // lines, in their order.
    const auto layersIn = [](const std::vector<std::string>& lines) {
        std::vector<std::string> layers;
        for (const std::string& l : lines)
            if (l.rfind("temperatura media ", 0) == 0)
                layers.push_back(l.substr(18, l.find(" =") - 18));
        return layers;
    };
    for (const auto& c : cases) {
        test::CalculatedSession f([](Worksheet&) {});
        // Every material tops out at 30 deg C: each layer runs hotter.
        test::setMaterial(f.session.archive, 1, "basso", {{10, 0.5}, {30, 0.5}});
        test::setMaterial(f.session.archive, 5, "basso", {{10, 0.05}, {30, 0.05}});
        test::setMaterial(f.session.archive, 9, "basso", {{10, 1.0}, {30, 1.0}});
        f.session.sheet.input(InputRow::InsulationThickness) = c.insulation;
        f.session.sheet.input(InputRow::Screen1Thickness) = c.screen1;
        f.session.sheet.singleWall = c.singleWall;
        f.messages.messages.clear();
        ASSERT_TRUE(calculate(f.session, f.messages));
        SCOPED_TRACE(std::string(c.insulation) + " " + c.screen1);
        EXPECT_EQ(f.messages.messages.size(), c.boxes.size());
        EXPECT_EQ(layersIn(f.messages.messages), c.boxes);
        const auto checks = layerChecks(f.session);
        EXPECT_EQ(failedLayerChecks(checks), static_cast<int>(c.boxes.size()));
        EXPECT_EQ(std::count_if(checks.begin(), checks.end(), [](auto& l) { return l.checked; }),
                  static_cast<long>(c.boxes.size()));
        // The report lists the same failures in the same order.
        EXPECT_EQ(layersIn(f.report()), c.boxes);
    }
}
