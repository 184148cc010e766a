#include "plot/Graphs.h"
#include "PlotFixture.h"
#include "engine/ChimneyInput.h"
#include "engine/Session.h"
#include "forms/MainActions.h"
#include "plot/PlotAxes.h"
#include "support/TestSupport.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace camini;
using camini::test::PrinterPlot;
using camini::test::RecordingMessages;
using camini::test::ScreenPlot;
using camini::test::SolvedStartProject;
using Kind = RecordedPrimitive::Kind;

namespace {

constexpr PlotColour black{0, 0, 0};
constexpr PlotColour blue{0, 0, 255};
constexpr PlotColour red{255, 0, 0};

// A session whose archive holds `points` as material 7, the graphed material.
struct ConductivitySession {
    Session session;
    explicit ConductivitySession(std::initializer_list<std::pair<double, double>> points) {
        setStartProject(session.sheet);
        test::setMaterial(session.archive, 7, "materiale di prova", points);
        session.sheet.graphMaterial = 7;
    }
};

// The device pixel of a world point on the screen, as the graphs' texts and
// points are placed.
std::pair<int, int> pixel(const PlotState& plot, double x, double y) {
    PlotState world = plot;
    world.worldMode = true;
    world.lengthMode = false;
    return {static_cast<int>(PlotMapX(world, x)), static_cast<int>(PlotMapY(world, y))};
}

std::vector<RecordedPrimitive> linesIn(const ScreenPlot& s, PlotColour colour) {
    std::vector<RecordedPrimitive> out;
    for (const auto& l : s.lines())
        if (l.penColour == colour)
            out.push_back(l);
    return out;
}

} // namespace

// Points (20, 0.04) and (600, 0.12): x 0 to 650 step 50, y 0.04 to 0.12
// step 0.005, one straight blue line from (20, 0.04) to (600, 0.12).
TEST(ConductivityGraph, TwoPointMaterial) {
    ConductivitySession c({{20, 0.04}, {600, 0.12}});
    ScreenPlot s;
    DrawGraph(s.plot, makeConductivityGraph(c.session));

    EXPECT_EQ(s.plot.xMin, 0);
    EXPECT_EQ(s.plot.xMax, 650);
    EXPECT_EQ(s.plot.xStep, 50);
    EXPECT_EQ(s.plot.yMin, 0.04);
    EXPECT_EQ(s.plot.yMax, 0.12);
    EXPECT_EQ(s.plot.yStep, 0.005);
    EXPECT_EQ(s.plot.xTitle, "temp");
    EXPECT_EQ(s.plot.yTitle, "[lambda]");

    // The label of 600 would run into the title ("600temp"): it is left out.
    std::vector<std::string> expectedTexts = {" 0",       " 100",     " 200",     " 300",
                                              " 400",     " 500",     " temp",    "    0.04",
                                              "    0.05", "    0.06", "    0.07", "    0.08",
                                              "    0.09", "     0.1", "    0.11", " [lambda]"};
    EXPECT_EQ(s.textStrings(), expectedTexts);
    for (const auto& t : s.texts())
        EXPECT_EQ(t.fontColour, black) << t.text;

    auto curve = linesIn(s, blue);
    ASSERT_EQ(curve.size(), 199u);
    auto [x0, y0] = pixel(s.plot, 20, 0.04);
    auto [x1, y1] = pixel(s.plot, 600, 0.12);
    EXPECT_EQ(curve.front().x1, x0);
    EXPECT_EQ(curve.front().y1, y0);
    EXPECT_EQ(curve.back().x2, x1);
    EXPECT_EQ(curve.back().y2, y1);
    EXPECT_EQ(y1, 0); // the top of the window
    // Every joint lies on the straight line, within the pixel grid.
    for (const auto& l : curve) {
        double expectedY = y0 + (y1 - y0) * double(l.x2 - x0) / double(x1 - x0);
        EXPECT_NEAR(l.y2, expectedY, 2.0) << l.x2; // both ends truncated
        EXPECT_EQ(l.penWidth, 4);
    }
    // Everything else is the black axes.
    EXPECT_EQ(linesIn(s, black).size() + curve.size(), s.lines().size());
    EXPECT_TRUE(s.ellipses().empty());
}

