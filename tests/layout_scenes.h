// Frames for the arrangement tests: object types built in code, one event line per frame step running
// NIMBO actions over their selections, and readers of where the objects ended up.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "record/rundata.h"
#include "vohost/simhost/desktop.h"
#include "vohost/simhost/runtime.h"
#include "vohost/utf.h"

namespace vohost {

struct Place {
  int32_t x, y;
  bool operator==(const Place&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Place& place) {
  return out << '(' << place.x << ", " << place.y << ')';
}

inline InstanceSettings sized(int32_t width, int32_t height, int32_t x = 0, int32_t y = 0) {
  InstanceSettings settings;
  settings.x = x;
  settings.y = y;
  settings.width = width;
  settings.height = height;
  settings.animationFrames = 20;
  return settings;
}

inline ObjectType activeType(const std::string& name, std::vector<InstanceSettings> instances) {
  return {name, VO_KIND_ACTIVE, std::move(instances)};
}

inline ObjectType activeType(const std::string& name, int count, InstanceSettings settings = sized(32, 32)) {
  return activeType(name, std::vector<InstanceSettings>(count, settings));
}

inline Action nimboAction(int code, std::vector<Parameter> params) {
  return Action(std::in_place_type<ExtensionAction>, ExtensionAction{0, code, std::move(params)});
}

inline Parameter text(const std::string& utf8) {
  return fromUtf8(utf8);
}

inline ObjectSelection all(const std::string& type) {
  return {type, {}};
}

class LayoutFrame : public ::testing::Test {
 protected:
  Extension extension{NIMBO_EXTENSION_PATH};
  std::unique_ptr<Runtime> runtime;

  void SetUp() override { takeMessageBoxes(); }

  // Frame step k runs the actions of steps[k]; the instance's pop-up setting is on unless told.
  void start(std::vector<ObjectType> objects, std::vector<std::vector<Action>> steps,
             EditOverrides nimbo = {1, {}, {}}) {
    runtime.reset();
    Scene scene;
    scene.objects = std::move(objects);
    scene.nimbo = {std::move(nimbo)};
    for (size_t k = 0; k < steps.size(); ++k) {
      HostCondition atStep{HostConditionKind::frame, static_cast<int32_t>(k), Comparison::equal, {}};
      scene.events.push_back({{Condition(atStep)}, std::move(steps[k])});
    }
    runtime = std::make_unique<Runtime>(extension, std::move(scene));
  }

  // One type, one action, one step.
  StepRecord arrange(ObjectType type, int code, std::vector<Parameter> params,
                     EditOverrides nimbo = {1, {}, {}}) {
    start({std::move(type)}, {{nimboAction(code, std::move(params))}}, std::move(nimbo));
    return runtime->step();
  }

  nimbo::RUNDATA& rd() const { return *nimbo::runData(runtime->nimboRecord(0)); }

  // The record of object `number` (scene order: the instances of the first type, then the next ...).
  const voObject& objectRecord(int number) const {
    return *reinterpret_cast<const voObject*>(runtime->runHeader()->rhObjectList[number]);
  }
};

inline std::vector<const ObjectState*> objectsOf(const StepRecord& record, const std::string& type) {
  std::vector<const ObjectState*> states;
  for (const ObjectState& state : record.objects) {
    if (state.type == type) states.push_back(&state);
  }
  return states;
}

inline std::vector<Place> places(const StepRecord& record, const std::string& type) {
  std::vector<Place> result;
  for (const ObjectState* state : objectsOf(record, type)) result.push_back({state->x, state->y});
  return result;
}

inline std::vector<int32_t> forcedFrames(const StepRecord& record, const std::string& type) {
  std::vector<int32_t> result;
  for (const ObjectState* state : objectsOf(record, type)) result.push_back(state->forcedFrame);
  return result;
}

inline std::vector<int32_t> valuesA(const StepRecord& record, const std::string& type) {
  std::vector<int32_t> result;
  for (const ObjectState* state : objectsOf(record, type)) result.push_back(state->values[0]);
  return result;
}

inline std::vector<int32_t> directions(const StepRecord& record, const std::string& type) {
  std::vector<int32_t> result;
  for (const ObjectState* state : objectsOf(record, type)) result.push_back(state->direction);
  return result;
}

// The host services called about objects, as "service instance" in call order.
inline std::vector<std::string> serviceCalls(const StepRecord& record) {
  std::vector<std::string> calls;
  for (const ServiceCall& call : record.calls)
    calls.push_back(call.service + " " + std::to_string(call.instance));
  return calls;
}

}  // namespace vohost
