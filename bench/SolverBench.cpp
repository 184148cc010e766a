#include "common/ExecutableFolder.h"
#include "engine/ChimneyInput.h"
#include "engine/ResultsGrid.h"
#include "engine/WallSolver.h"
#include "engine/Worksheet.h"
#include "materials/MaterialArchive.h"

#include <benchmark/benchmark.h>

using namespace camini;

namespace {

struct Example {
    MaterialArchive archive{joinPath(executableFolder(), "materiali.TXT")};
    Worksheet sheet;
    ChimneyInput input;
    Example() {
        archive.load();
        setStartProject(sheet);
        input = readChimneyInput(sheet);
    }
};

void BM_SolvePass(benchmark::State& state) {
    Example ex;
    WallSolver solver;
    for (auto _ : state) {
        solver.solvePass(ex.input, ex.archive);
        benchmark::DoNotOptimize(solver.result().heatFlux);
    }
}
BENCHMARK(BM_SolvePass);

void BM_SolveWall(benchmark::State& state) {
    Example ex;
    WallSolver solver;
    for (auto _ : state) {
        solver.solveWall(ex.input, ex.archive);
        benchmark::DoNotOptimize(solver.result().heatFlux);
    }
}
BENCHMARK(BM_SolveWall);

void BM_WriteResultsGrid(benchmark::State& state) {
    Example ex;
    WallSolver solver;
    solver.solveWall(ex.input, ex.archive);
    for (auto _ : state) {
        writeResultsGrid(solver.result(), false, ex.sheet.results);
        benchmark::DoNotOptimize(ex.sheet.results[8][2].data());
    }
}
BENCHMARK(BM_WriteResultsGrid);

void BM_ArchiveLoad(benchmark::State& state) {
    MaterialArchive archive(joinPath(executableFolder(), "materiali.TXT"));
    for (auto _ : state) {
        archive.load();
        benchmark::DoNotOptimize(archive.pointCount(1));
    }
}
BENCHMARK(BM_ArchiveLoad);

} // namespace