// Choosing a material for the graph makes it the insulation's when it has a
// range to draw over; drawing the graph, however often, changes nothing.
TEST(ConductivityGraph, ChoosingTheGraphedMaterialMakesItTheInsulation) {
    struct Case {
        bool twoPoints; // material 7: (20, 0.04) and (600, 0.12), or (100, 0.05) alone
        int chosen;
        int insulation; // after the choice
    };
    const Case cases[] = {
        {true, 7, 7},
        {false, 7, 5},  // one point
        {false, 60, 5}, // an empty slot
    };
    for (const Case& k : cases) {
        Session session;
        setStartProject(session.sheet);
        if (k.twoPoints)
            test::setMaterial(session.archive, 7, "due punti", {{20, 0.04}, {600, 0.12}});
        else
            test::setMaterial(session.archive, 7, "un punto", {{100, 0.05}});
        chooseGraphMaterial(session.sheet, session.archive, k.chosen);
        EXPECT_EQ(session.sheet.graphMaterial, k.chosen);
        EXPECT_EQ(session.sheet.material(MaterialSlot::Insulation), k.insulation) << k.chosen;
        session.sheet.material(MaterialSlot::Insulation) = 5;
        ScreenPlot s;
        for (int paint = 0; paint < 2; ++paint)
            DrawGraph(s.plot, makeConductivityGraph(session));
        EXPECT_EQ(session.sheet.material(MaterialSlot::Insulation), 5) << k.chosen;
    }
}

// (20, 0.04), (300, 0.06), (600, 0.05): the y window runs from the smallest
// to the largest point, so the hump stays inside and the curve is drawn in
// one piece, from its first point to its last.
TEST(ConductivityGraph, TheHumpStaysInsideTheWindow) {
    ConductivitySession c({{20, 0.04}, {300, 0.06}, {600, 0.05}});
    ScreenPlot s;
    DrawGraph(s.plot, makeConductivityGraph(c.session));
    EXPECT_EQ(s.plot.yMin, 0.04);
    EXPECT_GE(s.plot.yMax, 0.06);
    std::vector<RecordedPrimitive> moves;
    for (const auto& p : s.canvas.primitives())
        if (p.kind == Kind::Move && p.penColour == blue)
            moves.push_back(p);
    EXPECT_EQ(moves.size(), 1u);
    const auto curve = linesIn(s, blue);
    ASSERT_EQ(curve.size(), 199u);
    auto [xTop, yTop] = pixel(s.plot, 300, 0.06);
    const auto highest = std::min_element(curve.begin(), curve.end(),
                                          [](const auto& a, const auto& b) { return a.y2 < b.y2; });
    EXPECT_NEAR(highest->y2, yTop, 1);
    EXPECT_NEAR(highest->x2, xTop, 3);
    auto [xEnd, yEnd] = pixel(s.plot, 600, 0.05);
    EXPECT_EQ(curve.back().x2, xEnd);
    EXPECT_EQ(curve.back().y2, yEnd);
}

// A conductivity that falls, as a carbon steel's: the window runs from the
// last point's conductivity up to the first's and the whole curve is drawn,
// with its y labels.
TEST(ConductivityGraph, FallingMaterialDrawsItsCurve) {
    ConductivitySession c({{20, 0.12}, {600, 0.04}});
    ScreenPlot s;
    DrawGraph(s.plot, makeConductivityGraph(c.session));
    EXPECT_EQ(s.plot.yMin, 0.04);
    EXPECT_EQ(s.plot.yMax, 0.12);
    const auto curve = linesIn(s, blue);
    ASSERT_EQ(curve.size(), 199u);
    auto [x0, y0] = pixel(s.plot, 20, 0.12);
    EXPECT_EQ(curve.front().x1, x0);
    EXPECT_EQ(curve.front().y1, y0);
    auto [x1, y1] = pixel(s.plot, 600, 0.04);
    EXPECT_EQ(curve.back().x2, x1);
    EXPECT_EQ(curve.back().y2, y1);
    EXPECT_NE(s.findText("    0.04"), nullptr);
    EXPECT_NE(s.findText("    0.11"), nullptr);
    EXPECT_NE(s.findText(" [lambda]"), nullptr);
}

