// A long run of a scene without its trace: the memory it holds, read at a few steps, must not grow
// once the run has warmed up (caches filled, lists at their working size).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vohost/loader/extension.h"
#include "vohost/scenes/scene.h"
#include "vohost/simhost/process_memory.h"

namespace vohost {

struct SoakOptions {
  int steps = 1000000;
  int warmUp = 10000;  // the step whose memory the end is held to; at most half the steps
};

struct SoakPoint {
  int step = 0;  // steps done
  MemoryUse memory;
};

struct SoakResult {
  std::vector<SoakPoint> points;
  bool held = true;
  std::string verdict;  // what grew, or that nothing did, in words
};

// The steps at which memory is read: the warm-up's end, every power of ten from 10 000, the last.
std::vector<int> soakCheckpoints(const SoakOptions& options);

// Runs the scene for options.steps steps (its own frame count aside), reading memory at each
// checkpoint and handing the reading on as it is taken.
SoakResult soakScene(const Extension& extension, const Scene& scene, const SoakOptions& options,
                     const std::function<void(const SoakPoint&)>& report);

}  // namespace vohost
