#pragma once

#include "PlotCanvas.h"
#include "common/Cp1252.h"

#include <cstdint>
#include <optional>
#include <string>

namespace camini {

// Where the next drawing goes. Both devices have y growing downwards; the
// library flips its upward y for them.
enum class PlotDevice : std::uint8_t { Screen, Printer };

// The plot library's state: one for the whole run, owned by the application
// and passed by reference to every operation. The values below are those at
// program start. Coordinates are device units (pixels on the screen, dots on
// the printer) unless said otherwise.
struct PlotState {
    // The device the next drawing goes to and its surface (not owned). The
    // caller sets both before PlotOpen; without a surface the operations
    // update the state and draw nothing.
    PlotDevice device = PlotDevice::Screen;
    PlotCanvas* canvas = nullptr;

    // Size of the graph window in pixels, set by the window when it is shown.
    std::uint16_t windowWidth = 0;
    std::uint16_t windowHeight = 0;

    // Set by PlotOpen from the device.
    std::uint16_t devWidth = 0; // size of the drawing area
    std::uint16_t devHeight = 0;
    double charWidth = 0.0; // layout character cell of the axes layer
    double charHeight = 0.0;
    double marginX = 0.0; // left margin
    double marginY = 0.0; // bottom margin

    // Lower left corner of the plot area, set by AxisLayout; the plot area
    // reaches the right and top edges of the drawing area.
    double originX = 0.0;
    double originY = 0.0;

    // Set by PlotSetWorld.
    double extentX = 0.0; // devWidth - originX
    double extentY = 0.0; // devHeight - originY
    double xMin = 0.0;    // the world window
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    double scaleX = 0.0; // device units per world unit; 0 for a window of no size
    double scaleY = 0.0;

    // True: the drawing operations take world coordinates; false: device
    // units with y measured upwards from the bottom of the drawing area.
    bool worldMode = false;
    // True while a length (a circle's radius) rather than a position is mapped.
    bool lengthMode = false;

    // Last device position reached by PlotMove, PlotDraw or PlotCircle, as
    // PlotMapX and PlotMapY returned it.
    double penX = 0.0;
    double penY = 0.0;

    // Current colour number (see PlotPalette).
    std::uint16_t colour = 1;

    // Axis layout, set by GraphSetup and its steps unless said otherwise.
    Cp1252 xTitle; // at most 10 characters
    Cp1252 yTitle;
    double xStep = 0.0; // tick steps, world units
    double yStep = 0.0;
    double tickLength = 0.0;         // length of a labelled tick
    double labelWidth = 0.0;         // room for one column of y labels
    double yLabelGap = 0.0;          // from the y axis to its labels, before the tick length
    std::uint8_t labelColumns = 0;   // labelWidth blocks left of the y axis; set by the graphs
    std::uint16_t rowsBelow = 4;     // character rows below the x axis
    double xAxisY = 0.0;             // device y of the x axis
    double yAxisX = 0.0;             // device x of the y axis
    int labelEvery = 2;              // a label every this many ticks
    std::uint16_t sampleCount = 199; // intervals of a sampled function
};

// Gives the plot state back the device and the canvas it had when the guard
// was made, however the drawing in between ends.
class PlotDeviceGuard {
public:
    explicit PlotDeviceGuard(PlotState& plot)
        : plot_(plot), device_(plot.device), canvas_(plot.canvas) {}
    ~PlotDeviceGuard() {
        plot_.device = device_;
        plot_.canvas = canvas_;
    }
    PlotDeviceGuard(const PlotDeviceGuard&) = delete;
    PlotDeviceGuard& operator=(const PlotDeviceGuard&) = delete;

private:
    PlotState& plot_;
    PlotDevice device_;
    PlotCanvas* canvas_;
};

// The colour of a colour number: 0 black, 1 blue, 2 green, 3 cyan, 4 red,
// 5 magenta, 6 maroon, 7 grey, 14 olive; nothing for the others.
std::optional<PlotColour> PlotPalette(std::uint16_t colourNumber);

// Prepares the current device for one drawing: devWidth, devHeight, margins
// and character cell (the screen's from windowWidth and windowHeight, the
// printer's from the page size of the canvas), the canvas font size (8 on the
// screen, 10 on the printer), and world mode off.
void PlotOpen(PlotState& plot);

// Sets the world window, extentX, extentY, scaleX and scaleY. A window of no
// width or height (or not finite) gets a scale of 0 and is not usable: world
// coordinates are then not drawn at all (see plotWorldUsable).
// The window's corners come in the order of every world rectangle of the
// library (GraphSetup, AxisLayout): lower left, then upper right.
void PlotSetWorld(PlotState& plot, double xMin, double yMin, double xMax, double yMax);

// True when the world window maps to the device: both scales finite and not 0.
bool plotWorldUsable(const PlotState& plot);

// Device coordinate of a coordinate of the current mode. PlotMapY returns the
// screen's row (flipped) on the screen and the upward y on the printer.
double PlotMapX(const PlotState& plot, double x);
double PlotMapY(const PlotState& plot, double y);

// Moves the pen without drawing.
void PlotMove(PlotState& plot, double x, double y);
// Draws a line from the pen position to (x, y).
void PlotDraw(PlotState& plot, double x, double y);
// PlotMove(x1, y1), then PlotDraw(x2, y2).
void PlotLine(PlotState& plot, double x1, double y1, double x2, double y2);
// Outline through (x1, y1), (x2, y1), (x2, y2), (x1, y2) and back.
void PlotRectangle(PlotState& plot, double x1, double y1, double x2, double y2);
// Circle of centre (x, y) and radius r (a length along x). On the screen a
// centre left of column 10, right of the window or below its row
// windowHeight - 50 is not drawn, and the pen position stays.
void PlotCircle(PlotState& plot, double x, double y, double r);
// Point marker: 0 none, 1 circle, 2 cross, 3 square, 4 circle and square,
// 5 cross and square; other kinds draw nothing. The pen moves to (x, y) first.
void PlotMarker(PlotState& plot, int kind, double x, double y);
// Writes a blank followed by the text, its top left corner at (x, y), in
// "times new roman" (size 14 on the screen). The pen position stays.
void PlotText(PlotState& plot, const Cp1252& text, double x, double y);
// The width in device units of what PlotText writes for `text` (the blank
// in front included), in the font PlotText sets; 0 without a surface.
double plotTextWidth(PlotState& plot, const Cp1252& text);
// The height in device units of a line that PlotText writes; 0 without a
// surface.
double plotTextHeight(PlotState& plot);
// Selects a colour number; the canvas pen and font take its palette colour
// when it has one and stay as they were otherwise.
void PlotSetColour(PlotState& plot, std::uint16_t colourNumber);

} // namespace camini
