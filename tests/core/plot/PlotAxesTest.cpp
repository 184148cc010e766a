#include "plot/PlotAxes.h"
#include "PlotFixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace camini;
using camini::test::PrinterPlot;
using camini::test::ScreenPlot;
using Kind = RecordedPrimitive::Kind;

namespace {

constexpr PlotColour blue{0, 0, 255};

// The lines of the recording that are ticks of the x axis: vertical, starting
// on the axis row and going down.
std::vector<RecordedPrimitive> xTicks(const ScreenPlot& s) {
    std::vector<RecordedPrimitive> out;
    int axisRow = s.plot.devHeight - static_cast<int>(s.plot.originY);
    for (const auto& l : s.lines())
        if (l.x1 == l.x2 && l.y1 == axisRow && l.y2 > l.y1)
            out.push_back(l);
    return out;
}

// The lines that are ticks of the y axis: horizontal, starting on the axis
// column and going left.
std::vector<RecordedPrimitive> yTicks(const ScreenPlot& s) {
    std::vector<RecordedPrimitive> out;
    int axisColumn = static_cast<int>(s.plot.originX);
    for (const auto& l : s.lines())
        if (l.y1 == l.y2 && l.x1 == axisColumn && l.x2 < l.x1)
            out.push_back(l);
    return out;
}

} // namespace

TEST(NiceSteps, TheOneTwoFiveSequence) {
    for (int k = 0; k < 13; ++k) {
        double decade = std::pow(10.0, k - 5);
        EXPECT_DOUBLE_EQ(NiceSteps[static_cast<std::size_t>(3 * k)], decade) << k;
        EXPECT_DOUBLE_EQ(NiceSteps[static_cast<std::size_t>(3 * k + 1)], 2 * decade) << k;
        EXPECT_DOUBLE_EQ(NiceSteps[static_cast<std::size_t>(3 * k + 2)], 5 * decade) << k;
    }
    EXPECT_EQ(NiceSteps[39], 1e8);
    EXPECT_EQ(NiceSteps[0], 1e-5);
}

TEST(NiceRange, StepAndRoundedBounds) {
    struct Case {
        double lo, hi;
        double step, roundedLo, roundedHi;
    };
    const Case cases[] = {
        {20, 600, 50, 0, 650},
        {0, 1000, 100, 0, 1100},
        {-30, 30, 5, -35, 35},
        {20, 250, 25, 0, 275},
        {0, 110, 10, 0, 120},
        {0, 130, 10, 0, 140},
        {20, 400, 25, 0, 425},
        {0.04, 0.12, 0.005, 0.04, 0.12}, // 0.12 / 0.005 just below 24: not moved out
        {0, 0, 1e-6, 0, 0},
        {0, 1.5e8, 1e7, 0, 1.6e8}, // beyond the table the sequence goes on
        {600, 20, 50, 600, 50},    // reversed: each bound rounded in its own direction
    };
    for (const Case& c : cases) {
        double lo = c.lo, hi = c.hi;
        double step = NiceRange(lo, hi);
        EXPECT_DOUBLE_EQ(step, c.step) << c.lo << ".." << c.hi;
        EXPECT_DOUBLE_EQ(lo, c.roundedLo) << c.lo << ".." << c.hi;
        EXPECT_DOUBLE_EQ(hi, c.roundedHi) << c.lo << ".." << c.hi;
    }
}

// A span below 1e-5 takes the second entry, as does 1e-5 itself (the entry
// above it is 2e-5); the bounds always move apart.
TEST(NiceRange, StepIsATwentiethOfTheEntryAboveTheSpan) {
    struct Case {
        double span, step;
    };
    const Case cases[] = {{580, 50},    {0.08, 0.005}, {1000, 100},   {999.9, 50},
                          {1e-5, 1e-6}, {5e7, 5e6},    {1e8, 1e7},    {99999999, 5e6},
                          {0, 1e-6},    {1e-7, 1e-6},  {9.9e-6, 1e-6}};
    for (const Case& c : cases) {
        double lo = 3, hi = 3 + c.span;
        EXPECT_DOUBLE_EQ(NiceRange(lo, hi), c.step) << c.span;
        EXPECT_GT(hi, lo) << c.span;
    }
}

