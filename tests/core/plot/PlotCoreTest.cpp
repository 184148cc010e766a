#include "PlotFixture.h"
#include "plot/PlotState.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace camini;
using camini::test::PrinterPlot;
using camini::test::ScreenPlot;
using Kind = RecordedPrimitive::Kind;

namespace {

constexpr PlotColour black{0, 0, 0};
constexpr PlotColour blue{0, 0, 255};
constexpr PlotColour red{255, 0, 0};

} // namespace

TEST(PlotState, ValuesAtProgramStart) {
    PlotState plot;
    EXPECT_EQ(plot.device, PlotDevice::Screen);
    EXPECT_EQ(plot.colour, 1);
    EXPECT_EQ(plot.windowWidth, 0);
    EXPECT_EQ(plot.devWidth, 0);
    EXPECT_FALSE(plot.worldMode);
    EXPECT_FALSE(plot.lengthMode);
    EXPECT_EQ(plot.labelColumns, 0);
    EXPECT_EQ(plot.rowsBelow, 4);
    EXPECT_EQ(plot.labelEvery, 2);
    EXPECT_EQ(plot.sampleCount, 199);
    EXPECT_EQ(plot.canvas, nullptr);
}

TEST(PlotOpen, ScreenTakesTheWindowSize) {
    ScreenPlot s(1024, 768);
    EXPECT_EQ(s.plot.devWidth, 1014);
    EXPECT_EQ(s.plot.devHeight, 688);
    EXPECT_EQ(s.plot.marginX, 0.0);
    EXPECT_EQ(s.plot.marginY, 0.0);
    EXPECT_EQ(s.plot.charWidth, 6.0);
    EXPECT_EQ(s.plot.charHeight, 6.0);
    EXPECT_EQ(s.canvas.fontSize(), 8);
}

TEST(PlotOpen, SwitchesWorldModeOff) {
    ScreenPlot s;
    s.plot.worldMode = true;
    PlotOpen(s.plot);
    EXPECT_FALSE(s.plot.worldMode);
}

TEST(PlotOpen, PrinterTakesThePageSize) {
    PrinterPlot p(4960, 7016);
    EXPECT_EQ(p.plot.devWidth, 4464);
    EXPECT_EQ(p.plot.devHeight, 6314);
    EXPECT_DOUBLE_EQ(p.plot.marginX, 446.4);
    EXPECT_DOUBLE_EQ(p.plot.marginY, 446.4); // the width, for the bottom too
    EXPECT_DOUBLE_EQ(p.plot.charWidth, 44.64);
    EXPECT_DOUBLE_EQ(p.plot.charHeight, 78.925);
    EXPECT_EQ(p.canvas.fontSize(), 10);
}

TEST(PlotOpen, TinyWindowGivesAnEmptyDrawingArea) {
    ScreenPlot s(5, 50);
    EXPECT_EQ(s.plot.devWidth, 0);
    EXPECT_EQ(s.plot.devHeight, 0);
}

