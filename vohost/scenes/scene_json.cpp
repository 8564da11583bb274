// The JSON form of a scene (docs/scenes.md): the frame, the object types and instances, the NIMBO
// instances, and the event list read by event_json.cpp.
#include <fstream>
#include <sstream>

#include "vohost/scenes/json_reading.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

using namespace scene_json;

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

Scene parseScene(const std::string& text) {
  // The reader recurses into nested expressions: a scene nested past any use is refused before it
  // could exhaust the stack (the browser's is the smallest).
  constexpr int kDeepest = 100;
  json root;
  try {
    root = json::parse(text, [](int depth, json::parse_event_t, const json&) {
      if (depth > kDeepest)
        throw Error("scene is nested deeper than " + std::to_string(kDeepest) + " levels");
      return true;
    });
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