TEST(NiceRange, SpanThatIsNoNumber) {
    for (double hi : {std::numeric_limits<double>::infinity(), std::nan("")}) {
        double lo = 0, h = hi;
        EXPECT_TRUE(std::isnan(NiceRange(lo, h)));
        EXPECT_EQ(lo, 0);
    }
}

TEST(RoundToStep, Directions) {
    struct Case {
        double v, step;
        RoundDirection dir;
        double expected;
    };
    const auto Up = RoundDirection::Up, Down = RoundDirection::Down;
    const Case cases[] = {
        {600, 50, Up, 650}, // a multiple still moves out
        {620, 50, Up, 650},     {20, 50, Down, 0},       {100, 50, Down, 100},
        {0, 50, Down, 0},       {0, 50, Up, 0},          {-100, 50, Down, -150},
        {-120, 50, Down, -150}, {-100, 50, Up, -100},    {-30, 5, Down, -35},
        {30, 5, Up, 35},        {0.12, 0.005, Up, 0.12}, {0.04, 0.005, Down, 0.04},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(RoundToStep(c.v, c.step, c.dir), c.expected)
            << c.v << " step " << c.step << (c.dir == Up ? " up" : " down");
}

// In plain doubles 0.12 / 0.005 is exactly 24, and the bound would move out
// to 0.125; the quotient is taken in long double, where it lies just below 24.
TEST(RoundToStep, QuotientInLongDouble) {
    volatile double v = 0.12, step = 0.005;
    ASSERT_EQ(v / step, 24.0);
    ASSERT_LT(static_cast<long double>(v) / step, 24.0L);
    EXPECT_EQ(RoundToStep(0.12, 0.005, RoundDirection::Up), 0.12);
}

TEST(RoundToStep, StepThatGivesNoQuotient) {
    EXPECT_EQ(RoundToStep(5, 0, RoundDirection::Up), 5);
    EXPECT_EQ(RoundToStep(5, std::nan(""), RoundDirection::Down), 5);
}

TEST(axisTickCount, WholeStepsInLongDouble) {
    EXPECT_EQ(axisTickCount(0, 650, 50), 13);
    EXPECT_EQ(axisTickCount(0, 1100, 100), 11);
    EXPECT_EQ(axisTickCount(-35, 35, 5), 14);
    EXPECT_EQ(axisTickCount(0.04, 0.12, 0.005), 15); // 15.99999...: the last step is lost
    EXPECT_EQ(axisTickCount(0, 0, 1e-6), 0);
    EXPECT_LT(axisTickCount(0.06, 0.0425, 0.0025), 0);
    EXPECT_EQ(axisTickCount(0, std::nan(""), 1), -1);
}

TEST(AxisLayout, ScreenCharacterCell) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    AxisLayout(s.plot, 0, 0, 650, 10);
    EXPECT_EQ(s.plot.labelWidth, 94);
    EXPECT_EQ(s.plot.originX, 94);
    EXPECT_EQ(s.plot.originY, 24);
    EXPECT_EQ(s.plot.tickLength, 6);
    EXPECT_EQ(s.plot.yLabelGap, 54);
    EXPECT_EQ(s.plot.xAxisY, 24);
    EXPECT_EQ(s.plot.yAxisX, 94);
    EXPECT_EQ(s.plot.extentX, 920);
    EXPECT_EQ(s.plot.extentY, 664);
    EXPECT_EQ(s.plot.labelEvery, 2);
    EXPECT_FALSE(s.plot.worldMode);
    s.plot.labelColumns = 0; // as at program start
    AxisLayout(s.plot, 0, 0, 1, 1);
    EXPECT_EQ(s.plot.originX, 0);
}

