// A frame for motion-controller tests: scenes written as JSON, stepped through the host runtime, with
// the objects' states from the trace and the registry read from the runtime record.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

#include "record/rundata.h"
#include "vohost/simhost/runtime.h"

namespace vohost {

// A 640 x 480 frame with these object types and event lines and one NIMBO instance.
inline std::string motionScene(const std::string& objects, const std::string& events, int popup = 1) {
  return R"({"frame":{"width":640,"height":480},"objects":[)" + objects + R"(],"nimbo":[{"popup":)" +
         std::to_string(popup) + R"(}],"events":[)" + events + "]}";
}

// A type of active objects: `instances` as JSON objects.
inline std::string objectType(const std::string& name, const std::string& instances) {
  return R"({"name":")" + name + R"(","instances":[)" + instances + "]}";
}

// A line whose actions run on frame step `frame` only.
inline std::string atFrame(int frame, const std::string& actions) {
  return R"({"conditions":[{"host":"frame","frame":)" + std::to_string(frame) + R"(}],"actions":[)" +
         actions + "]}";
}

inline std::string action(int code, const std::string& params) {
  return R"({"action":)" + std::to_string(code) + R"(,"params":[)" + params + "]}";
}

inline std::string objects(const std::string& type) {
  return R"({"object":")" + type + R"("})";
}

inline std::string instance(const std::string& type, int index) {
  return R"({"object":")" + type + R"(","instances":[)" + std::to_string(index) + "]}";
}

class MotionFrame : public ::testing::Test {
 protected:
  Extension extension{NIMBO_EXTENSION_PATH};
  std::unique_ptr<Runtime> runtime;
  StepRecord last;

  void start(const std::string& json) { runtime = std::make_unique<Runtime>(extension, parseScene(json)); }

  const StepRecord& step() {
    last = runtime->step();
    return last;
  }

  nimbo::RUNDATA& record() { return *nimbo::runData(runtime->nimboRecord(0)); }
  nimbo::motion::ControlEntry& entry(size_t index) { return record().controlList.at(index); }

  // The object's state after the last step.
  const ObjectState& object(const std::string& type, int index = 0) const {
    auto found = std::find_if(last.objects.begin(), last.objects.end(), [&](const ObjectState& state) {
      return state.type == type && state.instance == index;
    });
    if (found == last.objects.end()) throw std::runtime_error("no object " + type);
    return *found;
  }

  int calls(const std::string& service, const std::string& type, int index = 0) const {
    return static_cast<int>(std::count_if(last.calls.begin(), last.calls.end(), [&](const ServiceCall& call) {
      return call.service == service && call.type == type && call.instance == index;
    }));
  }
};

inline constexpr int kValueA = 0, kValueB = 1, kValueC = 2, kValueD = 3, kValueE = 4;

}  // namespace vohost
