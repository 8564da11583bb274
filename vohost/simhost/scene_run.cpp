// A scene run from the first step to the last; the frame ends (DestroyRunObject) when the run does.
// Where a run of several scenes puts their traces.
#include "vohost/simhost/scene_run.h"

#include "vohost/error.h"
#include "vohost/simhost/runtime.h"

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

std::filesystem::path traceFileIn(const std::filesystem::path& dir, const std::filesystem::path& scene) {
  return dir / scene.stem().concat(".jsonl");
}

void refuseOutputClashes(const std::vector<std::string>& scenes, const std::vector<std::string>& outputs) {
  auto same = [](const std::string& a, const std::string& b) {
    return std::filesystem::weakly_canonical(a) == std::filesystem::weakly_canonical(b);
  };
  for (size_t i = 0; i < outputs.size(); ++i) {
    for (const std::string& scene : scenes) {
      if (same(outputs[i], scene)) throw Error("the output " + outputs[i] + " is the scene " + scene);
    }
    for (size_t j = 0; j < i; ++j) {
      if (same(outputs[i], outputs[j])) throw Error("two outputs would be the same file " + outputs[i]);
    }
  }
}

}  // namespace vohost
