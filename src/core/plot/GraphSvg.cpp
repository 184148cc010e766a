#include "GraphSvg.h"

#include "SvgCanvas.h"

#include <algorithm>

namespace camini {

namespace {

std::uint16_t screenSize(int v) {
    return static_cast<std::uint16_t>(std::clamp(v, 0, 65535));
}

} // namespace

std::string graphSvg(PlotState& plot, const GraphProcedure& graph, Messages& messages,
                     int screenWidth, int screenHeight) {
    checkGraph(graph, messages);
    SvgCanvas canvas(screenWidth, screenHeight);
    plot.windowWidth = screenSize(screenWidth);
    plot.windowHeight = screenSize(screenHeight);
    drawGraphOn(plot, graph, canvas, PlotDevice::Screen);
    return canvas.document();
}

} // namespace camini