// An empty slot: its own message, nothing drawn, the insulation unchanged.
TEST(ConductivityGraph, MaterialWithoutPoints) {
    ConductivitySession c({{100, 0.05}});
    c.session.sheet.material(MaterialSlot::Insulation) = 5;
    c.session.sheet.graphMaterial = 60;
    GraphProcedure graph = makeConductivityGraph(c.session);
    EXPECT_EQ(graph.check(), std::string("senza punti in archivio non \xE8 possibile il grafico!"));
    ScreenPlot s;
    DrawGraph(s.plot, graph);
    EXPECT_TRUE(s.canvas.primitives().empty());
    EXPECT_EQ(c.session.sheet.material(MaterialSlot::Insulation), 5);
}

// One point: the check gives the message; the drawing draws nothing.
TEST(ConductivityGraph, OnePointMaterial) {
    ConductivitySession c({{100, 0.05}});
    c.session.sheet.material(MaterialSlot::Insulation) = 5;
    GraphProcedure graph = makeConductivityGraph(c.session);
    ASSERT_TRUE(graph.check);
    EXPECT_EQ(graph.check(),
              std::string("con un solo punto in archivio non \xE8 possibile il grafico!"));

    RecordingMessages messages;
    EXPECT_FALSE(checkGraph(graph, messages));
    EXPECT_EQ(
        messages.messages,
        std::vector<std::string>{"con un solo punto in archivio non \xE8 possibile il grafico!"});
    EXPECT_TRUE(messages.errors.empty());

    ScreenPlot s;
    for (int paint = 0; paint < 3; ++paint)
        DrawGraph(s.plot, graph); // repaints say nothing and draw nothing
    EXPECT_TRUE(s.canvas.primitives().empty());
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(c.session.sheet.material(MaterialSlot::Insulation), 5);
}

TEST(ConductivityGraph, CheckPassesForARange) {
    ConductivitySession c({{20, 0.04}, {600, 0.12}});
    RecordingMessages messages;
    EXPECT_TRUE(checkGraph(makeConductivityGraph(c.session), messages));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(checkConductivityGraph(c.session), std::nullopt);
}

TEST(ConductivityGraph, MaterialWithoutPointsGivesTheMessage) {
    ConductivitySession c({{20, 0.04}, {600, 0.12}});
    c.session.sheet.graphMaterial = 50; // an empty slot
    EXPECT_TRUE(checkConductivityGraph(c.session).has_value());
    ScreenPlot s;
    DrawGraph(s.plot, makeConductivityGraph(c.session));
    EXPECT_TRUE(s.canvas.primitives().empty());
}

// A conductivity too large for a double leaves no range to draw into: the
// frame alone, and nothing that is not a number reaches the surface.
TEST(ConductivityGraph, InfiniteConductivityDrawsTheFrameOnly) {
    ConductivitySession c({{20, 0.04}, {600, HUGE_VAL}});
    ScreenPlot s;
    DrawGraph(s.plot, makeConductivityGraph(c.session));
    EXPECT_FALSE(plotWorldUsable(s.plot));
    EXPECT_EQ(s.textStrings(), (std::vector<std::string>{" temp", " [lambda]"}));
    EXPECT_TRUE(linesIn(s, blue).empty());
    EXPECT_EQ(s.lines().size(), 8u);
}

// The graph reads the archive afresh each time it draws.
TEST(ConductivityGraph, ReadsTheArchiveEachTime) {
    ConductivitySession c({{20, 0.04}, {600, 0.12}});
    GraphProcedure graph = makeConductivityGraph(c.session);
    ScreenPlot first;
    DrawGraph(first.plot, graph);
    test::setMaterial(c.session.archive, 7, "cambiato", {{100, 1.0}, {1000, 2.0}});
    ScreenPlot second;
    DrawGraph(second.plot, graph);
    EXPECT_EQ(second.plot.xMax, 1050);
    EXPECT_NE(first.textStrings(), second.textStrings());
}

