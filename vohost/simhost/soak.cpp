// A scene stepped far past its own frame count, its memory read at checkpoints and held to the
// reading at the end of the warm-up.
#include "vohost/simhost/soak.h"

#include <algorithm>

#include "vohost/simhost/runtime.h"

namespace vohost {

namespace {

constexpr int kFirstDecade = 10000;
// The heap's count is exact, but a run may still hold a few more strings of a longer logged value.
constexpr uint64_t kHeapSlack = 64 * 1024;
// The resident size moves by pages, and the allocator keeps freed pages for a while.
constexpr uint64_t kResidentSlack = 2 * 1024 * 1024;

std::string grewBy(const char* what, uint64_t from, uint64_t to, int fromStep, int toStep) {
  std::string change =
      to >= from ? "grew by " + std::to_string(to - from) : "shrank by " + std::to_string(from - to);
  return std::string(what) + " " + change + " bytes from step " + std::to_string(fromStep) + " to step " +
         std::to_string(toStep);
}

// The heap's count decides where there is one: under the sanitizers freed blocks wait in a quarantine
// of up to 256 MB, so the resident size grows there without a leak.
void judge(SoakResult& result, const SoakPoint& warm, const SoakPoint& last) {
  if (warm.memory.allocated && last.memory.allocated) {
    uint64_t from = *warm.memory.allocated, to = *last.memory.allocated;
    result.held = to <= from + kHeapSlack;
    result.verdict = grewBy("the heap", from, to, warm.step, last.step);
    return;
  }
  result.held = last.memory.resident <= warm.memory.resident + kResidentSlack;
  result.verdict =
      grewBy("the resident size", warm.memory.resident, last.memory.resident, warm.step, last.step);
}

int warmUpStep(const SoakOptions& options) {
  return std::clamp(options.warmUp, 1, std::max(1, options.steps / 2));
}

}  // namespace

std::vector<int> soakCheckpoints(const SoakOptions& options) {
  std::vector<int> points{warmUpStep(options)};
  for (int step = kFirstDecade; step < options.steps && step > 0; step *= 10) points.push_back(step);
  points.push_back(options.steps);
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

SoakResult soakScene(const Extension& extension, const Scene& scene, const SoakOptions& options,
                     const std::function<void(const SoakPoint&)>& report) {
  std::vector<int> checkpoints = soakCheckpoints(options);
  int warmUp = warmUpStep(options);
  SoakResult result;
  Runtime runtime(extension, scene);
  size_t next = 0;
  for (int step = 1; step <= options.steps; ++step) {
    runtime.step();
    if (next == checkpoints.size() || step != checkpoints[next]) continue;
    ++next;
    result.points.push_back({step, memoryUse()});
    report(result.points.back());
  }
  auto warm = std::find_if(result.points.begin(), result.points.end(),
                           [&](const SoakPoint& point) { return point.step == warmUp; });
  if (warm != result.points.end()) judge(result, *warm, result.points.back());
  return result;
}

}  // namespace vohost
