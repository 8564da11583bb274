// The allocation-failure sweep. A routine's allocations are counted only while the host is inside the
// call of the check's line, so a failure lands in the routine itself, not in the setup or the frame step.
#include "vohost/checks/allocation_sweep.h"

#include <memory>
#include <random>

#include "vohost/error.h"
#include "vohost/simhost/runtime.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace vohost {

namespace {

constexpr int kCallFrame = 1;
constexpr char kCallLine[] = "event line 2,";
constexpr char kSnapshot[] = "snapshot";

// The read-only expressions that show the record: TEXT, listing counts, match count, history, controller
// counts. The controller listing (14) is left out: it shows the objects' addresses, new in every run.
constexpr int kSnapshotCodes[] = {0, 2, 3, 7, 9, 10, 12, 13};

// The boxes of the routines that leave the TEXT absent when their allocation fails.
const std::set<std::string>& textDroppingBoxes() {
  static const std::set<std::string> boxes = {"ERROR CODE #ST407", "ERROR CODE #TSFT957"};
  return boxes;
}

struct Outcome {
  uint64_t counted = 0;
  uint64_t failed = 0;
  std::vector<std::string> snapshot;  // the read-only expressions after the last step
  std::vector<std::string> boxes;     // texts of the boxes shown on the call's step
  std::string escaped;                // what came out of the extension
};

std::string shown(const TraceValue& value) {
  if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
  return std::get<std::string>(value);
}

// The check's scene with the snapshot on its last step; without the call when `call` is false.
Scene snapshotScene(const SweepCheck& check, const std::filesystem::path& folder, bool call) {
  Scene scene = sweepScene(check, folder);
  if (!call)
    scene.events[1] = EventLine{{HostCondition{HostConditionKind::frame, -1, Comparison::equal, {}}}, {}};
  EventLine line{{HostCondition{HostConditionKind::frame, scene.frame.frames - 1, Comparison::equal, {}}},
                 {}};
  for (int code : kSnapshotCodes) {
    auto expression = std::make_shared<const ExpressionCall>(ExpressionCall{0, code, {}});
    line.actions.push_back(HostAction{HostActionKind::log, kSnapshot, {expression}});
  }
  scene.events.push_back(std::move(line));
  return scene;
}

void collect(const StepRecord& record, Outcome& outcome) {
  if (record.frame == kCallFrame) {
    for (const ShownMessageBox& box : record.messageBoxes) outcome.boxes.push_back(box.text);
  }
  for (const LogEntry& entry : record.log) {
    if (entry.name == kSnapshot) outcome.snapshot.push_back(shown(entry.value));
  }
}

Outcome run(const Extension& extension, AllocationFaults& control, const Scene& scene,
            const std::filesystem::path& folder, uint64_t failAt) {
  std::filesystem::current_path(folder.parent_path());
  prepareSweepFolder(folder);
  std::filesystem::current_path(folder);
  FaultedRun faulted = runWithAllocationFault(extension, control, scene, failAt);
  Outcome outcome{faulted.counted, faulted.failed, {}, {}, faulted.escaped};
  for (const StepRecord& step : faulted.steps) collect(step, outcome);
  return outcome;
}

// The first read-only expression whose answer is neither the one after a successful call nor after none.
std::string firstDifference(const Outcome& failed, const Outcome& clean, const Outcome& untouched) {
  for (size_t i = 0; i < failed.snapshot.size() && i < clean.snapshot.size(); ++i) {
    if (failed.snapshot[i] == clean.snapshot[i]) continue;
    return "expression " + std::to_string(kSnapshotCodes[i]) + " answers \"" +
           failed.snapshot[i].substr(0, 60) + "\", after a successful call \"" +
           clean.snapshot[i].substr(0, 60) + "\", after none \"" +
           (i < untouched.snapshot.size() ? untouched.snapshot[i].substr(0, 60) : "") + '"';
  }
  return "the read-only expressions answer differently";
}

bool showsTextDroppingBox(const Outcome& outcome) {
  for (const std::string& box : outcome.boxes) {
    if (textDroppingBoxes().contains(box)) return true;
  }
  return false;
}

// Fails each allocation of one check's call in turn.
void failEach(const Extension& extension, AllocationFaults& control, const SweepCheck& check,
              const std::filesystem::path& folder, RoutineAllocations& routine) {
  Scene scene = snapshotScene(check, folder, true);
  Outcome clean = run(extension, control, scene, folder, 0);
  if (!clean.escaped.empty()) return;  // the hostile-input sweep reports a check that fails by itself
  Outcome untouched = run(extension, control, snapshotScene(check, folder, false), folder, 0);
  for (uint64_t failAt = 1; failAt <= clean.counted; ++failAt) {
    Outcome failed = run(extension, control, scene, folder, failAt);
    routine.failed += failed.failed;
    routine.boxes.insert(failed.boxes.begin(), failed.boxes.end());
    std::string at = check.name + " allocation " + std::to_string(failAt);
    if (!failed.escaped.empty()) {
      routine.findings.push_back({at, "escaped the extension: " + failed.escaped});
    } else if (failed.snapshot != clean.snapshot && failed.snapshot != untouched.snapshot &&
               !showsTextDroppingBox(failed)) {
      routine.findings.push_back(
          {at, "left the record half updated: " + firstDifference(failed, clean, untouched)});
    }
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
                                  uint64_t failAt, uint64_t failOver) {
  FaultedRun outcome;
  control = {0, failAt, 0, 0, 0};
  try {
    Runtime runtime(extension, scene);
    runtime.watchRoutines([&](const std::string& where, bool entering) {
      if (runtime.framesDone() != kCallFrame || !where.starts_with(kCallLine)) return;
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
