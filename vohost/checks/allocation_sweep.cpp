// The allocation-failure sweep. A routine's allocations are counted only while the host is inside the
// call of the check's line, so a failure lands in the routine itself, not in the setup or the frame step.
#include "vohost/checks/allocation_sweep.h"

#include <memory>
#include <random>

#include "vohost/error.h"
#include "vohost/utf.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace vohost {

namespace {

constexpr int kCallFrame = 1;
constexpr char kCallLine[] = "event line 2,";
constexpr char kSnapshot[] = "the record's snapshot";

// The read-only expressions that show the record: TEXT, listing counts, match count, history, controller
// counts. The controller listing (14) is left out: it shows the objects' addresses, new in every run.
constexpr int kSnapshotCodes[] = {0, 2, 3, 7, 9, 10, 12, 13};

// The captions of the boxes by which a routine reports a failed call: its record is then as its own
// failure path leaves it (tested with the routine), neither as before nor as after a successful call.
const std::set<std::string>& failureCaptions() {
  static const std::set<std::string> captions = {"Catch Filesystem ERROR", "Catch Runtime ERROR",
                                                 "Catch exception ERROR"};
  return captions;
}

using Snapshot = std::vector<std::string>;

// The record around one call of the line.
struct Call {
  Snapshot before;
  Snapshot after;
  bool failedInside = false;  // the failed allocation was one of this call's
};

struct Outcome {
  uint64_t counted = 0;
  uint64_t failed = 0;
  std::vector<Call> calls;
  std::vector<ShownMessageBox> boxes;  // shown on the call's step
  std::string escaped;                 // what came out of the extension
};

std::string shown(const HostValue& value) {
  if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
  return toUtf8(std::get<Text>(value));
}

Snapshot snapshot(Runtime& runtime) {
  Snapshot answers;
  for (int code : kSnapshotCodes) answers.push_back(shown(runtime.evaluate({0, code, {}}, kSnapshot)));
  return answers;
}

Outcome run(const Extension& extension, AllocationFaults& control, const Scene& scene,
            const std::filesystem::path& folder, uint64_t failAt) {
  std::filesystem::current_path(folder.parent_path());
  prepareSweepFolder(folder);
  std::filesystem::current_path(folder);
  Outcome outcome;
  uint64_t failedBefore = 0;
  FaultedRun faulted =
      runWithAllocationFault(extension, control, scene, failAt, 0, [&](Runtime& runtime, bool entering) {
        if (entering) {
          outcome.calls.push_back({snapshot(runtime), {}, false});
          failedBefore = control.failed;
        } else {
          outcome.calls.back().after = snapshot(runtime);
          outcome.calls.back().failedInside = control.failed > failedBefore;
        }
      });
  outcome.counted = faulted.counted;
  outcome.failed = faulted.failed;
  outcome.escaped = faulted.escaped;
  for (const StepRecord& step : faulted.steps) {
    if (step.frame == kCallFrame) outcome.boxes = step.messageBoxes;
  }
  return outcome;
}

bool reportsFailure(const Outcome& outcome) {
  for (const ShownMessageBox& box : outcome.boxes) {
    if (failureCaptions().contains(box.caption)) return true;
  }
  return false;
}

// How the call whose allocation failed left the record, when neither as before it nor as after it in
// the clean run (the first answer that differs from the clean run's); empty when it did.
std::string halfUpdate(const Call& failed, const Call& clean) {
  if (failed.after == failed.before || failed.after == clean.after) return {};
  for (size_t i = 0; i < failed.after.size(); ++i) {
    if (failed.after[i] == clean.after[i]) continue;
    return "expression " + std::to_string(kSnapshotCodes[i]) + " answers \"" + failed.after[i].substr(0, 60) +
           "\", before the call \"" + failed.before[i].substr(0, 60) + "\", after a successful call \"" +
           clean.after[i].substr(0, 60) + '"';
  }
  return "the read-only expressions answer differently";
}

std::string judge(const Outcome& failed, const Outcome& clean) {
  if (!failed.escaped.empty()) return "escaped the extension: " + failed.escaped;
  if (reportsFailure(failed)) return {};
  for (size_t i = 0; i < failed.calls.size() && i < clean.calls.size(); ++i) {
    if (!failed.calls[i].failedInside) continue;
    std::string half = halfUpdate(failed.calls[i], clean.calls[i]);
    if (!half.empty()) return "left the record half updated (call " + std::to_string(i + 1) + "): " + half;
  }
  return {};
}

// Fails each allocation of one check's call in turn.
void failEach(const Extension& extension, AllocationFaults& control, const SweepCheck& check,
              const std::filesystem::path& folder, RoutineAllocations& routine) {
  Scene scene = sweepScene(check, folder);
  Outcome clean = run(extension, control, scene, folder, 0);
  if (!clean.escaped.empty()) return;  // the hostile-input sweep reports a check that fails by itself
  for (uint64_t failAt = 1; failAt <= clean.counted; ++failAt) {
    Outcome failed = run(extension, control, scene, folder, failAt);
    routine.failed += failed.failed;
    for (const ShownMessageBox& box : failed.boxes) routine.boxes.insert(box.text);
    std::string finding = judge(failed, clean);
    if (!finding.empty())
      routine.findings.push_back({check.name + " allocation " + std::to_string(failAt), finding});
  }
}

bool leaked() {
#if defined(__SANITIZE_ADDRESS__)
  return __lsan_do_recoverable_leak_check() != 0;
#else
  return false;
#endif
}

std::string routineOf(const SweepCheck& check) {
  return check.name.substr(0, check.name.find('/'));
}

}  // namespace

