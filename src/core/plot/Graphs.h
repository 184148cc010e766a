#pragma once

#include "PlotState.h"
#include "common/Cp1252.h"

#include <functional>
#include <optional>
#include <string>

namespace camini {

class Messages;
struct Session;

// A graph as the graph window runs it, in two steps that the window calls at
// different moments:
// - check: once before each showing of the window and once before each
//   print; returns the message to show the user first, or nothing. An empty
//   check has nothing to say.
// - draw: draws the whole graph on the current plot device after PlotOpen,
//   reading its data afresh; it may run any number of times (every paint,
//   every print) and never shows a message. An empty draw is no graph: the
//   window opens empty.
// - title: the graph's title line, which the graph window writes beside the
//   drawing on the screen and on the page, read afresh at each drawing. An
//   empty title writes nothing.
struct GraphProcedure {
    std::function<std::optional<Cp1252>()> check;
    std::function<void(PlotState&)> draw;
    std::function<Cp1252()> title;
};

// What the profile graph's title line adds while the results it draws no
// longer match the inputs.
inline constexpr const char* StaleResultsNote = "risultati non aggiornati";

// The graph the graph window draws: the application holds one, empty at
// program start, and the callers set it before showing the window.
using CurrentGraph = GraphProcedure;

// Runs the graph's check and shows its message, if any, through `messages`.
// Returns true when there was nothing to say. The window calls it when it is
// shown and before each print, the SVG writer before it draws.
bool checkGraph(const GraphProcedure& graph, Messages& messages);

// One drawing: PlotOpen on the current device, then the graph when one is set.
void DrawGraph(PlotState& plot, const GraphProcedure& graph);

// One drawing of the graph on `canvas` as the graph window makes it: the
// canvas takes the window's settings for the device (font "TIMES NEW ROMAN",
// size 8 and pen width 2 on the screen, pen width 5 on a printer page), the
// plot state draws on it as that device, then DrawGraph. The plot state gets
// its device and canvas back afterwards; what the drawing set (world window,
// axis layout) stays, as after a showing of the window. On the screen the
// drawing area follows windowWidth and windowHeight, which the caller sets.
void drawGraphOn(PlotState& plot, const GraphProcedure& graph, PlotCanvas& canvas,
                 PlotDevice device);

// The message for a material whose first and last points share their
// temperature (a material with one point, for example).
inline constexpr const char* OnePointMessage =
    "con un solo punto in archivio non \xE8 possibile il grafico!";

// The message for an empty slot: no points, nothing to draw.
inline constexpr const char* NoPointsMessage =
    "senza punti in archivio non \xE8 possibile il grafico!";

// The conductivity graph's check: NoPointsMessage for a material without
// points, OnePointMessage when tempMin and tempMax of the sheet's
// graphMaterial are equal, nothing otherwise
// (MaterialArchive::hasTemperatureRange).
std::optional<Cp1252> checkConductivityGraph(const Session& session);

// The conductivity of the sheet's graphMaterial from its first to its last
// point temperature: axes "temp" and "[lambda]" in black, x from the first
// point to the last, y from the smallest to the largest conductivity of the
// points between them, then the curve in blue, 200 samples. Choosing the
// material made it the insulation material of the sheet (chooseGraphMaterial);
// drawing only reads. Draws nothing when the check would give its message.
void ConductivityGraph(PlotState& plot, const Session& session);

// The temperature profile of the last calculation: axes "X" (mm from the
// inner surface) and "T" (deg C) in black from 0 to the wall's thickness and
// from the ambient to the flue-gas temperature, the eight profile points as
// red circles joined by red lines, each layer's name on its own segment, and
// every point's temperature (0 decimals, 4 places) at its truncated height.
void ProfileGraph(PlotState& plot, const Session& session);

// The two graphs bound to the session, ready to be the current graph. The
// conductivity graph's title line names the material; the profile's adds
// " - " and StaleResultsNote while the results are not current.
GraphProcedure makeConductivityGraph(const Session& session);
GraphProcedure makeProfileGraph(const Session& session);

} // namespace camini