TEST(AxisLayout, PrinterCharacterCellAndMargins) {
    PrinterPlot p(4960, 7016);
    p.plot.labelColumns = 1;
    AxisLayout(p.plot, 0, 0, 650, 10);
    EXPECT_EQ(p.plot.labelWidth, 703); // 703.08
    EXPECT_DOUBLE_EQ(p.plot.originX, 703 + 446.4);
    EXPECT_DOUBLE_EQ(p.plot.originY, 4 * 78.925 + 446.4);
    EXPECT_DOUBLE_EQ(p.plot.tickLength, 78.925);
}

TEST(FormatTickLabel, Cases) {
    struct Case {
        PlotAxis axis;
        double step, v;
        std::string expected;
    };
    const auto X = PlotAxis::X, Y = PlotAxis::Y;
    const Case cases[] = {
        {X, 50, 100, "100"},
        {Y, 0.005, 0.04, "    0.04"},
        {Y, 0.005, 0.05, "    0.05"}, // 0.0500 loses its zeros
        {X, 2.5, 7.5, "7.5"},
        {X, 50, 1500000, "1500000"},
        {X, 1e-5, 0.00005, ""}, // a lone 0, removed as a trailing zero
        {X, 50, 0, "0"},
        {Y, 50, 0, "       0"},
        {X, 0.5, 1.5, "1.5"},
        {X, 0.05, 0.15, "0.15"},
        {X, 0.005, 0.115, "0.115"},
        {X, 25, -50, "-50"},
        {Y, 25, 425, "     425"},
        {X, 1e-6, 0.000123, "0.000123"},
        {X, 0.0001, 0.0001, ""},
        {X, 50, 999999, "999999"},
        {Y, 1e5, 123456789, "23456789"}, // the last 8 characters
        {X, 0.1, -0.3, "-0.3"},
        // Decimals of a value between ticks: one more than the step needs,
        // a step equal to a limit taking the fewer.
        {X, 1, 2.26, "2.3"},
        {X, 0.999, 2.26, "2.26"},
        {X, 0.1, 0.126, "0.13"},
        {X, 0.0999, 0.126, "0.126"},
        {X, 0.01, 0.0126, "0.013"},
        {X, 0.00999, 0.0126, "0.0126"},
        {X, 0.001, 0.00126, "0.0013"},
        {X, 0.000999, 0.00126, "0.00126"},
        {X, 1e-4, 0.000126, "0.00013"},
        {X, 9.99e-5, 0.000126, "0.000126"},
        {X, 1e-8, 0.00012345678, "0.000123457"},
        {X, 9.99e-9, 0.00012345678, "0.0001234568"},
        // From 999999 on, no decimals in a field of 7.
        {X, 0.5, 999999.25, "999999"},
        {X, 0.5, 999998.75, "999998.75"},
    };
    for (const Case& c : cases) {
        PlotState plot;
        plot.xStep = plot.yStep = c.step;
        EXPECT_EQ(FormatTickLabel(plot, c.axis, c.v), c.expected)
            << (c.axis == X ? "x " : "y ") << c.v << " step " << c.step;
    }
}

