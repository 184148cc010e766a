#pragma once

#include "PlotState.h"
#include "common/Cp1252.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace camini {

// The graph layer of the plot library: rounded axis ranges with 1-2-5 steps,
// the layout of the plot area, both axes with arrows, ticks, labels and
// titles, point series and sampled curves. Axes are drawn in device units,
// data in world coordinates.

// The 1-2-5 sequence from 1e-5 to 1e8: entry 3k is 10^(k-5), 3k+1 is
// 2 * 10^(k-5), 3k+2 is 5 * 10^(k-5), entry 39 is 1e8.
inline constexpr std::array<double, 40> NiceSteps{
    1e-5, 2e-5, 5e-5, 1e-4, 2e-4, 5e-4, 1e-3, 2e-3, 5e-3, 1e-2, 2e-2, 5e-2, 1e-1, 2e-1,
    5e-1, 1e0,  2e0,  5e0,  1e1,  2e1,  5e1,  1e2,  2e2,  5e2,  1e3,  2e3,  5e3,  1e4,
    2e4,  5e4,  1e5,  2e5,  5e5,  1e6,  2e6,  5e6,  1e7,  2e7,  5e7,  1e8};

enum class PlotAxis : std::uint8_t { X, Y };
enum class RoundDirection : std::uint8_t { Down, Up };

// Lays out and draws the axes of a graph for data in x from xMin to xMax and
// y from yMin to yMax, in colour number `colour`: titles cut to 10
// characters, a y range of no height widened to half and one and a half
// times its value, both ranges rounded outwards (NiceRange), the plot area
// laid out (AxisLayout, which sets the world window), then DrawAxes. Follows
// PlotOpen; the caller sets labelColumns first. A world window of no width or
// height after rounding (both bounds 0, for example) draws the axes without
// ticks or labels, and no data is drawn into it.
void GraphSetup(PlotState& plot, Cp1252View xTitle, Cp1252View yTitle, std::uint16_t colour,
                double xMin, double yMin, double xMax, double yMax);

// The tick step for the range lo..hi, one twentieth of the smallest 1-2-5
// value above the span (a span below 1e-5 counts as the second table entry),
// and the range moved outwards to multiples of it: lo rounded down, hi up.
// Spans of 1e8 and more continue the 1-2-5 sequence. A span that is not a
// finite number gives a step of NaN and leaves lo and hi as they were.
double NiceRange(double& lo, double& hi);

// v rounded to a multiple of step: the integer part m of |v| / step (taken in
// long double), then (m + 1) * step when rounding up a positive value or down
// a negative one, m * step otherwise, with the sign of v. 0 stays 0, so does
// a value whose quotient is not finite. An upper bound already on a multiple
// still moves one step out.
double RoundToStep(double v, double step, RoundDirection direction);

// The number of whole steps from lo to hi, the quotient (hi - lo) / step
// taken in long double with its fraction dropped (a quotient just below a
// whole number loses its last step). Negative for an inverted range.
long long axisTickCount(double lo, double hi, double step);

// Character-cell layout of the plot area: tickLength, yLabelGap, labelWidth,
// origin (labelColumns label blocks and the left margin; rowsBelow character
// rows and the bottom margin), world window, axis positions. World mode off.
void AxisLayout(PlotState& plot, double xMin, double yMin, double xMax, double yMax);

// DrawXAxis, then DrawYAxis.
void DrawAxes(PlotState& plot);

// The x axis in device units: line and closed arrow head to the right edge,
// a tick per step (minor on odd ticks, labelled on the even ones before the
// last; labels beyond the title's place, or whose text would reach into the
// title, are left out) and the title
// (at most 8 characters shown) at the right end of the label row.
void DrawXAxis(PlotState& plot);

// The y axis in device units: line and closed arrow head to the top edge,
// ticks and labels as for x (no ticks for an inverted window), the title
// above the label column.
void DrawYAxis(PlotState& plot);

// The label of a tick at value v on an axis. 0 gives "0"; whole values have
// no decimals; others get one decimal more than the axis step needs (steps
// of 1 and more: 1; 0.1 to 1: 2; 0.01 to 0.1: 3; 0.001 to 0.01: 4, and so
// on), values of 999999 and more, or of 0.0001 and less, none. Leading blanks
// are removed, and trailing zeros of non-whole values. Y labels are then
// right-aligned in 8 characters.
Cp1252 FormatTickLabel(const PlotState& plot, PlotAxis axis, double v);

// Draws the first n points (xs[i], ys[i]) in colour number `colour`, world
// mode: a marker of `markerKind` on each when `markers`, lines between
// consecutive points when `connect`. No clipping. World mode is left on.
void PlotPoints(PlotState& plot, int n, std::span<const double> xs, std::span<const double> ys,
                bool connect, bool markers, int markerKind, std::uint16_t colour);

// Pen codes of a sampled curve.
enum CurvePen : std::uint8_t { CurveMove = 1, CurveDraw = 2, CurveSkip = 3 };

// The samples of one curve: count (at most 200) values x, y and their codes.
struct CurveSamples {
    int count = 0;
    std::array<double, 200> x{};
    std::array<double, 200> y{};
    std::array<std::uint8_t, 200> penCodes{};
};

// sampleCount + 1 samples (at most 200) of f from xStart to xEnd:
// x_k = xStart + k * (xEnd - xStart) / sampleCount.
CurveSamples SampleCurve(const PlotState& plot, const std::function<double(double)>& f,
                         double xStart, double xEnd);

// Draws the samples in world mode: a move to the first, lines to the next;
// a sample outside the world window's y range (or not a number) is skipped
// and the curve restarts with a move at the next one. Fills penCodes with
// what was done. Leaves world mode off.
void DrawCurve(PlotState& plot, CurveSamples& samples);

// Draws y = f(x) for x from xStart to xEnd in colour number `colour`: the
// screen's pen becomes 4 wide (a printer keeps its own pen), then SampleCurve
// and DrawCurve.
void PlotFunction(PlotState& plot, const std::function<double(double)>& f, std::uint16_t colour,
                  double xStart, double xEnd);

} // namespace camini