TEST(PlotPalette, ColourNumbers) {
    struct Case {
        std::uint16_t number;
        std::optional<PlotColour> colour;
    };
    const Case cases[] = {
        {0, PlotColour{0, 0, 0}},
        {1, PlotColour{0, 0, 255}},
        {2, PlotColour{0, 128, 0}},
        {3, PlotColour{0, 255, 255}},
        {4, PlotColour{255, 0, 0}},
        {5, PlotColour{255, 0, 255}},
        {6, PlotColour{128, 0, 0}},
        {7, PlotColour{128, 128, 128}},
        {14, PlotColour{128, 128, 0}},
        {8, std::nullopt},
        {9, std::nullopt},
        {13, std::nullopt},
        {15, std::nullopt},
        {100, std::nullopt},
        {65535, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlotPalette(c.number), c.colour) << c.number;
}

TEST(PlotSetColour, PaletteColourGoesToPenAndFont) {
    ScreenPlot s;
    PlotSetColour(s.plot, 4);
    EXPECT_EQ(s.plot.colour, 4);
    EXPECT_EQ(s.canvas.penColour(), red);
    EXPECT_EQ(s.canvas.fontColour(), red);
}

TEST(PlotSetColour, NumberWithoutEntryLeavesPenAndFont) {
    ScreenPlot s;
    PlotSetColour(s.plot, 1);
    PlotSetColour(s.plot, 9);
    EXPECT_EQ(s.plot.colour, 9);
    EXPECT_EQ(s.canvas.penColour(), blue);
    EXPECT_EQ(s.canvas.fontColour(), blue);
}

TEST(PlotMap, DeviceModeFlipsOnlyTheScreen) {
    ScreenPlot s;
    EXPECT_EQ(PlotMapX(s.plot, 12.5), 12.5);
    EXPECT_EQ(PlotMapY(s.plot, 10.0), 678.0);
    PrinterPlot p(1000, 1000);
    EXPECT_EQ(PlotMapY(p.plot, 10.0), 10.0);
}

TEST(PlotMap, WorldAndLengthModes) {
    ScreenPlot s;
    s.plot.originX = 94;
    s.plot.originY = 24;
    PlotSetWorld(s.plot, 0, 0, 650, 10);
    EXPECT_DOUBLE_EQ(s.plot.extentX, 920);
    EXPECT_DOUBLE_EQ(s.plot.extentY, 664);
    EXPECT_DOUBLE_EQ(s.plot.scaleX, 920.0 / 650);
    EXPECT_DOUBLE_EQ(s.plot.scaleY, 66.4);
    s.plot.worldMode = true;
    EXPECT_DOUBLE_EQ(PlotMapX(s.plot, 100), 94 + 100 * 920.0 / 650);
    EXPECT_DOUBLE_EQ(PlotMapY(s.plot, 10), 0.0);
    s.plot.lengthMode = true;
    EXPECT_DOUBLE_EQ(PlotMapX(s.plot, 65), 92.0);
}

TEST(PlotMap, InvertedWindowHasANegativeScale) {
    ScreenPlot s;
    PlotSetWorld(s.plot, 0, 10, 1, 0);
    EXPECT_LT(s.plot.scaleY, 0.0);
    EXPECT_TRUE(plotWorldUsable(s.plot));
}

// devHeight 100, world y 0..10, originY 24: y = 0 is device y 24, row 76
// on both devices.
TEST(PlotMove, ScreenAndPrinterReachTheSameRow) {
    for (PlotDevice device : {PlotDevice::Screen, PlotDevice::Printer}) {
        RecordingCanvas canvas(200, 200);
        PlotState plot;
        plot.device = device;
        plot.canvas = &canvas;
        plot.windowWidth = 200;
        plot.windowHeight = 200;
        PlotOpen(plot);
        plot.devHeight = 100;
        plot.originY = 24;
        PlotSetWorld(plot, 0, 0, 10, 10);
        plot.worldMode = true;
        EXPECT_DOUBLE_EQ(PlotMapY(plot, 0), device == PlotDevice::Screen ? 76.0 : 24.0);
        PlotMove(plot, 0, 0);
        ASSERT_EQ(canvas.primitives().size(), 1u);
        EXPECT_EQ(canvas.primitives()[0].kind, Kind::Move);
        EXPECT_EQ(canvas.primitives()[0].y2, 76) << static_cast<int>(device);
    }
}

// On the printer a move flips before dropping the fraction, a line after.
TEST(PlotDraw, PrinterRowsOfMoveAndLine) {
    RecordingCanvas canvas(200, 200);
    PlotState plot;
    plot.device = PlotDevice::Printer;
    plot.canvas = &canvas;
    PlotOpen(plot);
    plot.devHeight = 100;
    PlotLine(plot, 5.7, 10.5, 20.2, 10.5);
    auto all = canvas.primitives();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].x2, 5);
    EXPECT_EQ(all[0].y2, 89); // trunc(100 - 10.5)
    EXPECT_EQ(all[1].x2, 20);
    EXPECT_EQ(all[1].y2, 90); // 100 - trunc(10.5)
    EXPECT_EQ(plot.penX, 20.2);
    EXPECT_EQ(plot.penY, 10.5);
}