// The ticks run from the lower bound by whole steps, a label on every second
// one. An odd count ends on a minor tick at the upper bound; with an even
// count the tick there, which would be major, is not drawn, and the axis
// ends on the minor tick before it. Both axes over the same data, on a
// 1024 x 768 screen: with the x window 0 to 650 the tick of 100 lies at
// X = 94 + 100 * 920 / 650 = 235.54, its label at 229 (X - 6) on row 677.
TEST(DrawAxes, TicksAndLabelsToTheEndOfTheAxis) {
    struct Case {
        double lo, hi;
        const std::vector<int>& xColumns; // major ticks 6 pixels long, minor ones 3
        int label100;                     // the column of the label of 100
        std::size_t yTicks;
        int lastYRow, lastYEnd; // the last y tick: its row and its left end
        const char* yTop;       // the last y label
    };
    // 0 to 650 by 50: n = 13. The x label of 600 at X = 942 would reach into
    // the title, which starts at 960. 0 to 600 by 50: n = 12, nothing at 600.
    const std::vector<int> to650 = {94,  164, 235, 306, 377, 447, 518,
                                    589, 660, 730, 801, 872, 943, 1014};
    const std::vector<int> to600 = {94, 170, 247, 324, 400, 477, 554, 630, 707, 784, 860, 937};
    const Case cases[] = {{20, 600, to650, 229, 14, 0, 89, "     600"},
                          {0, 580, to600, 241, 12, 55, 89, "     500"}};
    for (const Case& c : cases) {
        ScreenPlot s;
        s.plot.labelColumns = 1;
        GraphSetup(s.plot, "temp", "T", 0, c.lo, c.lo, c.hi, c.hi);
        std::vector<int> columns;
        for (const auto& t : xTicks(s)) {
            columns.push_back(t.x1);
            EXPECT_EQ(t.y2, columns.size() % 2 ? 670 : 667) << c.hi << " at " << t.x1;
        }
        EXPECT_EQ(columns, c.xColumns) << c.hi;
        const auto yt = yTicks(s);
        ASSERT_EQ(yt.size(), c.yTicks) << c.hi;
        EXPECT_EQ(yt.back().y1, c.lastYRow) << c.hi;
        EXPECT_EQ(yt.back().x2, c.lastYEnd) << c.hi;
        std::vector<std::string> xLabels, yLabels;
        for (const auto& t : s.texts()) {
            if (t.y1 == 677)
                xLabels.push_back(t.text);
            else if (t.x1 == 34)
                yLabels.push_back(t.text);
        }
        EXPECT_EQ(xLabels,
                  (std::vector<std::string>{" 0", " 100", " 200", " 300", " 400", " 500", " temp"}))
            << c.hi;
        ASSERT_EQ(yLabels.size(), c.yTicks / 2) << c.hi;
        EXPECT_EQ(yLabels.front(), "       0") << c.hi;
        EXPECT_EQ(yLabels[1], "     100") << c.hi;
        EXPECT_EQ(yLabels.back(), c.yTop) << c.hi;
        EXPECT_EQ(s.findText(" 100")->x1, c.label100) << c.hi;
        EXPECT_EQ(s.findText(" temp")->x1, 1014 - 9 * 6) << c.hi;
    }
}

TEST(DrawXAxis, AxisLineAndClosedArrowHead) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "X", "T", 0, 0, 0, 100, 100);
    auto lines = s.lines();
    ASSERT_GE(lines.size(), 4u);
    auto at = [](const RecordedPrimitive& l) { return std::vector<int>{l.x1, l.y1, l.x2, l.y2}; };
    EXPECT_EQ(at(lines[0]), (std::vector<int>{94, 664, 1014, 664}));
    EXPECT_EQ(at(lines[1]), (std::vector<int>{1014, 664, 1005, 670}));
    EXPECT_EQ(at(lines[2]), (std::vector<int>{1005, 670, 1005, 658}));
    EXPECT_EQ(at(lines[3]), (std::vector<int>{1005, 658, 1014, 664}));
}

TEST(DrawXAxis, LabelsDoNotRunIntoTheTitle) {
    // 0 to 1100 step 100: labels 0, 200, ..., 1000. The label of 1000 at
    // X = 930.4, written from 924 and about 47 pixels wide, fits before a
    // title of 1 character (at 978); before one of 4 (at 960) its tick is
    // in place but its text would reach into the title; before one of 10
    // (at 924) its tick lies beyond the title's place. The tick stays.
    const std::pair<const char*, bool> cases[] = {
        {"X", true}, {"temp", false}, {"temperatura", false}};
    for (const auto& [title, labelled] : cases) {
        ScreenPlot s;
        s.plot.labelColumns = 1;
        GraphSetup(s.plot, title, "T", 0, 0, 0, 1000, 1);
        EXPECT_EQ(s.findText(" 1000") != nullptr, labelled) << title;
        EXPECT_NE(s.findText(" 800"), nullptr) << title;
        EXPECT_EQ(xTicks(s).size(), 12u) << title;
    }
}

