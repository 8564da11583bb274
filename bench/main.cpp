// Runs every benchmark, then prints each measured routine against its baseline from the same run (wall
// time where some routines hand work to a thread of their own, else CPU time). With --strict it fails
// when a ratio passes its target; without, it only reports, so a busy machine does not turn a look at
// the numbers into an error.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Comparison {
  const char* measured;
  const char* baseline;
  double target;         // 0 = reported only
  double baselineScale;  // the baseline does 1/scale of the measured work (a linearity check)
  bool cpuTime;          // work on the calling thread alone: CPU time, which a busy machine disturbs less
  // The benchmark that times both in turn and counts their ratio as "ratio", when there is one; the
  // ratio is then its median rather than that of the two times measured apart.
  const char* inTurn = nullptr;
};

const std::vector<Comparison> kComparisons = {
    {"BM_SearchThroughJumpTable", "BM_SearchPrecompiled", 1.3, 1, false},
    {"BM_ReplaceThroughJumpTable", "BM_ReplacePrecompiled", 1.3, 1, false},
    {"BM_SetPathThroughJumpTable", "BM_SetPathDirectoryIterator", 1.5, 1, false},
    {"BM_FrameStep", "BM_FrameStepBaseline", 0, 1, false},
    {"BM_FindEveryAction", "BM_FindEveryActionIndexed", 0, 1, false},
    {"BM_MotionFrameStep/10000", "BM_MotionBaseline/10000", 1.2, 1, true,
     "BM_MotionFrameStepByHandLoop/10000"},
    {"BM_MotionFrameStep/100000", "BM_MotionBaseline/100000", 1.2, 1, true,
     "BM_MotionFrameStepByHandLoop/100000"},
    {"BM_MotionFrameStep/10000", "BM_MotionBaseline/10000", 0, 1, true},
    {"BM_MotionFrameStep/100000", "BM_MotionBaseline/100000", 0, 1, true},
    // The growth of each from 10 000 to 100 000 objects: mostly what the memory of this machine costs once
    // the objects no longer fit its caches, so reported beside each other rather than held to a target.
    {"BM_MotionFrameStep/100000", "BM_MotionFrameStep/10000", 0, 10, true},
    {"BM_MotionBaseline/100000", "BM_MotionBaseline/10000", 0, 10, true},
};

class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      times_[run.benchmark_name()] = run.GetAdjustedRealTime();
      cpuTimes_[run.benchmark_name()] = run.GetAdjustedCPUTime();
      auto ratio = run.counters.find("ratio");
      if (ratio != run.counters.end()) ratios_[run.benchmark_name()] = ratio->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double timeOf(const std::string& name, bool cpu) const { return medianOf(cpu ? cpuTimes_ : times_, name); }
  double ratioOf(const std::string& name) const { return medianOf(ratios_, name); }

 private:
  // The median of repeated runs when there is one, else the single run's figure; 0 when not run.
  static double medianOf(const std::map<std::string, double>& figures, const std::string& name) {
    for (const std::string& key : {name + "_median", name}) {
      auto found = figures.find(key);
      if (found != figures.end()) return found->second;
    }
    return 0;
  }

  std::map<std::string, double> times_, cpuTimes_, ratios_;
};

// Takes --strict out of the arguments before the benchmark library reads them.
bool takeStrict(int& argc, char** argv) {
  bool strict = false;
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strcmp(argv[i], "--strict") == 0) {
      strict = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return strict;
}

}  // namespace

int main(int argc, char** argv) {
  bool strict = takeStrict(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  int missed = 0;
  std::printf("\n%-28s %-34s %7s %7s\n", "measured", "baseline", "ratio", "target");
  for (const Comparison& comparison : kComparisons) {
    double measured = reporter.timeOf(comparison.measured, comparison.cpuTime);
    double baseline = reporter.timeOf(comparison.baseline, comparison.cpuTime) * comparison.baselineScale;
    double ratio = comparison.inTurn ? reporter.ratioOf(comparison.inTurn)
                   : baseline > 0    ? measured / baseline
                                     : 0;
    if (measured == 0 || ratio == 0) continue;
    bool met = comparison.target == 0 || ratio <= comparison.target;
    missed += met ? 0 : 1;
    std::string baselineName = comparison.baseline;
    if (comparison.baselineScale != 1)
      baselineName += " x" + std::to_string(static_cast<int>(comparison.baselineScale));
    if (comparison.inTurn) baselineName += " in turn";
    std::printf("%-28s %-34s %7.2f %7s%s\n", comparison.measured, baselineName.c_str(), ratio,
                comparison.target == 0 ? "-" : std::to_string(comparison.target).substr(0, 3).c_str(),
                met ? "" : "  MISSED");
  }
  benchmark::Shutdown();
  if (missed > 0) std::printf("%d target%s missed\n", missed, missed == 1 ? "" : "s");
  return strict && missed > 0 ? 1 : 0;
}