TEST(PlotDraw, ScreenLineFromThePenPosition) {
    ScreenPlot s;
    PlotMove(s.plot, 10.9, 20.9);
    PlotDraw(s.plot, 30.2, 40.2);
    auto lines = s.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].x1, 10);
    EXPECT_EQ(lines[0].y1, 667); // trunc(688 - 20.9)
    EXPECT_EQ(lines[0].x2, 30);
    EXPECT_EQ(lines[0].y2, 647); // trunc(688 - 40.2)
    EXPECT_DOUBLE_EQ(s.plot.penY, 688 - 40.2);
}

TEST(PlotRectangle, OutlineBackToTheStart) {
    ScreenPlot s;
    PlotRectangle(s.plot, 10, 10, 20, 30);
    auto lines = s.lines();
    ASSERT_EQ(lines.size(), 4u);
    const int expected[4][2] = {{20, 678}, {20, 658}, {10, 658}, {10, 678}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].x2, expected[i][0]) << i;
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].y2, expected[i][1]) << i;
    }
    EXPECT_EQ(lines[0].x1, 10);
    EXPECT_EQ(lines[0].y1, 678);
}

TEST(PlotCircle, ScreenClipOfTheCentre) {
    struct Case {
        double x, y;
        bool drawn;
    };
    // Window 1024 x 768: 10 <= X <= 1024 and 0 <= Y <= 718 after the flip.
    const Case cases[] = {
        {9, 100, false},   {10, 100, true},      {9.99, 100, false},
        {1024, 100, true}, {1024.5, 100, false}, {500, 688, true},
        {500, 689, false}, {500, -30, true},     {500, -30.5, false},
    };
    for (const Case& c : cases) {
        ScreenPlot s;
        s.plot.penX = 1;
        s.plot.penY = 2;
        PlotCircle(s.plot, c.x, c.y, 3);
        EXPECT_EQ(s.ellipses().size(), c.drawn ? 1u : 0u) << c.x << "," << c.y;
        if (c.drawn) {
            EXPECT_EQ(s.plot.penX, c.x);
            EXPECT_EQ(s.plot.penY, 688 - c.y);
        } else {
            EXPECT_EQ(s.plot.penX, 1);
            EXPECT_EQ(s.plot.penY, 2);
        }
    }
}

TEST(PlotCircle, WorldRadiusFollowsTheXScale) {
    ScreenPlot s;
    s.plot.originX = 94;
    s.plot.originY = 24;
    PlotSetWorld(s.plot, 0, 0, 650, 10);
    s.plot.worldMode = true;
    PlotCircle(s.plot, 325, 5, 65); // radius 92 pixels
    auto e = s.ellipses();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].x2 - e[0].x1, 184);
    EXPECT_FALSE(s.plot.lengthMode);
}

// The box around the centre, on the screen's rows and on the printer's
// (900 high within its margins), which has no clip; the pen does not move.
TEST(PlotCircle, BoxAroundTheCentre) {
    ScreenPlot s;
    PrinterPlot p(1000, 1000);
    PlotCircle(s.plot, 10, 100, 3);
    PlotCircle(p.plot, 2, 5, 2);
    const std::pair<const RecordingCanvas*, std::vector<int>> cases[] = {
        {&s.canvas, {7, 591, 13, 585}}, {&p.canvas, {0, 897, 4, 893}}};
    for (const auto& [canvas, box] : cases) {
        const auto e = canvas->primitives(Kind::Ellipse);
        ASSERT_EQ(e.size(), 1u);
        EXPECT_EQ((std::vector<int>{e[0].x1, e[0].y1, e[0].x2, e[0].y2}), box);
        EXPECT_TRUE(canvas->primitives(Kind::Move).empty());
    }
}