TEST(ProfileGraph, StartProjectFirstCalculation) {
    SolvedStartProject w;
    ScreenPlot s;
    DrawGraph(s.plot, makeProfileGraph(w.session));
    const auto& x = w.result().profilePositions;
    const auto& t = w.result().profileTemps;

    // Axes: 0 to 120 mm step 10, 0 to 275 deg C step 25.
    EXPECT_EQ(s.plot.xMax, 120);
    EXPECT_EQ(s.plot.xStep, 10);
    EXPECT_EQ(s.plot.yMin, 0);
    EXPECT_EQ(s.plot.yMax, 275);
    EXPECT_EQ(s.plot.yStep, 25);
    EXPECT_EQ(s.plot.labelColumns, 1);

    // Eight red circles on the profile points.
    auto circles = s.ellipses();
    ASSERT_EQ(circles.size(), 8u);
    for (std::size_t k = 0; k < 8; ++k) {
        auto [px, py] = pixel(s.plot, x[k], t[k]);
        EXPECT_NEAR((circles[k].x1 + circles[k].x2) / 2.0, px, 1.0) << k;
        EXPECT_NEAR((circles[k].y1 + circles[k].y2) / 2.0, py, 1.0) << k;
        EXPECT_EQ(circles[k].penColour, red);
    }
    // Seven red segments through them.
    auto segments = linesIn(s, red);
    ASSERT_EQ(segments.size(), 7u);
    for (std::size_t k = 0; k < 7; ++k) {
        EXPECT_EQ(std::make_pair(segments[k].x1, segments[k].y1), pixel(s.plot, x[k], t[k])) << k;
        EXPECT_EQ(std::make_pair(segments[k].x2, segments[k].y2), pixel(s.plot, x[k + 1], t[k + 1]))
            << k;
    }
}

// Each layer's name stands on its own segment, a third of the way along it
// at the segment's mean temperature, unless it would cover a temperature or
// another name there: then it moves to a free place. No name covers another
// text or ends less than a blank before it, on the screen and on the printer
// (in the recorder's 14- and 10-point fonts, which it measures); the crowded
// outer layers are those seen at 1024 x 768; a layer of no thickness (the
// air gap) has its name at its neighbour's point. Each temperature stands
// at its position and at its value truncated to whole degrees (the start
// project's Tf 250, then 232.1, 65.0, 43.1, 38.0, 33.5, 32.4, Ta 20).
TEST(ProfileGraph, LayerNamesOnTheirSegmentsClearOfTheOtherTexts) {
    const char* names[] = {"isolante", "camera aria", "asola tecnica", "schermo 1", "schermo 2"};
    using Temperatures = std::vector<std::pair<std::string, double>>; // text, height
    const Temperatures start = {{"  250", 250}, {"  232", 232}, {"   65", 64}, {"   43", 43},
                                {"   38", 37},  {"   33", 33},  {"   32", 32}, {"   20", 20}};
    const struct {
        bool printer;
        std::vector<double> positions, temps; // none: the start project's
        std::vector<bool> moved;
        Temperatures temperatures; // none: not checked
    } cases[] = {
        {false, {}, {}, {false, false, true, false, true}, start},
        {false,
         {0, 0, 40, 60, 80, 100, 110, 110},
         {250, 230.1, 73.3, 50.1, 41.5, 33.9, 33.9, 20},
         {false, false, true, false, true},
         {}},
        {false, {0, 0, 40, 40, 60, 80, 90, 90}, {}, {false, false, false, false, true}, {}},
        {true, {}, {}, {false, false, false, false, false}, {}}};
    for (const auto& c : cases) {
        SolvedStartProject w;
        CalcResult& r = w.session.solver.result();
        if (!c.positions.empty())
            std::copy(c.positions.begin(), c.positions.end(), r.profilePositions.begin());
        if (!c.temps.empty())
            std::copy(c.temps.begin(), c.temps.end(), r.profileTemps.begin());
        ScreenPlot screen;
        PrinterPlot printer(4960, 7016);
        RecordingCanvas& canvas = c.printer ? printer.canvas : screen.canvas;
        PlotState& plot = c.printer ? printer.plot : screen.plot;
        DrawGraph(plot, makeProfileGraph(w.session));
        // The names, then the eight temperatures, are the last thirteen texts.
        const auto all = canvas.primitives(Kind::Text);
        const std::vector<RecordedPrimitive> texts(all.end() - 13, all.end());
        const auto overlap = [&](const RecordedPrimitive& a, const RecordedPrimitive& b) {
            const auto ink = [&](const RecordedPrimitive& t) {
                return t.x1 + canvas.textWidth(t.text.substr(0, t.text.find_first_not_of(' ')));
            };
            return ink(a) < b.x1 + canvas.textWidth(b.text + ' ') &&
                   ink(b) < a.x1 + canvas.textWidth(a.text + ' ') &&
                   std::abs(a.y1 - b.y1) < canvas.textHeight();
        };
        const auto& x = r.profilePositions;
        const auto& t = r.profileTemps;
        for (std::size_t i = 1; i <= 5; ++i) {
            const RecordedPrimitive& name = texts[i - 1];
            EXPECT_EQ(name.text, std::string(" ") + names[i - 1]);
            EXPECT_EQ(name.fontColour, black);
            const auto [px, py] = pixel(plot, x[i] + (x[i + 1] - x[i]) / 3, (t[i] + t[i + 1]) / 2);
            EXPECT_EQ(name.x1 != px || name.y1 != (c.printer ? plot.devHeight - py : py),
                      c.moved[i - 1])
                << names[i - 1] << " case " << &c - cases;
            for (std::size_t k = 0; k < 13; ++k)
                EXPECT_TRUE(k == i - 1 || !overlap(name, texts[k]))
                    << names[i - 1] << " " << texts[k].text;
            // Between the segment's ends.
            EXPECT_GE(name.x1, pixel(plot, x[i], 0).first);
            EXPECT_LE(name.x1, pixel(plot, x[i + 1], 0).first);
        }
        for (std::size_t k = 0; k < c.temperatures.size(); ++k) {
            const RecordedPrimitive& text = texts[5 + k];
            EXPECT_EQ(text.text, c.temperatures[k].first) << k;
            EXPECT_EQ(std::make_pair(text.x1, text.y1), pixel(plot, x[k], c.temperatures[k].second))
                << k;
        }
    }
}

