#pragma once

#include "Graphs.h"
#include "PlotState.h"
#include "common/Cp1252.h"

#include <string>

namespace camini {

class Messages;
struct Session;

// What a graph's SVG document says it shows: its <title> (the graph, and
// for the conductivity the material) and its <desc> (the axes and their
// units). CP1252.
struct GraphCaption {
    Cp1252 title;
    Cp1252 description;
};

// The temperature profile's: "profilo di temperatura nella parete", its axes
// X (mm from the inner surface) and T (degrees C).
GraphCaption profileGraphCaption();

// The conductivity graph's, of the sheet's graphMaterial: "conducibilità
// termica di" and the material's description, its axes temp (degrees C) and
// [lambda] (W/m K).
GraphCaption conductivityGraphCaption(const Session& session);

// The graph as the graph window shows it on a screen of screenWidth x
// screenHeight pixels, as a standalone SVG document (UTF-8) of the screen's
// size with the caption's title and description: the graph's check first
// (its message, if any, goes to `messages`), then the window's start
// settings (window as large as the screen, font "TIMES NEW ROMAN" size 8,
// pen width 2) and one drawing on the Screen device. On 1024 x 768 the
// drawing area is 1014 x 688. The plot state keeps what the drawing set
// (window size, world window, axis layout) like after a showing of the
// window; its device and canvas are given back as they were.
Utf8 graphSvg(PlotState& plot, const GraphProcedure& graph, const GraphCaption& caption,
              Messages& messages, int screenWidth = 1024, int screenHeight = 768);

} // namespace camini
