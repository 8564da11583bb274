// A scene run from the first step to the last; the frame ends (DestroyRunObject) when the run does.
#include "vohost/scene_run.h"

#include "vohost/runtime.h"

namespace vohost {

void runScene(const Extension& extension, const Scene& scene, int frames,
              const std::function<void(const StepRecord&)>& sink) {
  Runtime runtime(extension, scene);
  int steps = frames < 0 ? scene.frame.frames : frames;
  for (int i = 0; i < steps; ++i) sink(runtime.step());
}

std::vector<std::string> traceScene(const Extension& extension, const Scene& scene, int frames) {
  std::vector<std::string> lines;
  runScene(extension, scene, frames, [&](const StepRecord& record) { lines.push_back(traceLine(record)); });
  return lines;
}

}  // namespace vohost
