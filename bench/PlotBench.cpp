#include "common/ExecutableFolder.h"
#include "common/Messages.h"
#include "engine/ChimneyInput.h"
#include "engine/Session.h"
#include "engine/Worksheet.h"
#include "plot/GraphSvg.h"
#include "plot/Graphs.h"
#include "plot/PlotState.h"
#include "plot/RecordingCanvas.h"

#include <benchmark/benchmark.h>

using namespace camini;

namespace {

// The start project solved once, and a three-point material to graph.
struct Solved {
    Session session{executableFolder()};
    Solved() {
        session.archive.load();
        setStartProject(session.sheet);
        session.input = readChimneyInput(session.sheet);
        session.solver.solveWall(session.input, session.archive);
        Material& m = session.archive.material(99);
        m.description = "prova";
        m.temperatures = {20, 300, 600, 0, 0, 0};
        m.lambdas = {0.04, 0.06, 0.05, 0, 0, 0};
        MaterialArchive::derive(m);
        session.sheet.graphMaterial = 99;
    }
};

struct Silent : Messages {
    void message(const std::string&) override {}
    void error(const std::string&) override {}
};

// One drawing as the window's paint makes it: PlotOpen, then the graph.
void drawOnScreen(benchmark::State& state, const GraphProcedure& graph) {
    RecordingCanvas canvas(1024, 768);
    PlotState plot;
    plot.canvas = &canvas;
    plot.windowWidth = 1024;
    plot.windowHeight = 768;
    for (auto _ : state) {
        canvas.clear();
        DrawGraph(plot, graph);
        benchmark::DoNotOptimize(canvas.primitives().size());
    }
}

void BM_ProfileGraphRecorded(benchmark::State& state) {
    Solved s;
    drawOnScreen(state, makeProfileGraph(s.session));
}
BENCHMARK(BM_ProfileGraphRecorded);

void BM_ConductivityGraphRecorded(benchmark::State& state) {
    Solved s;
    drawOnScreen(state, makeConductivityGraph(s.session));
}
BENCHMARK(BM_ConductivityGraphRecorded);

void BM_ProfileGraphSvg(benchmark::State& state) {
    Solved s;
    PlotState plot;
    Silent messages;
    GraphProcedure graph = makeProfileGraph(s.session);
    for (auto _ : state)
        benchmark::DoNotOptimize(graphSvg(plot, graph, profileGraphCaption(), messages).size());
}
BENCHMARK(BM_ProfileGraphSvg);

} // namespace
