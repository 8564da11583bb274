// The pass over the event list, the lines a raised condition heads, conditions and extension actions.
#include "vohost/simhost/events.h"

#include <algorithm>

#include "vohost/error.h"

namespace vohost {

namespace {

template <class T>
bool compare(const T& left, Comparison comparison, const T& right) {
  switch (comparison) {
    case Comparison::equal:
      return left == right;
    case Comparison::different:
      return left != right;
    case Comparison::lower:
      return left < right;
    case Comparison::greater:
      return left > right;
    case Comparison::lowerOrEqual:
      return left <= right;
    case Comparison::greaterOrEqual:
      return left >= right;
  }
  return false;
}

std::string lineName(size_t index) {
  return "event line " + std::to_string(index + 1);
}

}  // namespace

EventRunner::EventRunner(const Scene& scene, const Declarations& declarations, const voRunInfo& runInfo,
                         ObjectStore& objects, Services& services, StepRecord& record)
    : scene_(scene),
      declarations_(declarations),
      runInfo_(runInfo),
      objects_(objects),
      services_(services),
      record_(record) {}

bool EventRunner::headedByRaised(const EventLine& line) const {
  if (line.conditions.empty()) return false;
  const auto* head = std::get_if<ExtensionCondition>(&line.conditions.front());
  return head && !(declarations_.at(CatalogKind::condition, head->code, "").flags & VO_CONDITION_EVERY_PASS);
}

void EventRunner::runPass(int frame) {
  frame_ = frame;
  for (size_t i = 0; i < scene_.events.size(); ++i) {
    if (!headedByRaised(scene_.events[i])) evaluateLine(i);
  }
}

void EventRunner::raise(int nimbo, int code) {
  record_.raised.push_back({nimbo, code});
  for (size_t i = 0; i < scene_.events.size(); ++i) {
    const EventLine& line = scene_.events[i];
    if (!headedByRaised(line)) continue;
    const auto& head = std::get<ExtensionCondition>(line.conditions.front());
    if (head.nimbo == nimbo && head.code == code) evaluateLine(i);
  }
}

void EventRunner::evaluateLine(size_t index) {
  const EventLine& line = scene_.events[index];
  std::string where = lineName(index);
  for (size_t i = 0; i < line.conditions.size(); ++i) {
    if (!test(line.conditions[i], where + ", condition " + std::to_string(i + 1))) return;
  }
  record_.linesRun.push_back(static_cast<int>(index));
  for (size_t i = 0; i < line.actions.size(); ++i)
    run(line.actions[i], where + ", action " + std::to_string(i + 1));
}

bool EventRunner::test(const Condition& condition, const std::string& where) {
  if (const auto* host = std::get_if<HostCondition>(&condition)) return testHost(*host, where);
  return testExtension(std::get<ExtensionCondition>(condition), where);
}

bool EventRunner::testHost(const HostCondition& condition, const std::string& where) {
  switch (condition.kind) {
    case HostConditionKind::startOfFrame:
      return frame_ == 0;
    case HostConditionKind::everyFrame:
      return true;
    case HostConditionKind::frame:
      return frame_ == condition.frame;
    case HostConditionKind::compare:
      break;
  }
  HostValue left = evaluate(condition.operands[0], where + ".left");
  HostValue right = evaluate(condition.operands[1], where + ".right");
  if (left.index() != right.index()) throw Error(where + ": cannot compare a number with a text");
  if (const auto* number = std::get_if<int32_t>(&left)) {
    return compare(*number, condition.comparison, std::get<int32_t>(right));
  }
  return compare(std::get<nimbo::Text>(left), condition.comparison, std::get<nimbo::Text>(right));
}

bool EventRunner::testExtension(const ExtensionCondition& condition, const std::string& where) {
  voHeader* self = objects_.nimboRecord(condition.nimbo);
  auto routine = static_cast<const voConditionRoutine*>(runInfo_.conditions)[condition.code];
  std::vector<Argument> args = arguments(condition.params, -1, -1, where);
  return services_.withArguments(std::move(args), where, [&](voValue first, voValue second) {
    return routine(self, first, second);
  }) != 0;
}

void EventRunner::run(const Action& action, const std::string& where) {
  if (const auto* host = std::get_if<HostAction>(&action)) {
    runHost(*host, where);
  } else {
    runExtension(std::get<ExtensionAction>(action), where);
  }
}

// The first object parameter, whose selected instances the action loops over; -1 when there is none.
int EventRunner::loopParameter(const ExtensionAction& action, const std::string& where) const {
  const std::vector<int>& kinds = declarations_.at(CatalogKind::action, action.code, where).parameterKinds;
  auto objectKind = std::find(kinds.begin(), kinds.end(), VO_PARAM_OBJECT);
  return objectKind == kinds.end() ? -1 : static_cast<int>(objectKind - kinds.begin());
}

// The loop index and the loop-again flag in the run header, and the served instance in its type's
// entry; past the last instance, all of it back to rest.
void EventRunner::setActionLoop(voObjInfo* info, const std::vector<int>& served, size_t index) {
  bool more = index + 1 < served.size();
  voRunHeader& header = objects_.runHeader();
  header.rh2ActionLoopCount = static_cast<int32_t>(index);
  header.rh2ActionLoop = more ? 1 : 0;
  if (!info) return;
  bool serving = index < served.size();
  info->oilNumOfSelected = serving ? static_cast<int32_t>(served.size()) : 0;
  info->oilCurrentOi = serving ? served[index] : -1;
  info->oilNext = more ? served[index + 1] : -1;
}

// An action with an object parameter runs once per selected instance of its first object parameter;
// other parameters are evaluated anew for every call.
void EventRunner::runExtension(const ExtensionAction& action, const std::string& where) {
  voHeader* self = objects_.nimboRecord(action.nimbo);
  auto routine = static_cast<const voActionRoutine*>(runInfo_.actions)[action.code];
  int loop = loopParameter(action, where);
  std::vector<int> served = {-1};
  voObjInfo* info = nullptr;
  if (loop >= 0) {
    const auto& selection = std::get<ObjectSelection>(action.params[loop]);
    if (!selection.type.empty()) {
      served = objects_.selected(selection);
      info = objects_.typeNamed(selection.type).info;
    }
  }
  for (size_t i = 0; i < served.size(); ++i) {
    setActionLoop(info, served, i);
    std::vector<Argument> args = arguments(action.params, loop, served[i], where);
    services_.withArguments(std::move(args), where,
                            [&](voValue first, voValue second) { return routine(self, first, second); });
  }
  setActionLoop(info, {}, 0);
}

}  // namespace vohost