// 399.6 deg C is written as 400, right-aligned in 4 characters behind the
// blank of PlotText, at y = 399.
TEST(ProfileGraph, RoundedTextTruncatedHeight) {
    SolvedStartProject w;
    w.session.solver.result().profileTemps[0] = 399.6;
    ScreenPlot s;
    DrawGraph(s.plot, makeProfileGraph(w.session));
    const RecordedPrimitive* text = s.findText("  400");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->y1, pixel(s.plot, 0, 399).second);
    EXPECT_NE(text->y1, pixel(s.plot, 0, 399.6).second);
}

// Flue gas 400, ambient 20, total thickness 130 mm: x 0 to 140 step 10,
// labels every 20 up to 120; y 0 to 425 step 25, labels every 50 up to 400.
TEST(ProfileGraph, AxesOfAThickerWall) {
    SolvedStartProject w;
    CalcResult& r = w.session.solver.result();
    r.profilePositions = {0, 0, 50, 70, 90, 110, 130, 130};
    r.profileTemps = {400, 380, 120, 90, 60, 40, 35, 20};
    w.session.input.ambientTemp = 20;
    ScreenPlot s;
    DrawGraph(s.plot, makeProfileGraph(w.session));
    EXPECT_EQ(s.plot.xMax, 140);
    EXPECT_EQ(s.plot.xStep, 10);
    EXPECT_EQ(s.plot.yMax, 425);
    EXPECT_EQ(s.plot.yStep, 25);
    std::vector<std::string> xLabels, yLabels;
    for (const auto& t : s.texts()) {
        if (t.y1 == 677)
            xLabels.push_back(t.text);
        else if (t.x1 == 34)
            yLabels.push_back(t.text);
    }
    EXPECT_EQ(xLabels,
              (std::vector<std::string>{" 0", " 20", " 40", " 60", " 80", " 100", " 120", " X"}));
    EXPECT_EQ(yLabels.front(), "       0");
    EXPECT_EQ(yLabels.back(), "     400");
    EXPECT_EQ(yLabels.size(), 9u);
}

// The y range's bottom is the ambient temperature of the inputs.
TEST(ProfileGraph, BottomOfTheRangeIsTheAmbient) {
    SolvedStartProject w;
    w.session.input.ambientTemp = -30;
    ScreenPlot s;
    DrawGraph(s.plot, makeProfileGraph(w.session));
    EXPECT_EQ(s.plot.yMin, -50); // -30 rounded down with step 25
}

// Before any calculation every position is 0: a window of no width. The
// frame is drawn, without ticks or data.
TEST(ProfileGraph, NoCalculationDrawsTheFrameOnly) {
    Session session;
    ScreenPlot s;
    DrawGraph(s.plot, makeProfileGraph(session));
    EXPECT_EQ(s.textStrings(), (std::vector<std::string>{" X", " T"}));
    EXPECT_EQ(s.lines().size(), 8u);
    EXPECT_TRUE(s.ellipses().empty());
}

TEST(ProfileGraph, HasNothingToCheck) {
    SolvedStartProject w;
    RecordingMessages messages;
    EXPECT_TRUE(checkGraph(makeProfileGraph(w.session), messages));
    EXPECT_TRUE(messages.messages.empty());
}

