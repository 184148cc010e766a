#include "batch/CalculationJson.h"
#include "batch/Sweep.h"
#include "common/ExecutableFolder.h"
#include "common/Messages.h"
#include "engine/Calculation.h"
#include "engine/Session.h"
#include "forms/MainActions.h"

#include <benchmark/benchmark.h>

using namespace camini;

namespace {

struct QuietMessages : Messages {
    void message(const std::string&) override {}
    void error(const std::string&) override {}
};

Session startedSession() {
    Session session(executableFolder());
    QuietMessages messages;
    startUp(session, messages, {.readSizeCatalogue = false, .goOnAfterFailure = false});
    return session;
}

// A sweep of 1000 insulation thicknesses, 0 to 99.9 mm, and its table or
// its JSON document, each line written as it is computed: the part of
// `camini-calc --sweep` after the start-up. The whole process is measured
// against a plain run with hyperfine (see the README); the memory, flat in
// the number of values, by a test of the peak.
void BM_Sweep1000Insulation(benchmark::State& state, SweepFormat format) {
    const Session loaded = startedSession();
    const SweepSpec spec = parseSweep("spessore-isolante=0:99.9:0.1");
    std::size_t bytes = 0;
    const ContentWriter write = [&](std::string_view piece) { bytes += piece.size(); };
    for (auto _ : state) {
        Session session = loaded;
        benchmark::DoNotOptimize(writeSweep(session, spec, format, write));
    }
    benchmark::DoNotOptimize(bytes);
}
BENCHMARK_CAPTURE(BM_Sweep1000Insulation, Csv, SweepFormat::Csv)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000Insulation, ItalianCsv, SweepFormat::CsvItalian)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Sweep1000Insulation, Json, SweepFormat::JsonDocument)
    ->Unit(benchmark::kMillisecond);

// The minimum insulation for 700 deg C: eleven trials on copies of the session.
void BM_MinThickness(benchmark::State& state) {
    const Session loaded = startedSession();
    for (auto _ : state)
        benchmark::DoNotOptimize(findMinThickness(loaded, InputRow::InsulationThickness, 700));
}
BENCHMARK(BM_MinThickness)->Unit(benchmark::kMicrosecond);

// The JSON document of the example's calculation, written out.
void BM_CalculationJson(benchmark::State& state) {
    Session session = startedSession();
    QuietMessages messages;
    calculate(session, messages);
    for (auto _ : state)
        benchmark::DoNotOptimize(calculationJson(session, {}).dump(2).data());
}
BENCHMARK(BM_CalculationJson)->Unit(benchmark::kMicrosecond);

} // namespace
