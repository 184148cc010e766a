#include "PlotState.h"

#include <algorithm>
#include <cmath>

namespace camini {

namespace {

// Whole device unit of a device coordinate: the fraction dropped (towards
// zero). Coordinates far outside any surface are held at a bound well beyond
// it, so the conversion is always defined; callers pass finite values only.
int deviceUnit(double v) {
    constexpr double bound = 1 << 30;
    return static_cast<int>(std::clamp(std::trunc(v), -bound, bound));
}

std::uint16_t toUnsigned16(double v) {
    if (!(v > 0.0))
        return 0;
    return static_cast<std::uint16_t>(std::min(std::trunc(v), 65535.0));
}

bool finite(double x, double y) {
    return std::isfinite(x) && std::isfinite(y);
}

// World coordinates can only be drawn through a window of some size.
bool mappable(const PlotState& plot) {
    return !plot.worldMode || plotWorldUsable(plot);
}

double scaleOf(double extent, double lo, double hi) {
    double span = hi - lo;
    if (span == 0.0)
        return 0.0;
    double scale = extent / span;
    return std::isfinite(scale) ? scale : 0.0;
}

} // namespace

std::optional<PlotColour> PlotPalette(std::uint16_t colourNumber) {
    switch (colourNumber) {
    case 0:
        return PlotColour{0, 0, 0};
    case 1:
        return PlotColour{0, 0, 255};
    case 2:
        return PlotColour{0, 128, 0};
    case 3:
        return PlotColour{0, 255, 255};
    case 4:
        return PlotColour{255, 0, 0};
    case 5:
        return PlotColour{255, 0, 255};
    case 6:
        return PlotColour{128, 0, 0};
    case 7:
        return PlotColour{128, 128, 128};
    case 14:
        return PlotColour{128, 128, 0};
    default:
        return std::nullopt;
    }
}

void PlotOpen(PlotState& plot) {
    plot.worldMode = false;
    if (plot.device == PlotDevice::Screen) {
        plot.devWidth = toUnsigned16(plot.windowWidth - 10.0);
        plot.devHeight = toUnsigned16(plot.windowHeight - 80.0);
        plot.marginX = 0.0;
        plot.marginY = 0.0;
        plot.charWidth = 6.0;
        plot.charHeight = 6.0;
        if (plot.canvas)
            plot.canvas->setFontSize(8);
    } else {
        // The page size is read from the printer at this moment.
        double pageWidth = plot.canvas ? plot.canvas->width() : 0;
        double pageHeight = plot.canvas ? plot.canvas->height() : 0;
        plot.devWidth = toUnsigned16(pageWidth * 0.9);
        plot.devHeight = toUnsigned16(pageHeight * 0.9);
        plot.marginX = plot.devWidth * 0.1;
        plot.marginY = plot.devWidth * 0.1; // the width, for the bottom margin too
        plot.charWidth = plot.devWidth / 100.0;
        plot.charHeight = plot.devHeight / 80.0;
        if (plot.canvas)
            plot.canvas->setFontSize(10);
    }
}

void PlotSetWorld(PlotState& plot, double xMin, double yMin, double xMax, double yMax) {
    plot.xMin = xMin;
    plot.xMax = xMax;
    plot.yMin = yMin;
    plot.yMax = yMax;
    plot.extentX = plot.devWidth - plot.originX;
    plot.extentY = plot.devHeight - plot.originY;
    plot.scaleX = scaleOf(plot.extentX, xMin, xMax);
    plot.scaleY = scaleOf(plot.extentY, yMin, yMax);
}

bool plotWorldUsable(const PlotState& plot) {
    return plot.scaleX != 0.0 && plot.scaleY != 0.0 && std::isfinite(plot.scaleX) &&
           std::isfinite(plot.scaleY) && std::isfinite(plot.xMin) && std::isfinite(plot.yMin);
}

double PlotMapX(const PlotState& plot, double x) {
    if (!plot.worldMode)
        return x;
    if (plot.lengthMode)
        return x * plot.scaleX;
    return (x - plot.xMin) * plot.scaleX + plot.originX;
}

double PlotMapY(const PlotState& plot, double y) {
    double Y = y;
    if (plot.worldMode)
        Y = plot.lengthMode ? y * plot.scaleY : (y - plot.yMin) * plot.scaleY + plot.originY;
    if (plot.device == PlotDevice::Screen)
        Y = plot.devHeight - Y;
    return Y;
}

namespace {

// The common part of PlotMove and PlotDraw: maps (x, y), makes it the pen
// position and tells whether a surface should get it. A position that
// cannot be mapped (not finite) reaches no surface: the pen position
// becomes unknown (NaN) and the next PlotDraw only moves there.
bool penTo(PlotState& plot, double x, double y, double& X, double& Y) {
    X = PlotMapX(plot, x);
    Y = PlotMapY(plot, y);
    plot.penX = X;
    plot.penY = Y;
    if (!finite(X, Y)) {
        plot.penX = plot.penY = std::nan("");
        return false;
    }
    return plot.canvas != nullptr;
}

} // namespace

void PlotMove(PlotState& plot, double x, double y) {
    plot.lengthMode = false;
    double X = 0, Y = 0;
    if (!mappable(plot) || !penTo(plot, x, y, X, Y))
        return;
    if (plot.device == PlotDevice::Screen)
        plot.canvas->moveTo(deviceUnit(X), deviceUnit(Y));
    else
        plot.canvas->moveTo(deviceUnit(X), deviceUnit(plot.devHeight - Y));
}

void PlotDraw(PlotState& plot, double x, double y) {
    plot.lengthMode = false;
    if (!mappable(plot))
        return;
    if (!finite(plot.penX, plot.penY)) {
        PlotMove(plot, x, y);
        return;
    }
    double X = 0, Y = 0;
    if (!penTo(plot, x, y, X, Y))
        return;
    // The printer's row is the flip of the cut value, where PlotMove cuts
    // the flipped one: the two differ by one dot for a fractional Y.
    if (plot.device == PlotDevice::Screen)
        plot.canvas->lineTo(deviceUnit(X), deviceUnit(Y));
    else
        plot.canvas->lineTo(deviceUnit(X), plot.devHeight - deviceUnit(Y));
}

void PlotLine(PlotState& plot, double x1, double y1, double x2, double y2) {
    PlotMove(plot, x1, y1);
    PlotDraw(plot, x2, y2);
}

void PlotRectangle(PlotState& plot, double x1, double y1, double x2, double y2) {
    PlotMove(plot, x1, y1);
    PlotDraw(plot, x2, y1);
    PlotDraw(plot, x2, y2);
    PlotDraw(plot, x1, y2);
    PlotDraw(plot, x1, y1);
}

void PlotCircle(PlotState& plot, double x, double y, double r) {
    if (!mappable(plot))
        return;
    plot.lengthMode = true;
    double R = PlotMapX(plot, r);
    plot.lengthMode = false;
    double X = PlotMapX(plot, x);
    double Y = PlotMapY(plot, y);
    if (!finite(X, Y) || !std::isfinite(R))
        return;
    if (plot.device == PlotDevice::Screen) {
        if (X < 10.0 || X > plot.windowWidth || Y < 0.0 || Y > plot.windowHeight - 50.0)
            return;
        if (plot.canvas)
            plot.canvas->ellipse(deviceUnit(X - R), deviceUnit(Y + R), deviceUnit(X + R),
                                 deviceUnit(Y - R));
    } else {
        double rowY = plot.devHeight - Y;
        if (plot.canvas)
            plot.canvas->ellipse(deviceUnit(X - R), deviceUnit(rowY + R), deviceUnit(X + R),
                                 deviceUnit(rowY - R));
    }
    plot.penX = X;
    plot.penY = Y;
}

void PlotMarker(PlotState& plot, int kind, double x, double y) {
    PlotMove(plot, x, y);
    // Sizes in world units, so the same on the device whatever the data.
    double a = (plot.xMax - plot.xMin) / 200.0;
    double b = (plot.yMax - plot.yMin) / 70.0;
    auto circle = [&] { PlotCircle(plot, x, y, a); };
    auto cross = [&] {
        PlotLine(plot, x, y - b / 2, x, y + b / 2);
        PlotLine(plot, x - a / 2, y, x + a / 2, y);
    };
    auto square = [&] { PlotRectangle(plot, x - a / 2, y - b / 2, x + a / 2, y + b / 2); };
    switch (kind) {
    case 1:
        circle();
        break;
    case 2:
        cross();
        break;
    case 3:
        square();
        break;
    case 4:
        circle();
        square();
        break;
    case 5:
        cross();
        square();
        break;
    default: // 0 and unknown kinds: only the pen has moved
        break;
    }
}

namespace {
// The font PlotText writes in.
void useTextFont(PlotState& plot) {
    plot.canvas->setFontName("times new roman");
    if (plot.device == PlotDevice::Screen)
        plot.canvas->setFontSize(14);
}
} // namespace

double plotTextWidth(PlotState& plot, const std::string& text) {
    if (!plot.canvas)
        return 0.0;
    useTextFont(plot);
    return plot.canvas->textWidth(" " + text);
}

double plotTextHeight(PlotState& plot) {
    if (!plot.canvas)
        return 0.0;
    useTextFont(plot);
    return plot.canvas->textHeight();
}

void PlotText(PlotState& plot, const std::string& text, double x, double y) {
    if (!mappable(plot))
        return;
    double X = PlotMapX(plot, x);
    double Y = PlotMapY(plot, y);
    if (!finite(X, Y) || !plot.canvas)
        return;
    std::string shown = " " + text;
    useTextFont(plot);
    if (plot.device == PlotDevice::Screen) {
        plot.canvas->textOut(deviceUnit(X), deviceUnit(Y), shown);
    } else {
        plot.canvas->textOut(deviceUnit(X), plot.devHeight - deviceUnit(Y), shown);
    }
}

void PlotSetColour(PlotState& plot, std::uint16_t colourNumber) {
    plot.colour = colourNumber;
    std::optional<PlotColour> rgb = PlotPalette(colourNumber);
    if (rgb && plot.canvas) {
        plot.canvas->setPenColour(*rgb);
        plot.canvas->setFontColour(*rgb);
    }
}

} // namespace camini
