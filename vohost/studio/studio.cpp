// The studio page's entry into the module: a scene run to its trace lines or to the replay page's data,
// and the catalog as JSON, through the same code as `vohost run SCENE --frames N [--html]` and
// `vohost catalog --json`.
#include <emscripten/bind.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <exception>
#include <optional>
#include <string>

#include "vohost/checks/catalog_print.h"
#include "vohost/error.h"
#include "vohost/replay/replay_page.h"
#include "vohost/simhost/runtime.h"
#include "vohost/simhost/scene_run.h"

namespace vohost {

namespace {

using emscripten::val;

// The extension linked into this module; its exports are resolved once.
const Extension& linkedExtension() {
  static const Extension extension(defaultExtensionPath());
  return extension;
}

// The scene's own count for undefined or null, else a whole number of steps as --frames takes it.
int frameSteps(const val& frames) {
  if (frames.isUndefined() || frames.isNull()) return -1;
  double steps = frames.isNumber() ? frames.as<double>() : -1;
  if (steps >= 0 && steps <= INT_MAX && std::floor(steps) == steps) return static_cast<int>(steps);
  throw Error("'" + frames.call<std::string>("toString") +
              "' is not a number of frame steps: give a whole number from 0 to " + std::to_string(INT_MAX));
}

// {trace: [a JSON line per step], error: null or vohost's message}. The lines of the steps that ran
// before an error are kept, as the command line prints them before it stops.
val runSceneForPage(const std::string& sceneJson, const val& frames) {
  val trace = val::array();
  val result = val::object();
  result.set("trace", trace);
  result.set("error", val::null());
  try {
    int steps = frameSteps(frames);
    Scene scene = parseScene(sceneJson);
    runScene(linkedExtension(), scene, steps,
             [&](const StepRecord& record) { trace.call<void>("push", traceLine(record)); });
  } catch (const std::exception& error) {
    result.set("error", std::string(error.what()));
  }
  return result;
}

// Reading the controllers' listings costs most of a run with many controlled objects, so a run reads
// about this many listed entries: after every step while that holds, else after every few steps (the
// last one always); between two readings the page shows the last one.
constexpr int64_t kListedEntriesPerRun = 10000;

class ListingSchedule {
 public:
  explicit ListingSchedule(int steps) : steps_(steps) {}

  // Whether the step after `record` is to be read, from the size of the last listings read.
  bool readNext(const StepRecord& record) {
    if (!record.listings.empty()) {
      int64_t entries = 0;
      for (const std::string& listing : record.listings)
        entries += std::count(listing.begin(), listing.end(), '\n');
      stride_ = std::max<int64_t>(1, entries * steps_ / kListedEntriesPerRun);
      lastRead_ = record.frame;
    }
    int next = record.frame + 1;
    return next + 1 == steps_ || next - lastRead_ >= stride_;
  }

 private:
  int64_t steps_, stride_ = 1;
  int lastRead_ = -1;
};

// A run holds the page's thread to its end: past this it stops with the steps it has, so no scene
// freezes the page (a regex at its work bound takes tens of milliseconds, and a scene may evaluate one
// in every line of every step).
constexpr std::chrono::milliseconds kLongestRun{3000};

using Clock = std::chrono::steady_clock;

void stopLongRun(Clock::time_point began, int frame) {
  if (Clock::now() - began <= kLongestRun) return;
  throw Error("the run was stopped after step " + std::to_string(frame) + ": a run in the studio takes " +
              std::to_string(kLongestRun.count() / 1000) + " s at most (fewer steps run sooner)");
}

// {data: the replay page's data as JSON or null, error: null or vohost's message} of the scene run for
// `frames` steps by `run(scene, steps, page, began)`, which fills the page. The steps before an error
// are in the data.
template <class Run>
val pageDataOf(const std::string& sceneJson, const val& frames, Run run) {
  val result = val::object();
  result.set("data", val::null());
  result.set("error", val::null());
  std::optional<ReplayPage> page;
  auto began = Clock::now();
  try {
    int steps = frameSteps(frames);
    run(parseScene(sceneJson), steps, page, began);
  } catch (const std::exception& error) {
    result.set("error", std::string(error.what()));
  }
  if (page) result.set("data", page->dataJson());
  return result;
}

// The page's way out of a run, a few characters per moving value where the trace spends a JSON object
// per object and step. With `listings`, the controllers' walls and orbits are read as --html reads them,
// on the schedule above. A run stops after kLongestRun.
val replaySceneForPage(const std::string& sceneJson, const val& frames, bool listings) {
  return pageDataOf(
      sceneJson, frames,
      [&](const Scene& scene, int steps, std::optional<ReplayPage>& page, Clock::time_point began) {
        ListingSchedule schedule(steps < 0 ? scene.frame.frames : steps);
        Runtime* running = nullptr;
        auto start = [&](Runtime& runtime) {
          running = &runtime;
          runtime.collectServiceCalls(false);
          runtime.listControllers(listings);
          StepRecord created = runtime.created();
          page.emplace(scene, "studio", created, runtime.objectAddresses());
          runtime.listControllers(listings && schedule.readNext(created));
        };
        auto sink = [&](const StepRecord& record) {
          page->add(record);
          stopLongRun(began, record.frame);
          running->listControllers(listings && schedule.readNext(record));
        };
        runScene(linkedExtension(), scene, steps, sink, start);
      });
}

constexpr int kCreatedFrame = -1;  // the frame number of the frame as created in a run's records

// The data of the frame after `frames` steps alone: a run of no steps whose frame as created is that
// step, its walls and orbits read with `listings`. The page draws it at once after an edit, while the
// whole run, with every step noted, is still to come: noting the steps costs about as much as running
// them. The calls are those of the whole run up to that step.
val replayStepForPage(const std::string& sceneJson, const val& frames, bool listings) {
  return pageDataOf(
      sceneJson, frames,
      [&](const Scene& scene, int steps, std::optional<ReplayPage>& page, Clock::time_point began) {
        Runtime* running = nullptr;
        std::vector<uintptr_t> addresses;
        auto shown = [&](StepRecord record) {
          record.frame = kCreatedFrame;
          page.emplace(scene, "studio", record, addresses);
        };
        // Only the record of the step shown carries the objects and listings.
        auto readNext = [&](Runtime& runtime, bool shownNext) {
          runtime.listControllers(listings && shownNext);
          runtime.recordObjects(shownNext);
        };
        auto start = [&](Runtime& runtime) {
          running = &runtime;
          runtime.collectServiceCalls(false);
          runtime.listControllers(listings && steps == 0);
          addresses = runtime.objectAddresses();
          StepRecord created = runtime.created();
          if (steps == 0) shown(std::move(created));
          readNext(runtime, steps == 1);
        };
        auto sink = [&](const StepRecord& record) {
          if (record.frame + 1 == steps) shown(record);
          stopLongRun(began, record.frame);
          readNext(*running, record.frame + 2 == steps);
        };
        runScene(linkedExtension(), scene, steps, sink, start);
      });
}

std::string catalogForPage() {
  return catalogJson(linkedExtension());
}

}  // namespace

}  // namespace vohost

EMSCRIPTEN_BINDINGS(nimbo_studio) {
  emscripten::function("runScene", &vohost::runSceneForPage);
  emscripten::function("replayScene", &vohost::replaySceneForPage);
  emscripten::function("replayStep", &vohost::replayStepForPage);
  emscripten::function("catalog", &vohost::catalogForPage);
}
