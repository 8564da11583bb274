// The allocation-failure sweep: every check of the hostile-input sweep run again with each allocation
// its routine makes failing in turn, on a test build of the extension that can fail a chosen allocation.
// Nothing may come out of the extension, nothing may leak, and the call whose allocation failed leaves
// the record as that call succeeding or not made at all would (read back through the read-only
// expressions just before and after it), unless it shows the box its routine gives for a failure.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "vohost/checks/sweep.h"
#include "vohost/loader/extension.h"
#include "vohost/scenes/trace.h"
#include "vohost/simhost/runtime.h"

namespace vohost {

// The extension's control block, as a test build exports it through NimboAllocationFaultControl.
struct AllocationFaults {
  int32_t armed;      // 1: allocations are counted, and the failAt-th one counted fails
  uint64_t failAt;    // 1-based; 0 fails none by count
  uint64_t failOver;  // an allocation of more bytes fails, armed or not; 0 fails none by size
  uint64_t counted;   // allocations counted while armed
  uint64_t failed;    // allocations failed
};

// The control block of a test build; null for a build without the hook (every release build).
AllocationFaults* allocationFaults(const Extension& extension);

// A run of a sweep-shaped scene (setup on event line 1, the call on event line 2 at step 1) in which the
// call's allocations are counted, and the `failAt`-th and every one over `failOver` bytes fail.
struct FaultedRun {
  std::vector<StepRecord> steps;
  uint64_t counted = 0;
  uint64_t failed = 0;
  std::string escaped;  // what came out of the extension
};
// Told just before and just after each call of the line (an action runs once per selected object), with
// allocations neither counted nor failed while it looks.
using CallWatch = std::function<void(Runtime& runtime, bool entering)>;
FaultedRun runWithAllocationFault(const Extension& extension, AllocationFaults& control, const Scene& scene,
                                  uint64_t failAt, uint64_t failOver = 0, const CallWatch& watch = {});

struct AllocationFinding {
  std::string check;
  std::string detail;
};

// What failing each allocation of one routine's checks found.
struct RoutineAllocations {
  std::string routine;  // "action12"
  int checks = 0;
  uint64_t failed = 0;          // allocations failed, over all its checks
  std::set<std::string> boxes;  // texts of the boxes those failures showed
  std::vector<AllocationFinding> findings;
};

// Runs `checks` in this process, in `folder`; throws Error when the extension has no hook.
std::vector<RoutineAllocations> sweepAllocations(const Extension& extension,
                                                 const std::vector<SweepCheck>& checks,
                                                 const std::filesystem::path& folder);

// A line per routine, then the totals; 0 when nothing was found.
int runAllocationSweep(const std::filesystem::path& library, const SweepOptions& options, std::ostream& out);

}  // namespace vohost
