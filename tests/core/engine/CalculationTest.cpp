#include "engine/Calculation.h"
#include "EngineFixture.h"
#include "engine/Report.h"
#include "engine/ResultsGrid.h"
#include "engine/Session.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace camini;
using camini::test::RecordingMessages;

using Fresh = camini::test::StartedSession;

TEST(Calculate, FillsMemosAndGridAndSetsTheFlag) {
    Fresh f;
    f.session.viewer.append("vecchio testo");
    f.session.sheet.fireResistanceLines = {"vecchio"};
    EXPECT_TRUE(calculate(f.session, f.messages));
    const Worksheet& s = f.session.sheet;
    ASSERT_EQ(s.fireResistanceLines.size(), 2u);
    EXPECT_EQ(s.fireResistanceLines[0], "temp per resistenza al fuoco(est)= 1153.1\xB0"
                                        "C");
    EXPECT_EQ(s.fireResistanceLines[1], "temp per resistenza al fuoco(int)=  793.0\xB0"
                                        "C");
    EXPECT_EQ(s.materialChoiceLines.size(), 8u);
    EXPECT_TRUE(f.session.viewer.paragraphs.empty());
    EXPECT_TRUE(s.calculated);
    // The grid ends with the solution for the user's flue-gas temperature.
    EXPECT_EQ(s.results[1][3], "   232.1");
    EXPECT_EQ(s.results[8][2], " 0.85787");
    EXPECT_EQ(f.session.input.flueGasTemp, 250);
    EXPECT_EQ(f.session.solver.result().fireTempOuter, 1153.125);
    EXPECT_TRUE(f.messages.errors.empty());
}

// The one layer check: the four material layers in wall order, each with
// its material and mean temperature; Calcola's boxes, the report, the JSON
// document and a sweep's count read it.
TEST(LayerCheck, FourChecksInLayerOrder) {
    struct Case {
        bool lowMaterials; // every material tops out at 30 deg C
        int failed;
    };
    for (const Case& c : {Case{false, 0}, Case{true, 4}}) {
        Fresh f;
        if (c.lowMaterials) {
            test::setMaterial(f.session.archive, 1, "basso", {{10, 0.5}, {30, 0.5}});
            test::setMaterial(f.session.archive, 5, "basso", {{10, 0.05}, {30, 0.05}});
            test::setMaterial(f.session.archive, 9, "basso", {{10, 1.0}, {30, 1.0}});
        }
        ASSERT_TRUE(calculate(f.session, f.messages));
        const auto checks = layerChecks(f.session);
        const char* names[] = {"isolante", "asola tecnica", "schermo 1", "schermo 2"};
        const int materials[] = {5, 1, 1, 9};
        for (std::size_t i = 0; i < checks.size(); ++i) {
            EXPECT_STREQ(checks[i].layer->name, names[i]);
            EXPECT_EQ(checks[i].material, materials[i]);
            EXPECT_EQ(checks[i].failure.has_value(), c.lowMaterials) << names[i];
        }
        EXPECT_EQ(failedLayerChecks(checks), c.failed);
        if (!c.lowMaterials) {
            EXPECT_DOUBLE_EQ(checks[0].meanTemperature, 148.55207168338546);
        }
    }
}

TEST(LayerCheck, TextAndBoundaries) {
    MaterialArchive a;
    test::setMaterial(a, 3, "lana", {{20, 0.04}, {100, 0.05}});
    EXPECT_EQ(layerCheckText(a, 3, "isolante", 148.56),
              "temperatura media isolante = 148.6 maggiore della massima= 100.0");
    EXPECT_FALSE(layerCheckText(a, 3, "isolante", 100.0));
    EXPECT_TRUE(layerCheckText(a, 3, "isolante", 100.05));
    // A single point: passes only at or below it.
    test::setMaterial(a, 4, "un punto", {{300, 0.1}});
    EXPECT_FALSE(layerCheckText(a, 4, "schermo 1", 300));
    EXPECT_TRUE(layerCheckText(a, 4, "schermo 1", 300.5));
    // No points, or no such material: no limit.
    EXPECT_FALSE(layerCheckText(a, 50, "schermo 2", 5000));
    EXPECT_FALSE(layerCheckText(a, 0, "schermo 2", 5000));
}

TEST(Calculate, ColdWeatherStillCountsAsACalculation) {
    Fresh f;
    f.session.sheet.input(InputRow::FlueGasTemp) = "-5";
    f.session.sheet.input(InputRow::AmbientTemp) = "-30";
    ASSERT_TRUE(calculate(f.session, f.messages));
    EXPECT_LE(f.session.solver.result().layerMeanTemps[2], 0.0);
    EXPECT_TRUE(requestReport(f.session, f.messages, test::fixedClock()));
    EXPECT_FALSE(f.session.viewer.paragraphs.empty());
}

TEST(Calculate, SecondCalculationStartsFromTheFirst) {
    // The solver state carries over: the same inputs give a result from
    // another starting point, equal in the shown digits.
    Fresh f;
    calculate(f.session, f.messages);
    auto first = f.session.sheet.results;
    calculate(f.session, f.messages);
    EXPECT_EQ(f.session.sheet.results, first);
    EXPECT_EQ(f.session.sheet.fireResistanceLines[0],
              "temp per resistenza al fuoco(est)= 1153.1\260C");
    // Nothing is kept from the calculation before: an insulation of 0 mm in
    // an empty slot has no resistance, after a calculation that gave it
    // 0.62345 as in a fresh solver.
    auto emptyInsulation = [](Fresh& s) {
        s.session.sheet.input(InputRow::InsulationThickness) = "0";
        s.session.sheet.material(MaterialSlot::Insulation) = 60;
        EXPECT_TRUE(calculate(s.session, s.messages));
        return s.session.sheet.results[2][2];
    };
    EXPECT_EQ(emptyInsulation(f), " 0.00000");
    Fresh fresh;
    EXPECT_EQ(emptyInsulation(fresh), " 0.00000");
}