// The same graph on a printer page: the same primitives in dots, no clip.
TEST(ProfileGraph, OnThePrinter) {
    SolvedStartProject w;
    PrinterPlot p(4960, 7016);
    p.canvas.setPenWidth(5);
    DrawGraph(p.plot, makeProfileGraph(w.session));
    auto circles = p.canvas.primitives(Kind::Ellipse);
    EXPECT_EQ(circles.size(), 8u);
    for (const auto& prim : p.canvas.primitives()) {
        EXPECT_GE(std::min(prim.x1, prim.x2), 0);
        EXPECT_LE(std::max(prim.x1, prim.x2), 4960);
        EXPECT_GE(std::min(prim.y1, prim.y2), 0);
        EXPECT_LE(std::max(prim.y1, prim.y2), 7016);
        if (prim.kind == Kind::Text) {
            EXPECT_EQ(prim.fontSize, 10);
        }
        if (prim.kind == Kind::Line) {
            EXPECT_EQ(prim.penWidth, 5);
        }
    }
    auto texts = p.canvas.primitives(Kind::Text);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const auto& t) { return t.text == " schermo 2"; }));
}

TEST(DrawGraph, OpensTheDeviceFirst) {
    ScreenPlot s;
    s.plot.windowWidth = 800;
    s.plot.windowHeight = 600;
    s.plot.worldMode = true;
    GraphProcedure empty;
    DrawGraph(s.plot, empty);
    EXPECT_EQ(s.plot.devWidth, 790);
    EXPECT_EQ(s.plot.devHeight, 520);
    EXPECT_FALSE(s.plot.worldMode);
    EXPECT_TRUE(s.canvas.primitives().empty());
    RecordingMessages messages;
    EXPECT_TRUE(checkGraph(empty, messages));
}

TEST(DrawGraph, SameDataSamePicture) {
    SolvedStartProject w;
    GraphProcedure graph = makeProfileGraph(w.session);
    ScreenPlot first, second;
    DrawGraph(first.plot, graph);
    DrawGraph(second.plot, graph);
    DrawGraph(second.plot, graph);
    auto a = first.canvas.primitives();
    auto b = second.canvas.primitives();
    ASSERT_EQ(b.size(), 2 * a.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].x2, b[a.size() + i].x2) << i;
        EXPECT_EQ(a[i].y2, b[a.size() + i].y2) << i;
        EXPECT_EQ(a[i].text, b[a.size() + i].text) << i;
    }
}

// The window's settings for each device reach the canvas before the graph
// draws, the graph draws on that canvas as that device, and the plot state
// gets back the device and canvas it had (not the screen's).
TEST(DrawGraphOn, DeviceSettingsAndTheStateGivenBack) {
    struct Seen {
        PlotDevice device{};
        PlotCanvas* canvas = nullptr;
        std::string font;
        int size = 0, pen = 0;
        std::uint16_t devWidth = 0;
    };
    struct Case {
        PlotDevice device;
        int fontSize;
        int penWidth;
        std::uint16_t devWidth;
    };
    for (const Case& c :
         {Case{PlotDevice::Screen, 8, 2, 1014}, Case{PlotDevice::Printer, 10, 5, 1800}}) {
        RecordingCanvas previous;
        RecordingCanvas canvas(2000, 1400);
        PlotState plot;
        plot.windowWidth = 1024;
        plot.windowHeight = 768;
        plot.device = PlotDevice::Printer;
        plot.canvas = &previous;
        Seen seen;
        const GraphProcedure graph{{},
                                   [&](PlotState& p) {
                                       seen = {p.device,          p.canvas,
                                               canvas.fontName(), canvas.fontSize(),
                                               canvas.penWidth(), p.devWidth};
                                   },
                                   {}};
        drawGraphOn(plot, graph, canvas, c.device);
        EXPECT_EQ(seen.device, c.device);
        EXPECT_EQ(seen.canvas, &canvas);
        EXPECT_EQ(seen.font, "TIMES NEW ROMAN");
        EXPECT_EQ(seen.size, c.fontSize);
        EXPECT_EQ(seen.pen, c.penWidth);
        EXPECT_EQ(seen.devWidth, c.devWidth);
        EXPECT_EQ(plot.device, PlotDevice::Printer);
        EXPECT_EQ(plot.canvas, &previous);
    }
}