TEST(PlotMarker, KindsAndTheirPrimitives) {
    struct Case {
        int kind;
        std::vector<Kind> sequence;
    };
    const auto M = Kind::Move, L = Kind::Line, E = Kind::Ellipse;
    const Case cases[] = {
        {0, {M}},
        {1, {M, E}},
        {2, {M, M, L, M, L}},
        {3, {M, M, L, L, L, L}},
        {4, {M, E, M, L, L, L, L}},
        {5, {M, M, L, M, L, M, L, L, L, L}},
        {6, {M}},
        {-1, {M}},
    };
    for (const Case& c : cases) {
        ScreenPlot s;
        s.plot.originX = 94;
        s.plot.originY = 24;
        PlotSetWorld(s.plot, 0, 0, 100, 100);
        s.plot.worldMode = true;
        PlotMarker(s.plot, c.kind, 50, 50);
        std::vector<Kind> got;
        for (const auto& p : s.canvas.primitives())
            got.push_back(p.kind);
        EXPECT_EQ(got, c.sequence) << "kind " << c.kind;
    }
}

// Marker sizes follow the world window: the same on the device whatever the data.
TEST(PlotMarker, SizesInDeviceUnits) {
    for (double span : {1.0, 650.0, 1e6}) {
        ScreenPlot s;
        s.plot.originX = 94;
        s.plot.originY = 24;
        PlotSetWorld(s.plot, 0, 0, span, span);
        s.plot.worldMode = true;
        PlotMarker(s.plot, 4, span / 2, span / 2);
        auto e = s.ellipses();
        ASSERT_EQ(e.size(), 1u);
        EXPECT_EQ(e[0].x2 - e[0].x1, 9) << span; // radius 920 / 200 = 4.6
        auto lines = s.lines();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_NEAR(lines[0].x2 - lines[0].x1, 920.0 / 200, 1.0) << span;
        EXPECT_NEAR(lines[1].y1 - lines[1].y2, 664.0 / 70, 1.0) << span;
    }
}

TEST(PlotMarker, KindSixOnlyMovesThePen) {
    ScreenPlot s;
    PlotMarker(s.plot, 6, 40, 50);
    ASSERT_EQ(s.canvas.primitives().size(), 1u);
    EXPECT_EQ(s.canvas.primitives()[0].kind, Kind::Move);
    EXPECT_EQ(s.canvas.currentX(), 40);
    EXPECT_EQ(s.canvas.currentY(), 638);
    EXPECT_EQ(s.plot.penX, 40);
    EXPECT_EQ(s.plot.penY, 638);
}

// A blank before the text, at the corner's whole pixels, in the screen's
// font size or the one the printer opened with; the pen stays.
TEST(PlotText, WritesABlankFirst) {
    ScreenPlot s;
    PrinterPlot p(1000, 1000);
    for (PlotState* plot : {&s.plot, &p.plot}) {
        plot->penX = 3;
        plot->penY = 4;
        PlotText(*plot, "12", 100.7, 10.5);
        EXPECT_EQ(plot->penX, 3);
        EXPECT_EQ(plot->penY, 4);
    }
    const std::tuple<const RecordingCanvas*, int, int> cases[] = {{&s.canvas, 677, 14},
                                                                  {&p.canvas, 890, 10}};
    for (const auto& [canvas, row, size] : cases) {
        const auto t = canvas->primitives(Kind::Text);
        ASSERT_EQ(t.size(), 1u);
        EXPECT_EQ(t[0].text, " 12");
        EXPECT_EQ(t[0].x1, 100);
        EXPECT_EQ(t[0].y1, row); // the printer's 900 - trunc(10.5)
        EXPECT_EQ(t[0].fontName, "times new roman");
        EXPECT_EQ(t[0].fontSize, size);
        EXPECT_TRUE(canvas->primitives(Kind::Move).empty());
    }
}

