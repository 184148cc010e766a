#pragma once

#include "Graphs.h"
#include "PlotState.h"
#include "common/Cp1252.h"

#include <string>

namespace camini {

class Messages;

// The graph as the graph window shows it on a screen of screenWidth x
// screenHeight pixels, as a standalone SVG document (UTF-8) of the screen's
// size: the graph's check first (its message, if any, goes to `messages`),
// then the window's start settings (window as large as the screen, font
// "TIMES NEW ROMAN" size 8, pen width 2) and one drawing on the Screen device.
// On 1024 x 768 the drawing area is 1014 x 688. The plot state keeps what the
// drawing set (window size, world window, axis layout) like after a showing
// of the window; its device and canvas are given back as they were.
Utf8 graphSvg(PlotState& plot, const GraphProcedure& graph, Messages& messages,
              int screenWidth = 1024, int screenHeight = 768);

} // namespace camini
