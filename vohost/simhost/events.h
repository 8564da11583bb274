// The event list as the host runs it: a pass over the lines each frame step, raised lines evaluated at
// once, action loops over selected instances, parameters and expressions evaluated the way the host does.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "host/exports.h"
#include "vohost/loader/catalog_reader.h"
#include "vohost/scenes/scene.h"
#include "vohost/scenes/trace.h"
#include "vohost/simhost/objects.h"
#include "vohost/simhost/services.h"

namespace vohost {

using HostValue = std::variant<int32_t, nimbo::Text>;

class EventRunner {
 public:
  // `record` receives the raised conditions, the logged values and the lines run of the step.
  EventRunner(const Scene& scene, const Declarations& declarations, const voRunInfo& runInfo,
              ObjectStore& objects, Services& services, StepRecord& record);
  EventRunner(const EventRunner&) = delete;
  EventRunner& operator=(const EventRunner&) = delete;

  // The lines not headed by a raised condition, for frame step `frame`.
  void runPass(int frame);
  // The lines headed by condition `code` of NIMBO instance `nimbo`, at once.
  void raise(int nimbo, int code);
  HostValue callExpression(const ExpressionCall& call, const std::string& where);

 private:
  void evaluateLine(size_t index);
  bool headedByRaised(const EventLine& line) const;
  bool test(const Condition& condition, const std::string& where);
  bool testHost(const HostCondition& condition, const std::string& where);
  bool testExtension(const ExtensionCondition& condition, const std::string& where);
  void run(const Action& action, const std::string& where);
  void runHost(const HostAction& action, const std::string& where);
  void log(const HostAction& action, const std::string& where);
  void runExtension(const ExtensionAction& action, const std::string& where);
  int loopParameter(const ExtensionAction& action, const std::string& where) const;
  void setActionLoop(voObjInfo* info, const std::vector<int>& served, size_t index);
  std::vector<Argument> arguments(const std::vector<Parameter>& params, int loopParameter, int servedObject,
                                  const std::string& where);
  voValue objectArgument(const ObjectSelection& selection, bool served, int servedObject) const;
  HostValue evaluate(const Parameter& param, const std::string& where);

  const Scene& scene_;
  const Declarations& declarations_;
  const voRunInfo& runInfo_;
  ObjectStore& objects_;
  Services& services_;
  StepRecord& record_;
  int frame_ = 0;
};

}  // namespace vohost
