#include "Graphs.h"

#include "GraphSvg.h"
#include "PlotAxes.h"
#include "common/FixedPoint.h"
#include "common/Messages.h"
#include "engine/Session.h"

#include <array>
#include <cmath>

namespace camini {

bool checkGraph(const GraphProcedure& graph, Messages& messages) {
    if (!graph.check)
        return true;
    std::optional<std::string> text = graph.check();
    if (!text)
        return true;
    messages.message(*text);
    return false;
}

void DrawGraph(PlotState& plot, const GraphProcedure& graph) {
    PlotOpen(plot);
    if (graph.draw)
        graph.draw(plot);
}

void drawGraphOn(PlotState& plot, const GraphProcedure& graph, PlotCanvas& canvas,
                 PlotDevice device) {
    canvas.setFontName("TIMES NEW ROMAN");
    if (device == PlotDevice::Screen) {
        canvas.setFontSize(8);
        canvas.setPenWidth(2);
    } else {
        canvas.setPenWidth(5);
    }
    const PlotDeviceGuard restore(plot);
    plot.device = device;
    plot.canvas = &canvas;
    DrawGraph(plot, graph);
}

std::optional<std::string> checkConductivityGraph(const Session& session) {
    const int m = session.sheet.graphMaterial;
    // An empty slot can be chosen like any other: say so rather than speak
    // of a single point.
    if (session.archive.pointCount(m) == 0)
        return std::string(NoPointsMessage);
    if (!session.archive.hasTemperatureRange(m))
        return std::string(OnePointMessage);
    return std::nullopt;
}

void ConductivityGraph(PlotState& plot, const Session& session) {
    const int m = session.sheet.graphMaterial;
    if (!session.archive.hasTemperatureRange(m))
        return; // the check has told the user
    const double t1 = session.archive.tempMin(m);
    const double t2 = session.archive.tempMax(m);
    plot.labelColumns = 1;
    // The y window holds the whole curve: from the smallest to the largest
    // conductivity of the points between the first and the last (for a
    // conductivity that rises from point to point, the first and the last).
    double lo = session.archive.conductivity(m, t1);
    double hi = session.archive.conductivity(m, t2);
    if (lo > hi)
        std::swap(lo, hi);
    const Material& mat = session.archive.material(m);
    for (int k = 0; k < mat.pointCount; ++k) {
        const double t = mat.temperatures[static_cast<std::size_t>(k)];
        if (t < t1 || t > t2)
            continue;
        const double l = session.archive.conductivity(m, t);
        lo = std::min(lo, l);
        hi = std::max(hi, l);
    }
    GraphSetup(plot, "temp", "[lambda]", 0, t1, lo, t2, hi);
    // The choice of the material made it the insulation's
    // (chooseGraphMaterial): the curve is the insulation's conductivity.
    PlotFunction(
        plot, [&session, m](double t) { return session.archive.conductivity(m, t); }, 1, t1, t2);
}

void ProfileGraph(PlotState& plot, const Session& session) {
    const CalcResult& r = session.solver.result();
    const auto& x = r.profilePositions;
    const auto& t = r.profileTemps;
    plot.labelColumns = 1;
    GraphSetup(plot, "X", "T", 0, 0.0, session.input.ambientTemp, x[6], t[0]);
    PlotPoints(plot, 8, x, t, true, true, 1, 4);
    plot.worldMode = true;
    PlotSetColour(plot, 0);
    // Each layer's name on its own segment: segment i runs from point i to
    // point i + 1, and the layer of wall row r lies between points r - 1 and r.
    for (const LayerSpec& layer : layerTable) {
        const auto i = static_cast<std::size_t>(layer.wallRow - 1);
        PlotText(plot, layer.profileName, x[i] + (x[i + 1] - x[i]) / 3, (t[i] + t[i + 1]) / 2);
    }
    for (std::size_t k = 0; k < 8; ++k)
        PlotText(plot, formatFixed(t[k], 4, 0), x[k], std::trunc(t[k]));
}

GraphProcedure makeConductivityGraph(const Session& session) {
    return {[&session] { return checkConductivityGraph(session); },
            [&session](PlotState& plot) { ConductivityGraph(plot, session); },
            [&session] {
                // A material without a curve: the window and the page stay empty.
                return checkConductivityGraph(session) ? Cp1252()
                                                       : conductivityGraphCaption(session).title;
            }};
}

GraphProcedure makeProfileGraph(const Session& session) {
    return {{},
            [&session](PlotState& plot) { ProfileGraph(plot, session); },
            [&session] {
                Cp1252 title = profileGraphCaption().title;
                if (!resultsCurrent(session))
                    title += std::string(" - ") + StaleResultsNote;
                return title;
            }};
}

} // namespace camini