FaultedRun runWithAllocationFault(const Extension& extension, AllocationFaults& control, const Scene& scene,
                                  uint64_t failAt, uint64_t failOver, const CallWatch& watch) {
  FaultedRun outcome;
  control = {0, failAt, 0, 0, 0};
  try {
    Runtime runtime(extension, scene);
    runtime.watchRoutines([&](const std::string& where, bool entering) {
      if (runtime.framesDone() != kCallFrame || !where.starts_with(kCallLine)) return;
      control.armed = 0;
      control.failOver = 0;
      if (watch) watch(runtime, entering);
      control.armed = entering ? 1 : 0;
      control.failOver = entering ? failOver : 0;
    });
    while (runtime.framesDone() < scene.frame.frames) outcome.steps.push_back(runtime.step());
  } catch (const std::exception& error) {
    outcome.escaped = error.what();
  }
  outcome.counted = control.counted;
  outcome.failed = control.failed;
  control = {};
  return outcome;
}

AllocationFaults* allocationFaults(const Extension& extension) {
  using Control = AllocationFaults* (*)();
  auto control = reinterpret_cast<Control>(extension.extraSymbol("NimboAllocationFaultControl"));
  return control ? control() : nullptr;
}

std::vector<RoutineAllocations> sweepAllocations(const Extension& extension,
                                                 const std::vector<SweepCheck>& checks,
                                                 const std::filesystem::path& folder) {
  AllocationFaults* control = allocationFaults(extension);
  if (!control) throw Error(extension.path().string() + " is not a test build: it cannot fail an allocation");
  std::vector<RoutineAllocations> routines;
  for (const SweepCheck& check : checks) {
    if (routines.empty() || routines.back().routine != routineOf(check)) {
      if (!routines.empty() && leaked())
        routines.back().findings.push_back({routines.back().routine, "leaked"});
      routines.push_back({routineOf(check), 0, 0, {}, {}});
    }
    ++routines.back().checks;
    failEach(extension, *control, check, folder, routines.back());
  }
  if (!routines.empty() && leaked()) routines.back().findings.push_back({routines.back().routine, "leaked"});
  std::filesystem::current_path(folder.parent_path());
  return routines;
}

int runAllocationSweep(const std::filesystem::path& library, const SweepOptions& options, std::ostream& out) {
  Extension extension(library);
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("nimbo-allocations-" + std::to_string(std::random_device()()));
  std::vector<RoutineAllocations> routines =
      sweepAllocations(extension, sweepChecks(extension, options), folder);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  uint64_t failed = 0;
  size_t findings = 0;
  for (const RoutineAllocations& routine : routines) {
    failed += routine.failed;
    findings += routine.findings.size();
    out << routine.routine << ": " << routine.checks << " checks, " << routine.failed
        << " allocations failed, "
        << (routine.findings.empty() ? "nothing found" : std::to_string(routine.findings.size()) + " found");
    for (const std::string& box : routine.boxes) out << "; box \"" << box << '"';
    out << '\n';
    for (const AllocationFinding& finding : routine.findings)
      out << "  " << finding.check << ": " << finding.detail << '\n';
  }
  out << routines.size() << " routines, " << failed << " allocations failed, " << findings << " found\n";
  return findings == 0 ? 0 : 1;
}

}  // namespace vohost
