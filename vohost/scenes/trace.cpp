// The trace's JSON form. The desk's state sits under "desk": the message boxes, the window, the task bar
// and the clipboard.
#include "vohost/scenes/trace.h"

#include <nlohmann/json.hpp>

namespace vohost {

namespace {

using nlohmann::ordered_json;

ordered_json objectJson(const ObjectState& object) {
  ordered_json j;
  j["type"] = object.type;
  j["instance"] = object.instance;
  j["x"] = object.x;
  j["y"] = object.y;
  if (object.active) {
    j["direction"] = object.direction;
    j["animationFrame"] = object.animationFrame;
    j["forcedFrame"] = object.forcedFrame;
    j["values"] = object.values;
    j["inkEffect"] = object.inkEffect;
    j["alpha"] = object.alpha;
  }
  j["destroyed"] = object.destroyed;
  return j;
}

ordered_json valueJson(const TraceValue& value) {
  return std::visit([](const auto& v) { return ordered_json(v); }, value);
}

}  // namespace

std::string traceLine(const StepRecord& record) {
  ordered_json j;
  j["frame"] = record.frame;
  j["objects"] = ordered_json::array();
  for (const ObjectState& object : record.objects) j["objects"].push_back(objectJson(object));
  j["raised"] = ordered_json::array();
  for (const RaisedCondition& raised : record.raised) {
    j["raised"].push_back({{"nimbo", raised.nimbo}, {"condition", raised.code}});
  }
  j["log"] = ordered_json::array();
  for (const LogEntry& entry : record.log)
    j["log"].push_back({{"name", entry.name}, {"value", valueJson(entry.value)}});
  j["calls"] = ordered_json::array();
  for (const ServiceCall& call : record.calls) {
    j["calls"].push_back({{"service", call.service}, {"type", call.type}, {"instance", call.instance}});
  }
  ordered_json boxes = ordered_json::array();
  for (const ShownMessageBox& box : record.messageBoxes)
    boxes.push_back({{"caption", box.caption}, {"text", box.text}});
  const DeskState& desk = record.desk;
  ordered_json window;
  window["x"] = desk.x;
  window["y"] = desk.y;
  window["width"] = desk.width;
  window["height"] = desk.height;
  window["caption"] = desk.caption;
  window["show"] = desk.show;
  j["desk"] = {{"messageBoxes", boxes},
               {"window", window},
               {"taskBar", {{"visible", desk.taskBarVisible}}},
               {"clipboard", {{"text", desk.clipboardText}}}};
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace vohost