// A title of 12 characters is cut to 10 by GraphSetup and shown with its
// first 8; the label limit uses the length 10.
TEST(DrawXAxis, LongTitle) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "ABCDEFGHIJKL", "T", 0, 0, 0, 1000, 1);
    EXPECT_EQ(s.plot.xTitle, "ABCDEFGHIJ");
    const RecordedPrimitive* title = s.findText(" ABCDEFGH");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x1, 1014 - 15 * 6);
}

TEST(DrawYAxis, TicksLabelsAndTitle) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "temp", "[lambda]", 0, 20, 0.04, 600, 0.12);
    auto ticks = yTicks(s);
    ASSERT_EQ(ticks.size(), 16u); // i = 0..15: the quotient 15.99... loses the last step
    EXPECT_EQ(ticks[0].x2, 88);   // major: 6 to the left
    EXPECT_EQ(ticks[1].x2, 89);   // minor: 4.5
    EXPECT_EQ(ticks[0].y1, 664);
    std::vector<std::string> labels;
    for (const auto& t : s.texts())
        if (t.x1 == 34)
            labels.push_back(t.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"    0.04", "    0.05", "    0.06", "    0.07",
                                                "    0.08", "    0.09", "     0.1", "    0.11"}));
    const RecordedPrimitive* first = s.findText("    0.04");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y1, 688 - 24 - 7); // lifted by 1.05 character widths: 6.3
    const RecordedPrimitive* title = s.findText(" [lambda]");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x1, 25);
    EXPECT_EQ(title->y1, 9);
}

TEST(DrawYAxis, AxisLineAndClosedArrowHead) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "X", "T", 0, 0, 0, 100, 100);
    std::vector<std::vector<int>> got;
    for (const auto& l : s.lines())
        got.push_back({l.x1, l.y1, l.x2, l.y2});
    auto has = [&](std::vector<int> v) {
        return std::find(got.begin(), got.end(), v) != got.end();
    };
    EXPECT_TRUE(has({94, 664, 94, 0}));
    EXPECT_TRUE(has({94, 0, 88, 6}));
    EXPECT_TRUE(has({88, 6, 100, 6}));
    EXPECT_TRUE(has({100, 6, 94, 0}));
}

TEST(DrawYAxis, InvertedWindowHasNoTicks) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "temp", "[lambda]", 0, 20, 0.06, 600, 0.04);
    EXPECT_GT(s.plot.yMin, s.plot.yMax);
    EXPECT_TRUE(yTicks(s).empty());
    for (const auto& t : s.texts())
        EXPECT_NE(t.x1, 34) << t.text; // no y labels
    EXPECT_EQ(xTicks(s).size(), 14u);
    // No value lies within it: a curve skips every sample.
    s.canvas.clear();
    PlotFunction(
        s.plot, [](double x) { return x; }, 1, 0, 10);
    EXPECT_TRUE(s.canvas.primitives().empty());
}

TEST(DrawYAxis, LabelColumnNotLeftOfTheEdge) {
    ScreenPlot s;
    s.plot.labelColumns = 0;
    GraphSetup(s.plot, "X", "T", 0, 0, 0, 100, 100);
    const RecordedPrimitive* zero = s.findText("       0");
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->x1, 0);
}

TEST(GraphSetup, YRangeOfNoHeightIsWidened) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "x", "y", 0, 0, 0.05, 10, 0.05);
    // 0.025 and 0.075 as the doubles 0.05 * 0.5 and 0.05 * 1.5 (the latter a
    // little above 0.075, so the span reaches 0.05 and the step is 0.005).
    volatile double v = 0.05;
    double lo = v * 0.5, hi = v * 1.5;
    EXPECT_DOUBLE_EQ(lo, 0.025);
    EXPECT_DOUBLE_EQ(hi, 0.075);
    double step = NiceRange(lo, hi);
    EXPECT_EQ(s.plot.yStep, step);
    EXPECT_EQ(step, 0.005);
    EXPECT_EQ(s.plot.yMin, lo);
    EXPECT_EQ(s.plot.yMax, hi);
    EXPECT_LT(s.plot.yMin, 0.05);
    EXPECT_GT(s.plot.yMax, 0.05);
}

