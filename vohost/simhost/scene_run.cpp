// A scene run from the first step to the last; the frame ends (DestroyRunObject) when the run does.
// Where a run of several scenes puts their traces.
#include "vohost/simhost/scene_run.h"

#include "vohost/error.h"
#include "vohost/simhost/runtime.h"

namespace vohost {

void runScene(const Extension& extension, const Scene& scene, int frames,
              const std::function<void(const StepRecord&)>& sink,
              const std::function<void(Runtime&)>& start) {
  Runtime runtime(extension, scene);
  if (start) start(runtime);
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

// A file that does not exist yet can only be the same as another by its resolved path.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  return std::filesystem::weakly_canonical(a) == std::filesystem::weakly_canonical(b);
}

void refuseOutputClashes(const std::vector<std::string>& scenes, const std::vector<std::string>& outputs,
                         const std::string& library) {
  for (size_t i = 0; i < outputs.size(); ++i) {
    for (const std::string& scene : scenes) {
      if (sameFile(outputs[i], scene)) throw Error("the output " + outputs[i] + " is the scene " + scene);
    }
    if (!library.empty() && sameFile(outputs[i], library)) {
      throw Error("the output " + outputs[i] + " is the extension " + library);
    }
    for (size_t j = 0; j < i; ++j) {
      if (sameFile(outputs[i], outputs[j])) throw Error("two outputs would be the same file " + outputs[i]);
    }
  }
}

}  // namespace vohost
