// The event list: a pass over the lines each frame step, raised lines evaluated at once, action loops
// over selected instances, parameters and expressions evaluated the way the host does.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

#include "vohost/error.h"
#include "vohost/simhost/runtime.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

int32_t packPosition(const Position& position) {
  return static_cast<int32_t>((static_cast<uint32_t>(position.x) & 0xFFFFu) |
                              (static_cast<uint32_t>(position.y) << 16));
}

// A position value may come from an expression, packed as the host packs it: X low, Y high, signed.
Position unpackPosition(int32_t packed) {
  auto bits = static_cast<uint32_t>(packed);
  return {static_cast<int16_t>(bits & 0xFFFFu), static_cast<int16_t>(bits >> 16)};
}

// A file of the scene's own, for the extension to find: missing folders are made, the text is written as
// UTF-8. A path relative to the working directory, as the extension's own paths are.
void writeSceneFile(const nimbo::Text& path, const nimbo::Text& text, const std::string& where) {
  std::string name = toUtf8(path);
  std::filesystem::path file(std::u8string(name.begin(), name.end()));
  std::error_code error;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  if (error) throw Error(where + ": cannot make the folder of \"" + name + "\": " + error.message());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  std::string bytes = toUtf8(text);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw Error(where + ": cannot write \"" + name + "\"");
}

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

}  // namespace

template <class Call>
voValue Runtime::withArguments(std::vector<Argument> args, const std::string& where, Call call) {
  voValue first = args.size() > 0 ? args[0].value() : 0;
  voValue second = args.size() > 1 ? args[1].value() : 0;
  contexts_.push_back({std::move(args), 0});
  voValue result = call(first, second);
  contexts_.pop_back();
  if (pendingError_) std::rethrow_exception(std::exchange(pendingError_, nullptr));
  if (!fault_.empty()) throw Error(where + ": " + std::exchange(fault_, std::string()));
  return result;
}

bool Runtime::headedByRaised(const EventLine& line) const {
  if (line.conditions.empty()) return false;
  const auto* head = std::get_if<ExtensionCondition>(&line.conditions.front());
  return head && !(declarations_[static_cast<size_t>(CatalogKind::condition)][head->code]->flags &
                   VO_CONDITION_EVERY_PASS);
}

void Runtime::runPass() {
  for (size_t i = 0; i < scene_.events.size(); ++i) {
    if (!headedByRaised(scene_.events[i]))
      evaluateLine(scene_.events[i], 0, "event line " + std::to_string(i + 1));
  }
}

void Runtime::raise(int nimbo, int code) {
  record_.raised.push_back({nimbo, code});
  for (size_t i = 0; i < scene_.events.size(); ++i) {
    const EventLine& line = scene_.events[i];
    if (!headedByRaised(line)) continue;
    const auto& head = std::get<ExtensionCondition>(line.conditions.front());
    if (head.nimbo == nimbo && head.code == code)
      evaluateLine(line, 0, "event line " + std::to_string(i + 1));
  }
}

void Runtime::evaluateLine(const EventLine& line, size_t firstCondition, const std::string& where) {
  for (size_t i = firstCondition; i < line.conditions.size(); ++i) {
    if (!test(line.conditions[i], where + ", condition " + std::to_string(i + 1))) return;
  }
  for (size_t i = 0; i < line.actions.size(); ++i)
    run(line.actions[i], where + ", action " + std::to_string(i + 1));
}

bool Runtime::test(const Condition& condition, const std::string& where) {
  if (const auto* host = std::get_if<HostCondition>(&condition)) return testHost(*host, where);
  return testExtension(std::get<ExtensionCondition>(condition), where);
}

