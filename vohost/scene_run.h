// Running a whole scene: the frame steps one after the other, each step's record handed on as it ends.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vohost/extension.h"
#include "vohost/scene.h"
#include "vohost/trace.h"

namespace vohost {

// Runs `frames` steps, or the scene's own count when `frames` is negative.
void runScene(const Extension& extension, const Scene& scene, int frames,
              const std::function<void(const StepRecord&)>& sink);

// The trace lines of a run, one per step.
std::vector<std::string> traceScene(const Extension& extension, const Scene& scene, int frames = -1);

}  // namespace vohost
