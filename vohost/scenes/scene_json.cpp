// The JSON form of a scene (docs/scenes.md). Every key is checked: an unknown key, a wrong type or a
// missing value is an error naming where it stands.
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "vohost/error.h"
#include "vohost/scenes/scene.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

using nlohmann::json;

[[noreturn]] void fail(const std::string& where, const std::string& what) {
  throw Error(where + ": " + what);
}

void allowKeys(const json& object, const std::string& where, std::initializer_list<const char*> keys) {
  if (!object.is_object()) fail(where, "expected a JSON object");
  std::set<std::string> allowed(keys.begin(), keys.end());
  for (const auto& item : object.items()) {
    if (!allowed.contains(item.key())) fail(where, "unknown key \"" + item.key() + "\"");
  }
}

int32_t asInteger(const json& value, const std::string& where) {
  if (!value.is_number_integer()) fail(where, "expected an integer");
  auto wide = value.get<int64_t>();
  if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<uint32_t>::max()) {
    fail(where, "integer out of 32-bit range");
  }
  return static_cast<int32_t>(wide);
}

int32_t integerOr(const json& object, const char* key, int32_t fallback, const std::string& where) {
  return object.contains(key) ? asInteger(object[key], where + "." + key) : fallback;
}

std::string stringAt(const json& object, const char* key, const std::string& where) {
  if (!object.contains(key)) fail(where, std::string("missing \"") + key + "\"");
  if (!object[key].is_string()) fail(where + "." + key, "expected a string");
  return object[key].get<std::string>();
}

const json& arrayOrEmpty(const json& object, const char* key, const std::string& where) {
  static const json empty = json::array();
  if (!object.contains(key)) return empty;
  if (!object[key].is_array()) fail(where + "." + key, "expected an array");
  return object[key];
}

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

int16_t readKind(const json& object, const std::string& where) {
  if (!object.contains("kind")) return VO_KIND_ACTIVE;
  if (object["kind"].is_number_integer())
    return static_cast<int16_t>(asInteger(object["kind"], where + ".kind"));
  static const std::pair<const char*, int16_t> names[] = {
      {"backdrop", 1}, {"active", VO_KIND_ACTIVE}, {"text", 3}, {"counter", 7}};
  std::string name = stringAt(object, "kind", where);
  for (const auto& [known, kind] : names) {
    if (name == known) return kind;
  }
  fail(where + ".kind", "unknown kind \"" + name + "\" (active, backdrop, text, counter or a number)");
}

InstanceSettings readInstance(const json& value, const std::string& where) {
  allowKeys(value, where,
            {"x", "y", "width", "height", "hotSpotX", "hotSpotY", "animationFrames", "direction", "inkEffect",
             "alpha", "values"});
  InstanceSettings s;
  s.x = integerOr(value, "x", s.x, where);
  s.y = integerOr(value, "y", s.y, where);
  s.width = integerOr(value, "width", s.width, where);
  s.height = integerOr(value, "height", s.height, where);
  s.hotSpotX = integerOr(value, "hotSpotX", s.hotSpotX, where);
  s.hotSpotY = integerOr(value, "hotSpotY", s.hotSpotY, where);
  s.animationFrames = integerOr(value, "animationFrames", s.animationFrames, where);
  s.direction = integerOr(value, "direction", s.direction, where);
  s.inkEffect = static_cast<uint32_t>(integerOr(value, "inkEffect", 0, where));
  s.alpha = integerOr(value, "alpha", s.alpha, where);
  for (const json& v : arrayOrEmpty(value, "values", where))
    s.values.push_back(asInteger(v, where + ".values"));
  if (s.values.size() > VO_ALTERABLE_COUNT) fail(where + ".values", "more values than alterable slots");
  if (s.animationFrames < 1) fail(where + ".animationFrames", "an animation has at least one frame");
  if (s.alpha < 0 || s.alpha > 255) fail(where + ".alpha", "alpha is 0 to 255");
  return s;
}

ObjectType readObjectType(const json& value, const std::string& where) {
  allowKeys(value, where, {"name", "kind", "instances"});
  ObjectType type{stringAt(value, "name", where), readKind(value, where), {}};
  if (fromUtf8(type.name).size() >= 24) fail(where + ".name", "a type name holds at most 23 UTF-16 units");
  const json& instances = arrayOrEmpty(value, "instances", where);
  for (size_t i = 0; i < instances.size(); ++i) {
    type.instances.push_back(readInstance(instances[i], where + ".instances[" + std::to_string(i) + "]"));
  }
  return type;
}

EditOverrides readNimbo(const json& value, const std::string& where) {
  allowKeys(value, where, {"popup", "options", "text", "propertySheet"});
  EditOverrides overrides;
  if (value.contains("propertySheet")) {
    if (!value["propertySheet"].is_boolean()) {
      fail(where + ".propertySheet", "propertySheet is true or false");
    }
    overrides.propertySheet = value["propertySheet"].get<bool>();
  }
  if (value.contains("popup")) {
    int32_t popup = asInteger(value["popup"], where + ".popup");
    if (popup != 0 && popup != 1) fail(where + ".popup", "popup is 0 or 1");
    overrides.popup = static_cast<uint8_t>(popup);
  }
  if (value.contains("options"))
    overrides.options = static_cast<uint32_t>(asInteger(value["options"], where));
  if (value.contains("text")) overrides.text = fromUtf8(stringAt(value, "text", where));
  return overrides;
}

FrameSettings readFrame(const json& value) {
  const std::string where = "frame";
  allowKeys(value, where, {"width", "height", "frameRate", "frames"});
  FrameSettings frame;
  frame.width = integerOr(value, "width", frame.width, where);
  frame.height = integerOr(value, "height", frame.height, where);
  frame.frameRate = integerOr(value, "frameRate", frame.frameRate, where);
  frame.frames = integerOr(value, "frames", frame.frames, where);
  if (frame.frames < 0) fail(where + ".frames", "the number of frame steps is 0 or more");
  return frame;
}

}  // namespace

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

Scene parseScene(const std::string& text) {
  json root;
  try {
    root = json::parse(text);
  } catch (const json::exception& error) {  // a syntax error, or a number past what a double holds
    throw Error(std::string("scene is not valid JSON: ") + error.what());
  }
  allowKeys(root, "scene", {"frame", "objects", "nimbo", "events"});
  Scene scene;
  if (root.contains("frame")) scene.frame = readFrame(root["frame"]);
  const json& objects = arrayOrEmpty(root, "objects", "scene");
  for (size_t i = 0; i < objects.size(); ++i) {
    scene.objects.push_back(readObjectType(objects[i], "objects[" + std::to_string(i) + "]"));
  }
  const json& nimbo = arrayOrEmpty(root, "nimbo", "scene");
  for (size_t i = 0; i < nimbo.size(); ++i)
    scene.nimbo.push_back(readNimbo(nimbo[i], "nimbo[" + std::to_string(i) + "]"));
  const json& events = arrayOrEmpty(root, "events", "scene");
  for (size_t i = 0; i < events.size(); ++i) {
    scene.events.push_back(readLine(events[i], "event line " + std::to_string(i + 1)));
  }
  return scene;
}

Scene readScene(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Error("cannot read scene " + path.string());
  std::ostringstream text;
  text << file.rdbuf();
  try {
    return parseScene(text.str());
  } catch (const Error& error) {
    throw Error(path.string() + ": " + error.what());
  }
}

}  // namespace vohost
