// Running a whole scene: the frame steps one after the other, each step's record handed on as it ends.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "vohost/loader/extension.h"
#include "vohost/scenes/scene.h"
#include "vohost/scenes/trace.h"

namespace vohost {

class Runtime;

// Runs `frames` steps, or the scene's own count when `frames` is negative. `start`, when given, sees the
// frame as created, before the first step.
void runScene(const Extension& extension, const Scene& scene, int frames,
              const std::function<void(const StepRecord&)>& sink,
              const std::function<void(Runtime&)>& start = {});

// The trace lines of a run, one per step.
std::vector<std::string> traceScene(const Extension& extension, const Scene& scene, int frames = -1);

// DIR/NAME.jsonl for the scene NAME.json: where a run of several scenes writes each trace.
std::filesystem::path traceFileIn(const std::filesystem::path& dir, const std::filesystem::path& scene);

// The same file under two names: a link, a relative path, another spelling of the same folders.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Throws an Error naming the file when an output is one of the scenes, the extension or another output,
// under any name (a link, another path to it): a mistyped command line must not overwrite an input, nor
// two scenes share a trace.
void refuseOutputClashes(const std::vector<std::string>& scenes, const std::vector<std::string>& outputs,
                         const std::string& library = "");

}  // namespace vohost
