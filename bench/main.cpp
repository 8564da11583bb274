// Runs every benchmark, then prints each measured routine against its baseline from the same run (wall
// time: some routines hand work to a thread of their own) and fails when a ratio passes its target.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Comparison {
  const char* measured;
  const char* baseline;
  double target;  // 0 = reported only
};

const std::vector<Comparison> kComparisons = {
    {"BM_SearchThroughJumpTable", "BM_SearchPrecompiled", 1.3},
    {"BM_ReplaceThroughJumpTable", "BM_ReplacePrecompiled", 1.3},
    {"BM_SetPathThroughJumpTable", "BM_SetPathDirectoryIterator", 1.5},
    {"BM_FrameStep", "BM_FrameStepBaseline", 0},
    {"BM_FindEveryAction", "BM_FindEveryActionIndexed", 0},
};

class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  // The median of repeated runs when there is one, else the single run's time; 0 when not run.
  double timeOf(const std::string& name) const {
    for (const std::string& key : {name + "_median", name}) {
      auto found = times_.find(key);
      if (found != times_.end()) return found->second;
    }
    return 0;
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  int missed = 0;
  std::printf("\n%-28s %-26s %7s %7s\n", "measured", "baseline", "ratio", "target");
  for (const Comparison& comparison : kComparisons) {
    double measured = reporter.timeOf(comparison.measured);
    double baseline = reporter.timeOf(comparison.baseline);
    if (measured == 0 || baseline == 0) continue;
    double ratio = measured / baseline;
    bool met = comparison.target == 0 || ratio <= comparison.target;
    missed += met ? 0 : 1;
    std::printf("%-28s %-26s %7.2f %7s%s\n", comparison.measured, comparison.baseline, ratio,
                comparison.target == 0 ? "-" : std::to_string(comparison.target).substr(0, 3).c_str(),
                met ? "" : "  MISSED");
  }
  benchmark::Shutdown();
  return missed == 0 ? 0 : 1;
}