TEST(GraphSetup, DrawsInItsColour) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "x", "y", 1, 0, 0, 10, 10);
    for (const auto& l : s.lines())
        EXPECT_EQ(l.penColour, blue);
    for (const auto& t : s.texts())
        EXPECT_EQ(t.fontColour, blue);
    EXPECT_EQ(s.plot.colour, 1);
}

// A world window of no width or height: the frame (axis lines, arrows,
// titles) without ticks or labels, and no data.
TEST(GraphSetup, WindowWithoutSizeDrawsTheFrameOnly) {
    struct Case {
        double xMin, yMin, xMax, yMax;
    };
    const Case cases[] = {{0, 0, 0, 100}, {0, 0, 100, 0}, {0, 0, 0, 0}, {0, 5, 0, 5}};
    for (const Case& c : cases) {
        ScreenPlot s;
        s.plot.labelColumns = 1;
        GraphSetup(s.plot, "X", "T", 0, c.xMin, c.yMin, c.xMax, c.yMax);
        EXPECT_FALSE(plotWorldUsable(s.plot));
        EXPECT_EQ(s.lines().size(), 8u)
            << c.xMin << " " << c.yMin << " " << c.xMax << " " << c.yMax;
        EXPECT_EQ(s.textStrings(), (std::vector<std::string>{" X", " T"}));
        const double xs[] = {0, 1}, ys[] = {0, 1};
        PlotPoints(s.plot, 2, xs, ys, true, true, 1, 4);
        PlotFunction(
            s.plot, [](double x) { return x; }, 1, 0, 1);
        EXPECT_EQ(s.lines().size(), 8u);
        EXPECT_TRUE(s.ellipses().empty());
    }
}

// Markers and lines as asked, for no more points than given; on the axes of
// 0 to 110 the first line runs from column 177 to 512, and the lines end on
// rows 181 (at 80) and 543 (at 20).
TEST(PlotPoints, MarkersAndConnectingLines) {
    struct Case {
        int n;
        bool connect, markers;
        std::size_t ellipses, lines;
        int lastRow;
    };
    const Case cases[] = {{3, true, true, 3, 2, 543},
                          {3, false, true, 3, 0, 0},
                          {3, true, false, 0, 2, 543},
                          {99, true, false, 0, 2, 543},
                          {2, true, true, 2, 1, 181}};
    const double xs[] = {10, 50, 90};
    const double ys[] = {10, 80, 20};
    for (const Case& c : cases) {
        ScreenPlot s;
        s.plot.labelColumns = 1;
        GraphSetup(s.plot, "x", "y", 0, 0, 0, 100, 100);
        s.canvas.clear();
        PlotPoints(s.plot, c.n, xs, ys, c.connect, c.markers, 1, 4);
        EXPECT_EQ(s.ellipses().size(), c.ellipses) << c.n << c.connect << c.markers;
        const auto lines = s.lines();
        ASSERT_EQ(lines.size(), c.lines) << c.n << c.connect << c.markers;
        if (!lines.empty()) {
            EXPECT_EQ(lines[0].x1, 177);
            EXPECT_EQ(lines[0].x2, 512);
            EXPECT_EQ(lines.back().y2, c.lastRow);
            EXPECT_EQ(lines[0].penColour, (PlotColour{255, 0, 0}));
        }
        EXPECT_TRUE(s.plot.worldMode);
    }
}

TEST(PlotPoints, NoClipping) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "x", "y", 0, 0, 0, 100, 100);
    s.canvas.clear();
    const double xs[] = {50, 200};
    const double ys[] = {50, 300};
    PlotPoints(s.plot, 2, xs, ys, true, false, 0, 4);
    ASSERT_EQ(s.lines().size(), 1u);
    EXPECT_GT(s.lines()[0].x2, 1014);
    EXPECT_LT(s.lines()[0].y2, 0);
}

