#include "Graphs.h"

#include "GraphSvg.h"
#include "PlotAxes.h"
#include "common/FixedPoint.h"
#include "common/Messages.h"
#include "engine/Session.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

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

namespace {

// The room a text of PlotText takes on the surface, in device units with
// rows counted downwards: from its first character that is not a blank to
// its end and a blank beyond, one line high. The blank keeps two texts on
// one row from reading as one ("schermo 234").
struct TextRoom {
    double left, top, right, bottom;
    bool overlaps(const TextRoom& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

TextRoom textRoom(PlotState& plot, const Cp1252& text, double x, double y) {
    const double X = PlotMapX(plot, x);
    const double Y = PlotMapY(plot, y);
    const double top = plot.device == PlotDevice::Screen ? Y : plot.devHeight - Y;
    const std::size_t blanks = std::min(text.find_first_not_of(' '), text.size());
    return {X + plotTextWidth(plot, Cp1252(blanks, ' ')), top, X + plotTextWidth(plot, text + ' '),
            top + plotTextHeight(plot)};
}

// Where a layer's name goes: a third of the way along its segment at the
// segment's mean temperature, or, where it would cover a temperature or a
// name written already, the first free place of: that place a line or two
// higher or lower, then the same at a half, two thirds and a sixth of the
// way along. Where none is free (or nothing can be measured) the first.
std::pair<double, double> layerNamePlace(PlotState& plot, const Cp1252& name, double x1, double t1,
                                         double x2, double t2, std::vector<TextRoom>& taken) {
    const double line = plot.scaleY != 0 ? plotTextHeight(plot) / plot.scaleY : 0;
    const std::pair<double, double> first{x1 + (x2 - x1) / 3, (t1 + t2) / 2};
    for (const double along : {1.0 / 3, 1.0 / 2, 2.0 / 3, 1.0 / 6}) {
        const double x = x1 + (x2 - x1) * along;
        const double base = along == 1.0 / 3 ? first.second : t1 + (t2 - t1) * along;
        for (const double lines : {0.0, 1.0, -1.0, 2.0, -2.0}) {
            const double y = base + lines * line;
            const TextRoom room = textRoom(plot, name, x, y);
            const bool inside =
                room.right <= plot.devWidth && room.top >= 0 && room.bottom <= plot.devHeight;
            if (line > 0 && inside &&
                std::none_of(taken.begin(), taken.end(),
                             [&](const TextRoom& t) { return t.overlaps(room); })) {
                taken.push_back(room);
                return {x, y};
            }
        }
    }
    taken.push_back(textRoom(plot, name, first.first, first.second));
    return first;
}

} // namespace

void ProfileGraph(PlotState& plot, const Session& session) {
    const CalcResult& r = session.solver.result();
    const auto& x = r.profilePositions;
    const auto& t = r.profileTemps;
    plot.labelColumns = 1;
    GraphSetup(plot, "X", "T", 0, 0.0, session.input.ambientTemp, x[6], t[0]);
    PlotPoints(plot, 8, x, t, true, true, 1, 4);
    plot.worldMode = true;
    PlotSetColour(plot, 0);
    // Every point's temperature at its truncated height, and each layer's
    // name on its own segment (segment i runs from point i to point i + 1,
    // and the layer of wall row r lies between points r - 1 and r), clear of
    // the temperatures and of the names before it. The names are written
    // first.
    std::array<Cp1252, 8> temps;
    std::vector<TextRoom> taken;
    for (std::size_t k = 0; k < 8; ++k) {
        temps[k] = formatFixed(t[k], 4, 0);
        taken.push_back(textRoom(plot, temps[k], x[k], std::trunc(t[k])));
    }
    for (const LayerSpec& layer : layerTable) {
        const auto i = static_cast<std::size_t>(layer.wallRow - 1);
        const auto [nx, ny] =
            layerNamePlace(plot, layer.profileName, x[i], t[i], x[i + 1], t[i + 1], taken);
        PlotText(plot, layer.profileName, nx, ny);
    }
    for (std::size_t k = 0; k < 8; ++k)
        PlotText(plot, temps[k], x[k], std::trunc(t[k]));
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
