#include "GraphSvg.h"

#include "SvgCanvas.h"
#include "engine/Session.h"

#include <algorithm>

namespace camini {

namespace {

std::uint16_t screenSize(int v) {
    return static_cast<std::uint16_t>(std::clamp(v, 0, 65535));
}

constexpr auto profileAxes =
    joinText("asse X: distanza dalla superficie interna della parete [mm]; asse T: temperatura [",
             DegreesCelsius, "]");
constexpr auto conductivityAxes = joinText("asse temp: temperatura [", DegreesCelsius,
                                           "]; asse [lambda]: conducibilit\xE0 termica [W/m K]");

} // namespace

GraphCaption profileGraphCaption() {
    return {"profilo di temperatura nella parete", profileAxes.c_str()};
}

GraphCaption conductivityGraphCaption(const Session& session) {
    const int m = session.sheet.graphMaterial;
    return {"conducibilit\xE0 termica di " + session.archive.description(m),
            conductivityAxes.c_str()};
}

std::string graphSvg(PlotState& plot, const GraphProcedure& graph, const GraphCaption& caption,
                     Messages& messages, int screenWidth, int screenHeight) {
    checkGraph(graph, messages);
    SvgCanvas canvas(screenWidth, screenHeight);
    canvas.setCaption(caption.title, caption.description);
    plot.windowWidth = screenSize(screenWidth);
    plot.windowHeight = screenSize(screenHeight);
    drawGraphOn(plot, graph, canvas, PlotDevice::Screen);
    return canvas.document();
}

} // namespace camini
