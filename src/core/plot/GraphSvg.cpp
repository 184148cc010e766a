#include "GraphSvg.h"

#include "SvgCanvas.h"

#include <algorithm>

namespace camini {

namespace {

// Gives the plot state back its device and canvas when the drawing ends.
class DeviceRestore {
public:
    explicit DeviceRestore(PlotState& plot)
        : plot_(plot), device_(plot.device), canvas_(plot.canvas) {}
    ~DeviceRestore() {
        plot_.device = device_;
        plot_.canvas = canvas_;
    }
    DeviceRestore(const DeviceRestore&) = delete;
    DeviceRestore& operator=(const DeviceRestore&) = delete;

private:
    PlotState& plot_;
    PlotDevice device_;
    PlotCanvas* canvas_;
};

std::uint16_t screenSize(int v) {
    return static_cast<std::uint16_t>(std::clamp(v, 0, 65535));
}

} // namespace

std::string graphSvg(PlotState& plot, const GraphProcedure& graph, Messages& messages,
                     int screenWidth, int screenHeight) {
    CheckGraph(graph, messages);
    SvgCanvas canvas(screenWidth, screenHeight);
    canvas.setFontName("TIMES NEW ROMAN");
    canvas.setFontSize(8);
    canvas.setPenWidth(2);
    {
        DeviceRestore restore(plot);
        plot.device = PlotDevice::Screen;
        plot.canvas = &canvas;
        plot.windowWidth = screenSize(screenWidth);
        plot.windowHeight = screenSize(screenHeight);
        DrawGraph(plot, graph);
    }
    return canvas.document();
}

} // namespace camini