TEST(SampleCurve, TwoHundredSamplesFromStartToEnd) {
    PlotState plot;
    int calls = 0;
    CurveSamples s = SampleCurve(
        plot,
        [&](double x) {
            ++calls;
            return 2 * x;
        },
        20, 600);
    EXPECT_EQ(s.count, 200);
    EXPECT_EQ(calls, 200);
    EXPECT_EQ(s.x[0], 20);
    EXPECT_EQ(s.x[199], 600);
    EXPECT_DOUBLE_EQ(s.x[1], 20 + 580.0 / 199);
    EXPECT_EQ(s.y[199], 1200);
}

TEST(SampleCurve, AtMostTwoHundred) {
    PlotState plot;
    plot.sampleCount = 500;
    EXPECT_EQ(SampleCurve(
                  plot, [](double) { return 0.0; }, 0, 1)
                  .count,
              200);
    plot.sampleCount = 9;
    CurveSamples s = SampleCurve(
        plot, [](double) { return 0.0; }, 0, 1);
    EXPECT_EQ(s.count, 10);
    EXPECT_EQ(s.x[9], 1);
    plot.sampleCount = 0;
    s = SampleCurve(
        plot, [](double) { return 0.0; }, 3, 4);
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(s.x[0], 3);
}

// f above yMax between x = 100 and x = 200: the curve stops at the last
// sample inside and restarts, without a joining line, at the first sample
// back inside. The samples lie 5 apart, 0.92 pixels a unit: 19 of them
// (105 to 195) are left out, the curve stops at column 186 (x = 100) and
// moves to 278 (x = 200).
TEST(PlotFunction, PieceAboveTheWindowIsLeftOut) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "x", "y", 0, 0, 0, 990, 1.5);
    s.canvas.clear();
    PlotFunction(
        s.plot, [](double x) { return x > 100 && x < 200 ? 3.0 : 1.0; }, 1, 0, 995);
    const auto moves = s.canvas.primitives(Kind::Move);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[0].x2, 94);
    EXPECT_EQ(moves[1].x2, 278);
    const auto lines = s.lines();
    ASSERT_EQ(lines.size(), 200u - 19 - 2);
    EXPECT_EQ(lines[19].x2, 186);
    EXPECT_EQ(lines[20].x1, 278);
    for (const auto& l : lines) {
        EXPECT_EQ(l.penColour, blue);
        EXPECT_EQ(l.penWidth, 4);
    }
    EXPECT_FALSE(s.plot.worldMode);
}

TEST(DrawCurve, PenCodes) {
    ScreenPlot s;
    s.plot.labelColumns = 1;
    GraphSetup(s.plot, "x", "y", 0, 0, 0, 10, 10);
    CurveSamples c;
    c.count = 7;
    const double ys[] = {1, 2, 20, 20, 3, std::nan(""), 4};
    for (std::size_t k = 0; k < 7; ++k) {
        c.x[k] = static_cast<double>(k);
        c.y[k] = ys[k];
    }
    DrawCurve(s.plot, c);
    const std::uint8_t expected[] = {1, 2, 3, 3, 1, 3, 1};
    for (std::size_t k = 0; k < 7; ++k)
        EXPECT_EQ(c.penCodes[k], expected[k]) << k;
    EXPECT_FALSE(s.plot.worldMode);
}

TEST(PlotFunction, PrinterKeepsItsPen) {
    PrinterPlot p(4960, 7016);
    p.canvas.setPenWidth(5);
    p.plot.labelColumns = 1;
    GraphSetup(p.plot, "x", "y", 0, 0, 0, 10, 10);
    PlotFunction(
        p.plot, [](double x) { return x; }, 1, 0, 10);
    auto lines = p.canvas.primitives(Kind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().penWidth, 5);
    EXPECT_EQ(lines.back().penColour, blue);
}
