// The frame's fixed costs against hand-written baselines measured in the same run: the frame step with
// nothing to move, and the catalog lookups the editor makes for every entry it shows.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_frame.h"
#include "frame/catalog.h"

namespace {

using bench::BenchFrame;

void BM_FrameStep(benchmark::State& state) {
  BenchFrame bench;
  for (auto _ : state) HandleRunObject(bench.rd);
  benchmark::DoNotOptimize(bench::raisedCount);
}
BENCHMARK(BM_FrameStep);

// Baseline: the same five flag tests and one indirect call, written inline.
void BM_FrameStepBaseline(benchmark::State& state) {
  BenchFrame bench;
  auto* rd = nimbo::runData(bench.rd);
  for (auto _ : state) {
    if (rd->mismatchFlag == 1) bench.services.generateEvent(bench.rd, 6, 0);
    if (rd->pathInvalid == 1) bench.services.generateEvent(bench.rd, 3, 0);
    if (rd->pathConfirmed == 1) bench.services.generateEvent(bench.rd, 2, 0);
    if (rd->autoPositionFlag == 1) bench.services.generateEvent(bench.rd, 1, 0);
    bench.services.generateEvent(bench.rd, 0, 0);
    rd->regexErrorFlag = 0;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameStepBaseline);

void BM_FindEveryAction(benchmark::State& state) {
  for (auto _ : state) {
    for (int code = 0; code < nimbo::frame::kActionCount; ++code) {
      benchmark::DoNotOptimize(nimbo::frame::findEntry(nimbo::frame::CatalogKind::action, code).words);
    }
  }
}
BENCHMARK(BM_FindEveryAction);

// Baseline: an index built once, looked up directly.
void BM_FindEveryActionIndexed(benchmark::State& state) {
  std::vector<const int16_t*> index(nimbo::frame::kActionCount);
  for (int code = 0; code < nimbo::frame::kActionCount; ++code) {
    index[code] = nimbo::frame::findEntry(nimbo::frame::CatalogKind::action, code).words;
  }
  for (auto _ : state) {
    for (int code = 0; code < nimbo::frame::kActionCount; ++code) benchmark::DoNotOptimize(index[code]);
  }
}
BENCHMARK(BM_FindEveryActionIndexed);

}  // namespace