TEST(PlotText, FontColourFromPlotSetColour) {
    ScreenPlot s;
    PlotSetColour(s.plot, 1);
    PlotText(s.plot, "a", 50, 50);
    EXPECT_EQ(s.texts().at(0).fontColour, blue);
    PlotSetColour(s.plot, 0);
    PlotText(s.plot, "b", 50, 50);
    EXPECT_EQ(s.texts().at(1).fontColour, black);
}

TEST(PlotWorld, WindowWithoutSizeDrawsNoWorldCoordinates) {
    struct Case {
        double xMin, xMax, yMin, yMax;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {{0, 0, 0, 10}, {0, 10, 0, 0}, {0, 0, 0, 0}, {5, 5, 5, 5}, {0, inf, 0, 1}};
    for (const Case& c : cases) {
        ScreenPlot s;
        s.plot.originX = 94;
        s.plot.originY = 24;
        PlotSetWorld(s.plot, c.xMin, c.yMin, c.xMax, c.yMax);
        EXPECT_FALSE(plotWorldUsable(s.plot));
        EXPECT_TRUE(std::isfinite(s.plot.scaleX));
        EXPECT_TRUE(std::isfinite(s.plot.scaleY));
        s.plot.worldMode = true;
        PlotLine(s.plot, 0, 0, 1, 1);
        PlotCircle(s.plot, 0, 0, 1);
        PlotMarker(s.plot, 5, 0, 0);
        PlotText(s.plot, "x", 0, 0);
        EXPECT_TRUE(s.canvas.primitives().empty());
        // Device units still reach the surface.
        s.plot.worldMode = false;
        PlotLine(s.plot, 0, 0, 1, 1);
        EXPECT_EQ(s.lines().size(), 1u);
    }
}

TEST(PlotWorld, PositionsThatCannotBeMappedReachNoSurface) {
    ScreenPlot s;
    s.plot.originX = 94;
    s.plot.originY = 24;
    PlotSetWorld(s.plot, 0, 0, 10, 10);
    s.plot.worldMode = true;
    const double nan = std::nan("");
    PlotMove(s.plot, 1, 1);
    PlotDraw(s.plot, 2, nan);           // nothing
    PlotDraw(s.plot, 3, 3);             // only a move: the pen was lost
    PlotDraw(s.plot, 4, 4);             // a line from 3 to 4
    PlotCircle(s.plot, nan, 1, 1);      // nothing
    PlotText(s.plot, "x", 1, HUGE_VAL); // nothing
    std::vector<Kind> got;
    for (const auto& p : s.canvas.primitives())
        got.push_back(p.kind);
    EXPECT_EQ(got, (std::vector<Kind>{Kind::Move, Kind::Move, Kind::Line}));
    auto lines = s.lines();
    EXPECT_EQ(lines[0].x1, static_cast<int>(94 + 3 * 92.0));
}

TEST(PlotWorld, FarPositionsAreHeldOnTheSurfacesIntegers) {
    ScreenPlot s;
    PlotLine(s.plot, -1e300, 0, 1e300, 1e20);
    auto lines = s.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_LT(lines[0].x1, 0);
    EXPECT_GT(lines[0].x2, 1014);
    EXPECT_LT(lines[0].y2, 0);
}

TEST(PlotState, WithoutASurfaceOnlyTheStateChanges) {
    PlotState plot;
    plot.windowWidth = 1024;
    plot.windowHeight = 768;
    PlotOpen(plot);
    PlotLine(plot, 1, 2, 3, 4);
    PlotCircle(plot, 100, 100, 5);
    PlotText(plot, "x", 1, 1);
    PlotSetColour(plot, 4);
    EXPECT_EQ(plot.penX, 100);
    EXPECT_EQ(plot.colour, 4);
}
