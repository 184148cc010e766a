#include "common/Clock.h"
#include "common/ExecutableFolder.h"
#include "common/Messages.h"
#include "engine/Calculation.h"
#include "engine/Report.h"
#include "engine/Session.h"

#include <benchmark/benchmark.h>

using namespace camini;

namespace {

struct QuietMessages : Messages {
    void message(const std::string&) override {}
    void error(const std::string&) override {}
};

struct Started {
    Session session{executableFolder()};
    QuietMessages messages;
    Started() {
        session.archive.load();
        setStartProject(session.sheet);
        showMaterialChoices(session.sheet, session.archive);
    }
};

// The calculate operation on the example project: two searches that end
// early, the final solution, the grid and the checks.
void BM_CalculateExample(benchmark::State& state) {
    Started s;
    for (auto _ : state) {
        calculate(s.session, s.messages);
        benchmark::DoNotOptimize(s.session.sheet.results[8][2].data());
    }
}
BENCHMARK(BM_CalculateExample);

// Both searches run to their 101st solution: unreachable targets.
void BM_CalculateWorstCase(benchmark::State& state) {
    Started s;
    s.session.sheet.input(InputRow::GapFaceLimit) = "5000";
    s.session.sheet.input(InputRow::OuterFaceLimit) = "1000";
    for (auto _ : state) {
        calculate(s.session, s.messages);
        benchmark::DoNotOptimize(s.session.sheet.results[8][2].data());
    }
}
BENCHMARK(BM_CalculateWorstCase);

void BM_Report(benchmark::State& state) {
    Started s;
    calculate(s.session, s.messages);
    const Clock clock = localNow;
    for (auto _ : state) {
        s.session.viewer.clear();
        buildReport(s.session, clock);
        benchmark::DoNotOptimize(s.session.viewer.paragraphs.data());
    }
}
BENCHMARK(BM_Report);

} // namespace
