#include "PlotAxes.h"

#include "common/FixedPoint.h"

#include <algorithm>
#include <cmath>

namespace camini {

namespace {

// A tick count beyond this is no axis anyone can read: such an axis gets no
// ticks, and no loop runs away.
constexpr long long maxTicks = 10000;

// Tick count of an axis, or -1 (no ticks) when the world window cannot be
// drawn into.
long long ticksToDraw(const PlotState& plot, double lo, double hi, double step) {
    if (!plotWorldUsable(plot))
        return -1;
    long long n = axisTickCount(lo, hi, step);
    return n > maxTicks ? -1 : n;
}

bool isMinorTick(const PlotState& plot, long long i) {
    long long every = std::max(plot.labelEvery, 1);
    return i % every != 0;
}

bool isWhole(double v) {
    return v == std::trunc(v);
}

// Decimals of a non-whole label: one more than the step needs.
int labelDecimals(double step) {
    constexpr std::array<double, 9> limits{1.0, 0.1, 0.01, 0.001, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8};
    int d = 1;
    for (double limit : limits) {
        if (step >= limit)
            return d;
        ++d;
    }
    return d;
}

} // namespace

void GraphSetup(PlotState& plot, std::string_view xTitle, std::string_view yTitle,
                std::uint16_t colour, double xMin, double yMin, double xMax, double yMax) {
    plot.xTitle = std::string(xTitle.substr(0, 10));
    plot.yTitle = std::string(yTitle.substr(0, 10));
    if (yMin == yMax) {
        yMin = yMin * 0.5;
        yMax = yMax * 1.5;
    }
    plot.xStep = NiceRange(xMin, xMax);
    plot.yStep = NiceRange(yMin, yMax);
    AxisLayout(plot, xMin, yMin, xMax, yMax);
    PlotSetColour(plot, colour);
    DrawAxes(plot);
}

double NiceRange(double& lo, double& hi) {
    double d = std::fabs(hi - lo);
    if (!std::isfinite(d))
        return std::nan("");
    double above = NiceSteps[1];
    if (d >= 1e-5) {
        auto it = std::upper_bound(NiceSteps.begin(), NiceSteps.end(), d);
        if (it != NiceSteps.end()) {
            above = *it;
        } else {
            // Beyond the table: the 1-2-5 sequence goes on.
            constexpr std::array<double, 3> factors{1.0, 2.0, 5.0};
            above = HUGE_VAL;
            for (int e = 8; e <= 308 && !std::isfinite(above); ++e) {
                for (double f : factors) {
                    double v = f * std::pow(10.0, e);
                    if (v > d) {
                        above = v;
                        break;
                    }
                }
            }
            if (!std::isfinite(above))
                return std::nan("");
        }
    }
    double step = above / 20;
    lo = RoundToStep(lo, step, RoundDirection::Down);
    hi = RoundToStep(hi, step, RoundDirection::Up);
    return step;
}

double RoundToStep(double v, double step, RoundDirection direction) {
    if (v == 0.0)
        return 0.0;
    long double q = std::fabs(static_cast<long double>(v) / static_cast<long double>(step));
    if (!std::isfinite(q))
        return v;
    long double m = std::trunc(q);
    bool positive = v > 0.0;
    bool outwards = (direction == RoundDirection::Up) == positive;
    long double r = (m + (outwards ? 1 : 0)) * static_cast<long double>(step);
    double rounded = static_cast<double>(r);
    return positive ? rounded : -rounded;
}

long long axisTickCount(double lo, double hi, double step) {
    long double q = (static_cast<long double>(hi) - static_cast<long double>(lo)) /
                    static_cast<long double>(step);
    if (!std::isfinite(q))
        return -1;
    q = std::trunc(q);
    if (q > static_cast<long double>(maxTicks))
        return maxTicks + 1;
    if (q < -static_cast<long double>(maxTicks))
        return -maxTicks - 1;
    return static_cast<long long>(q);
}

void AxisLayout(PlotState& plot, double xMin, double yMin, double xMax, double yMax) {
    plot.worldMode = false;
    plot.tickLength = 1.0 * plot.charHeight;
    plot.yLabelGap = 9 * plot.charWidth;
    plot.labelWidth = std::trunc(9 * 1.75 * plot.charWidth);
    plot.originX = plot.labelColumns * plot.labelWidth + plot.marginX;
    plot.originY = plot.rowsBelow * plot.charHeight + plot.marginY;
    PlotSetWorld(plot, xMin, yMin, xMax, yMax);
    plot.xAxisY = plot.originY;
    plot.yAxisX = plot.originX;
    plot.labelEvery = 2;
}

void DrawAxes(PlotState& plot) {
    DrawXAxis(plot);
    DrawYAxis(plot);
}

void DrawXAxis(PlotState& plot) {
    const double cw = plot.charWidth;
    const double ch = plot.charHeight;
    const double titleLength = static_cast<double>(plot.xTitle.size());
    const std::string title = plot.xTitle.substr(0, 8);
    const double labelRow = plot.originY - plot.tickLength - 1.25 * ch;
    const double labelLimit = plot.devWidth - (titleLength + 5) * cw;
    const long long n = ticksToDraw(plot, plot.xMin, plot.xMax, plot.xStep);

    PlotLine(plot, plot.originX, plot.originY, plot.devWidth, plot.originY);
    PlotDraw(plot, plot.devWidth - 1.5 * cw, plot.originY - cw);
    PlotDraw(plot, plot.devWidth - 1.5 * cw, plot.originY + cw);
    PlotDraw(plot, plot.devWidth, plot.originY);

    for (long long i = 0; i <= n; ++i) {
        double di = static_cast<double>(i);
        double value = di * plot.xStep + plot.xMin;
        double X = di * plot.xStep * plot.scaleX + plot.originX;
        if (isMinorTick(plot, i)) {
            PlotLine(plot, X, plot.xAxisY, X, plot.xAxisY - 0.6 * plot.tickLength);
        } else if (i < n) {
            std::string label = FormatTickLabel(plot, PlotAxis::X, value);
            PlotLine(plot, X, plot.xAxisY, X, plot.xAxisY - plot.tickLength);
            // A label that would run into the title is left out: the title
            // starts after its blank at labelLimit.
            if (X <= labelLimit &&
                X - cw + plotTextWidth(plot, label) <= labelLimit + plotTextWidth(plot, ""))
                PlotText(plot, label, X - cw, labelRow);
        }
    }
    PlotText(plot, title, labelLimit, labelRow);
}

void DrawYAxis(PlotState& plot) {
    const double cw = plot.charWidth;
    const double ch = plot.charHeight;
    const double top = plot.devHeight;
    const long long n = ticksToDraw(plot, plot.yMin, plot.yMax, plot.yStep);

    PlotLine(plot, plot.yAxisX, plot.originY, plot.yAxisX, top);
    PlotDraw(plot, plot.yAxisX - cw, top - cw);
    PlotDraw(plot, plot.yAxisX + cw, top - cw);
    PlotDraw(plot, plot.yAxisX, top);

    const double labelX = std::max(plot.yAxisX - plot.yLabelGap - plot.tickLength, 0.0);
    const double lift = 1.05 * cw;
    for (long long i = 0; i <= n; ++i) {
        double di = static_cast<double>(i);
        double value = di * plot.yStep + plot.yMin;
        double Y = di * plot.yStep * plot.scaleY + plot.originY;
        if (isMinorTick(plot, i)) {
            PlotLine(plot, plot.yAxisX, Y, plot.yAxisX - 0.75 * plot.tickLength, Y);
        } else if (i < n) {
            // The label is 8 characters wide; its first, a blank unless the
            // number fills all 8, is not written.
            std::string label = FormatTickLabel(plot, PlotAxis::Y, value).substr(1);
            PlotLine(plot, plot.yAxisX, Y, plot.yAxisX - plot.tickLength, Y);
            PlotText(plot, label, labelX, Y + lift);
        }
    }
    PlotText(plot, plot.yTitle, plot.yAxisX - plot.yLabelGap - plot.tickLength - 1.5 * cw,
             top - 1.5 * ch);
}

std::string FormatTickLabel(const PlotState& plot, PlotAxis axis, double v) {
    const double step = axis == PlotAxis::X ? plot.xStep : plot.yStep;
    std::string text;
    if (v == 0.0) {
        text = "0";
    } else {
        const bool whole = isWhole(v);
        const int decimals = whole ? 0 : labelDecimals(step);
        if (std::fabs(v) >= 999999 || std::fabs(v) <= 0.0001)
            text = formatFixed(v, 7, 0);
        else
            text = formatFixed(v, 8, decimals);
        text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
        if (!whole) {
            std::size_t end = text.find_last_not_of('0');
            text.erase(end == std::string::npos ? 0 : end + 1);
        }
    }
    if (axis == PlotAxis::Y) {
        text = std::string(8, ' ') + text;
        text.erase(0, text.size() - 8);
    }
    return text;
}

void PlotPoints(PlotState& plot, int n, std::span<const double> xs, std::span<const double> ys,
                bool connect, bool markers, int markerKind, std::uint16_t colour) {
    std::size_t count = static_cast<std::size_t>(std::max(n, 0));
    count = std::min({count, xs.size(), ys.size()});
    PlotSetColour(plot, colour);
    for (std::size_t i = 0; i < count; ++i) {
        plot.worldMode = true;
        if (markers)
            PlotMarker(plot, markerKind, xs[i], ys[i]);
        if (i > 0 && connect)
            PlotLine(plot, xs[i - 1], ys[i - 1], xs[i], ys[i]);
    }
}

CurveSamples SampleCurve(const PlotState& plot, const std::function<double(double)>& f,
                         double xStart, double xEnd) {
    CurveSamples s;
    s.count = std::min(plot.sampleCount + 1, 200);
    for (int k = 0; k < s.count; ++k) {
        auto i = static_cast<std::size_t>(k);
        s.x[i] = plot.sampleCount == 0 ? xStart : xStart + k * (xEnd - xStart) / plot.sampleCount;
        s.y[i] = f(s.x[i]);
    }
    return s;
}

void DrawCurve(PlotState& plot, CurveSamples& samples) {
    plot.worldMode = true;
    const auto m = static_cast<std::size_t>(std::clamp(samples.count, 0, 200));
    for (std::size_t k = 0; k < m; ++k)
        samples.penCodes[k] = k == 0 ? CurveMove : CurveDraw;
    for (std::size_t k = 0; k < m; ++k) {
        double y = samples.y[k];
        if (!(y <= plot.yMax && y >= plot.yMin)) {
            samples.penCodes[k] = CurveSkip;
            if (k + 1 < m)
                samples.penCodes[k + 1] = CurveMove;
        }
        if (samples.penCodes[k] == CurveMove)
            PlotMove(plot, samples.x[k], y);
        else if (samples.penCodes[k] == CurveDraw)
            PlotDraw(plot, samples.x[k], y);
    }
    plot.worldMode = false;
}

void PlotFunction(PlotState& plot, const std::function<double(double)>& f, std::uint16_t colour,
                  double xStart, double xEnd) {
    if (plot.device == PlotDevice::Screen && plot.canvas)
        plot.canvas->setPenWidth(4);
    PlotSetColour(plot, colour);
    CurveSamples samples = SampleCurve(plot, f, xStart, xEnd);
    DrawCurve(plot, samples);
}

} // namespace camini