bool Runtime::testHost(const HostCondition& condition, const std::string& where) {
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

bool Runtime::testExtension(const ExtensionCondition& condition, const std::string& where) {
  voHeader* self = nimboRecord(condition.nimbo);
  auto routine = static_cast<const voConditionRoutine*>(runInfo_.conditions)[condition.code];
  std::vector<Argument> args = arguments(condition.params, -1, -1, where);
  return withArguments(std::move(args), where,
                       [&](voValue first, voValue second) { return routine(self, first, second); }) != 0;
}

void Runtime::run(const Action& action, const std::string& where) {
  if (const auto* host = std::get_if<HostAction>(&action)) {
    runHost(*host, where);
  } else {
    runExtension(std::get<ExtensionAction>(action), where);
  }
}

// The cursor and the clipboard are the desk's on Linux and the system's on Windows.
void Runtime::runHost(const HostAction& action, const std::string& where) {
  switch (action.kind) {
    case HostActionKind::log: {
      HostValue value = evaluate(action.operands[0], where);
      if (const auto* number = std::get_if<int32_t>(&value)) {
        record_.log.push_back({action.name, *number});
      } else {
        record_.log.push_back({action.name, toUtf8(std::get<nimbo::Text>(value))});
      }
      break;
    }
    case HostActionKind::moveCursor: {
      Position position = unpackPosition(std::get<int32_t>(evaluate(action.operands[0], where)));
      moveCursor(position.x, position.y);
      break;
    }
    case HostActionKind::setClipboardText:
      setClipboardText(std::get<nimbo::Text>(evaluate(action.operands[0], where)));
      break;
    case HostActionKind::setClipboardData:
      setClipboardData();
      break;
    case HostActionKind::destroyObject:
      for (int number : selected(std::get<ObjectSelection>(action.operands[0]))) {
        instances_[number].header->hoFlags |= VO_HOF_DESTROYING;
      }
      break;
    case HostActionKind::writeFile:
      writeSceneFile(std::get<nimbo::Text>(evaluate(action.operands[0], where)),
                     std::get<nimbo::Text>(evaluate(action.operands[1], where)), where);
      break;
  }
}

// An action with an object parameter runs once per selected instance of its first object parameter,
// with the loop index and the loop-again flag in the run header; other parameters are evaluated anew
// for every call.
void Runtime::runExtension(const ExtensionAction& action, const std::string& where) {
  const CatalogEntryInfo& entry = declaration(CatalogKind::action, action.code, where);
  voHeader* self = nimboRecord(action.nimbo);
  auto routine = static_cast<const voActionRoutine*>(runInfo_.actions)[action.code];
  auto objectKind = std::find(entry.parameterKinds.begin(), entry.parameterKinds.end(), VO_PARAM_OBJECT);
  int loopParameter = objectKind == entry.parameterKinds.end()
                          ? -1
                          : static_cast<int>(objectKind - entry.parameterKinds.begin());
  std::vector<int> served = {-1};
  voObjInfo* info = nullptr;
  if (loopParameter >= 0) {
    const auto& selection = std::get<ObjectSelection>(action.params[loopParameter]);
    if (!selection.type.empty()) {
      served = selected(selection);
      info = typeNamed(selection.type).info;
    }
  }
  voRunHeader& header = run_.header;
  for (size_t i = 0; i < served.size(); ++i) {
    header.rh2ActionLoopCount = static_cast<int32_t>(i);
    header.rh2ActionLoop = i + 1 < served.size() ? 1 : 0;
    if (info) {
      info->oilNumOfSelected = static_cast<int32_t>(served.size());
      info->oilCurrentOi = served[i];
      info->oilNext = i + 1 < served.size() ? served[i + 1] : -1;
    }
    std::vector<Argument> args = arguments(action.params, loopParameter, served[i], where);
    withArguments(std::move(args), where,
                  [&](voValue first, voValue second) { return routine(self, first, second); });
  }
  header.rh2ActionLoopCount = 0;
  header.rh2ActionLoop = 0;
  if (info) {
    info->oilNumOfSelected = 0;
    info->oilCurrentOi = -1;
    info->oilNext = -1;
  }
}

// The live instances a selection names, in scene order; those being destroyed are left out.
std::vector<int> Runtime::selected(const ObjectSelection& selection) const {
  std::vector<int> numbers;
  if (selection.type.empty()) return numbers;
  const TypeSlot& type = typeNamed(selection.type);
  for (size_t index = 0; index < type.instances.size(); ++index) {
    bool named = selection.instances.empty() ||
                 std::find(selection.instances.begin(), selection.instances.end(), static_cast<int>(index)) !=
                     selection.instances.end();
    const Instance& instance = instances_[type.instances[index]];
    if (named && !instance.removed && !(instance.header->hoFlags & VO_HOF_DESTROYING)) {
      numbers.push_back(type.instances[index]);
    }
  }
  return numbers;
}

std::vector<Runtime::Argument> Runtime::arguments(const std::vector<Parameter>& params, int loopParameter,
                                                  int servedObject, const std::string& where) {
  std::vector<Argument> args;
  for (size_t i = 0; i < params.size(); ++i) {
    std::string at = where + ", parameter " + std::to_string(i);
    Argument argument;
    if (const auto* selection = std::get_if<ObjectSelection>(&params[i])) {
      // A further object parameter (a target) gets the first selected instance of its type.
      std::vector<int> numbers = selected(*selection);
      int number =
          static_cast<int>(i) == loopParameter ? servedObject : (numbers.empty() ? -1 : numbers.front());
      argument.integer = number < 0 ? 0 : reinterpret_cast<voValue>(instances_[number].header);
    } else {
      HostValue value = evaluate(params[i], at);
      if (const auto* number = std::get_if<int32_t>(&value)) {
        argument.integer = *number;
      } else {
        argument.isText = true;
        argument.text = std::get<nimbo::Text>(value);
      }
    }
    args.push_back(std::move(argument));
  }
  return args;
}

Runtime::HostValue Runtime::evaluate(const Parameter& param, const std::string& where) {
  if (const auto* number = std::get_if<int32_t>(&param)) return *number;
  if (const auto* text = std::get_if<nimbo::Text>(&param)) return *text;
  if (const auto* position = std::get_if<Position>(&param)) return packPosition(*position);
  if (std::holds_alternative<ObjectSelection>(param))
    throw Error(where + ": an object selection is not a value");
  if (const auto* value = std::get_if<AlterableValue>(&param)) return alterableValue(*value, where);
  return callExpression(*std::get<std::shared_ptr<const ExpressionCall>>(param), where);
}

int32_t Runtime::alterableValue(const AlterableValue& value, const std::string& where) const {
  std::vector<int> numbers = selected(value.object);
  if (numbers.empty()) throw Error(where + ": no instance of \"" + value.object.type + "\" is selected");
  const voHeader* header = instances_[numbers.front()].header;
  if (header->hoType != VO_KIND_ACTIVE) throw Error(where + ": only active objects have alterable values");
  return reinterpret_cast<const voObject*>(header)->rov[value.slot].value.integer;
}

// The string-result flag is cleared before the call and the text copied out at once: the buffer is the
// extension's and changes on the next evaluation.
Runtime::HostValue Runtime::callExpression(const ExpressionCall& call, const std::string& where) {
  std::string at = where + ", expression " + std::to_string(call.code);
  voHeader* self = nimboRecord(call.nimbo);
  auto routine = static_cast<const voExpressionRoutine*>(runInfo_.expressions)[call.code];
  std::vector<Argument> args = arguments(call.params, -1, -1, at);
  auto cookie = static_cast<voValue>(contexts_.size());
  self->hoFlags &= static_cast<uint16_t>(~VO_HOF_STRING_RESULT);
  voValue result =
      withArguments(std::move(args), at, [&](voValue, voValue) { return routine(self, cookie); });
  if (!(self->hoFlags & VO_HOF_STRING_RESULT)) return static_cast<int32_t>(result);
  const auto* text = reinterpret_cast<const voChar*>(result);
  if (!text) throw Error(at + ": a string result that is a null pointer");
  return nimbo::Text(text);
}

}  // namespace vohost
