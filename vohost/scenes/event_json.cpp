// The event list's JSON form: parameters, host and extension conditions and actions, and the lines.
#include <memory>

#include "vohost/scenes/json_reading.h"
#include "vohost/utf.h"

namespace vohost {

const char* hostConditionName(HostConditionKind kind) {
  switch (kind) {
    case HostConditionKind::startOfFrame:
      return "start of frame";
    case HostConditionKind::everyFrame:
      return "every frame";
    case HostConditionKind::frame:
      return "frame";
    case HostConditionKind::compare:
      return "compare two values";
  }
  return "";
}

const char* hostActionName(HostActionKind kind) {
  switch (kind) {
    case HostActionKind::log:
      return "log";
    case HostActionKind::moveCursor:
      return "move cursor";
    case HostActionKind::setClipboardText:
      return "set clipboard text";
    case HostActionKind::setClipboardData:
      return "set clipboard data";
    case HostActionKind::destroyObject:
      return "destroy object";
    case HostActionKind::writeFile:
      return "write file";
  }
  return "";
}

namespace scene_json {

namespace {

Parameter readParameter(const json& value, const std::string& where);

std::vector<Parameter> readParameters(const json& object, const std::string& where) {
  std::vector<Parameter> params;
  const json& list = arrayOrEmpty(object, "params", where);
  for (size_t i = 0; i < list.size(); ++i) {
    params.push_back(readParameter(list[i], where + ", parameter " + std::to_string(i)));
  }
  return params;
}

Parameter readObjectSelection(const json& value, const std::string& where) {
  allowKeys(value, where, {"object", "instances"});
  if (value.at("object").is_null()) return ObjectSelection{};  // the null object
  ObjectSelection selection{stringAt(value, "object", where), {}};
  for (const json& index : arrayOrEmpty(value, "instances", where)) {
    int32_t instance = asInteger(index, where + ".instances");
    if (instance < 0) fail(where + ".instances", "an instance index is 0 or more");
    selection.instances.push_back(instance);
  }
  return selection;
}

// "A" to "Z".
AlterableValue readAlterableValue(const json& value, const std::string& where) {
  allowKeys(value, where, {"alterableValue", "object", "instances"});
  std::string letter = stringAt(value, "alterableValue", where);
  if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z') fail(where, "an alterable value is A to Z");
  json selection = value;
  selection.erase("alterableValue");
  return {std::get<ObjectSelection>(readObjectSelection(selection, where)), letter[0] - 'A'};
}

Parameter readParameter(const json& value, const std::string& where) {
  if (value.is_number_integer()) return asInteger(value, where);
  if (value.is_string()) return fromUtf8(value.get<std::string>());
  if (!value.is_object()) fail(where, "expected an integer, a text or an object");
  if (value.contains("alterableValue")) return readAlterableValue(value, where);
  if (value.contains("object")) return readObjectSelection(value, where);
  if (value.contains("expression")) {
    allowKeys(value, where, {"expression", "nimbo", "params"});
    auto call = std::make_shared<ExpressionCall>();
    call->code = asInteger(value["expression"], where + ".expression");
    call->nimbo = integerOr(value, "nimbo", 0, where);
    call->params = readParameters(value, where + ", expression " + std::to_string(call->code));
    return std::shared_ptr<const ExpressionCall>(std::move(call));
  }
  allowKeys(value, where, {"x", "y"});
  if (!value.contains("x") || !value.contains("y")) fail(where, "a position needs \"x\" and \"y\"");
  return Position{asInteger(value["x"], where + ".x"), asInteger(value["y"], where + ".y")};
}

Comparison readComparison(const std::string& text, const std::string& where) {
  static const std::pair<const char*, Comparison> names[] = {
      {"=", Comparison::equal},   {"<>", Comparison::different},    {"<", Comparison::lower},
      {">", Comparison::greater}, {"<=", Comparison::lowerOrEqual}, {">=", Comparison::greaterOrEqual}};
  for (const auto& [name, comparison] : names) {
    if (text == name) return comparison;
  }
  fail(where, "unknown comparison \"" + text + "\" (use =, <>, <, >, <=, >=)");
}

HostCondition readHostCondition(const json& value, const std::string& where) {
  std::string name = stringAt(value, "host", where);
  HostCondition condition;
  if (name == hostConditionName(HostConditionKind::startOfFrame)) {
    allowKeys(value, where, {"host"});
    condition.kind = HostConditionKind::startOfFrame;
  } else if (name == hostConditionName(HostConditionKind::everyFrame)) {
    allowKeys(value, where, {"host"});
    condition.kind = HostConditionKind::everyFrame;
  } else if (name == hostConditionName(HostConditionKind::frame)) {
    allowKeys(value, where, {"host", "frame"});
    if (!value.contains("frame")) fail(where, "missing \"frame\"");
    condition.kind = HostConditionKind::frame;
    condition.frame = asInteger(value["frame"], where + ".frame");
  } else if (name == hostConditionName(HostConditionKind::compare)) {
    allowKeys(value, where, {"host", "left", "comparison", "right"});
    if (!value.contains("left") || !value.contains("right")) fail(where, "needs \"left\" and \"right\"");
    condition.kind = HostConditionKind::compare;
    condition.comparison = readComparison(stringAt(value, "comparison", where), where);
    condition.operands = {readParameter(value["left"], where + ".left"),
                          readParameter(value["right"], where + ".right")};
  } else {
    fail(where, "unknown host condition \"" + name + "\"");
  }
  return condition;
}

Condition readCondition(const json& value, const std::string& where) {
  if (value.is_object() && value.contains("host")) return readHostCondition(value, where);
  allowKeys(value, where, {"nimbo", "condition", "params"});
  if (!value.contains("condition")) fail(where, "needs \"condition\" (a code) or \"host\"");
  ExtensionCondition condition;
  condition.nimbo = integerOr(value, "nimbo", 0, where);
  condition.code = asInteger(value["condition"], where + ".condition");
  condition.params = readParameters(value, where);
  return condition;
}

// A host action's one operand under its own key.
HostAction hostActionWith(HostActionKind kind, const json& value, const char* key, const std::string& where) {
  allowKeys(value, where, {"host", key});
  if (!value.contains(key)) fail(where, std::string("missing \"") + key + "\"");
  return HostAction{kind, {}, {readParameter(value[key], where + "." + key)}};
}

HostAction readHostAction(const json& value, const std::string& where) {
  std::string name = stringAt(value, "host", where);
  if (name == hostActionName(HostActionKind::log)) {
    allowKeys(value, where, {"host", "name", "value"});
    if (!value.contains("value")) fail(where, "missing \"value\"");
    return HostAction{HostActionKind::log,
                      stringAt(value, "name", where),
                      {readParameter(value["value"], where + ".value")}};
  }
  if (name == hostActionName(HostActionKind::moveCursor)) {
    return hostActionWith(HostActionKind::moveCursor, value, "position", where);
  }
  if (name == hostActionName(HostActionKind::setClipboardText)) {
    return hostActionWith(HostActionKind::setClipboardText, value, "text", where);
  }
  if (name == hostActionName(HostActionKind::setClipboardData)) {
    allowKeys(value, where, {"host"});
    return HostAction{HostActionKind::setClipboardData, {}, {}};
  }
  if (name == hostActionName(HostActionKind::destroyObject)) {
    return hostActionWith(HostActionKind::destroyObject, value, "object", where);
  }
  if (name == hostActionName(HostActionKind::writeFile)) {
    allowKeys(value, where, {"host", "path", "text"});
    if (!value.contains("path") || !value.contains("text")) fail(where, "needs \"path\" and \"text\"");
    return HostAction{
        HostActionKind::writeFile,
        {},
        {readParameter(value["path"], where + ".path"), readParameter(value["text"], where + ".text")}};
  }
  fail(where, "unknown host action \"" + name + "\"");
}

Action readAction(const json& value, const std::string& where) {
  if (value.is_object() && value.contains("host")) return readHostAction(value, where);
  allowKeys(value, where, {"nimbo", "action", "params"});
  if (!value.contains("action")) fail(where, "needs \"action\" (a code) or \"host\"");
  ExtensionAction action;
  action.nimbo = integerOr(value, "nimbo", 0, where);
  action.code = asInteger(value["action"], where + ".action");
  action.params = readParameters(value, where);
  return action;
}

}  // namespace

EventLine readLine(const json& value, const std::string& where) {
  allowKeys(value, where, {"conditions", "actions"});
  EventLine line;
  const json& conditions = arrayOrEmpty(value, "conditions", where);
  for (size_t i = 0; i < conditions.size(); ++i) {
    line.conditions.push_back(readCondition(conditions[i], where + ", condition " + std::to_string(i + 1)));
  }
  const json& actions = arrayOrEmpty(value, "actions", where);
  for (size_t i = 0; i < actions.size(); ++i) {
    line.actions.push_back(readAction(actions[i], where + ", action " + std::to_string(i + 1)));
  }
  return line;
}

}  // namespace scene_json

}  // namespace vohost
