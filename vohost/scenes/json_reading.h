// The checked reading of scene JSON shared by the scene's parts: every key is checked, and an unknown key,
// a wrong type or a missing value is an error naming where it stands.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "vohost/error.h"
#include "vohost/scenes/scene.h"

namespace vohost::scene_json {

using nlohmann::json;

[[noreturn]] inline void fail(const std::string& where, const std::string& what) {
  throw Error(where + ": " + what);
}

inline void allowKeys(const json& object, const std::string& where, std::initializer_list<const char*> keys) {
  if (!object.is_object()) fail(where, "expected a JSON object");
  std::set<std::string> allowed(keys.begin(), keys.end());
  for (const auto& item : object.items()) {
    if (!allowed.contains(item.key())) fail(where, "unknown key \"" + item.key() + "\"");
  }
}

inline int32_t asInteger(const json& value, const std::string& where) {
  if (!value.is_number_integer()) fail(where, "expected an integer");
  auto wide = value.get<int64_t>();
  if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<uint32_t>::max()) {
    fail(where, "integer out of 32-bit range");
  }
  return static_cast<int32_t>(wide);
}

inline int32_t integerOr(const json& object, const char* key, int32_t fallback, const std::string& where) {
  return object.contains(key) ? asInteger(object[key], where + "." + key) : fallback;
}

inline std::string stringAt(const json& object, const char* key, const std::string& where) {
  if (!object.contains(key)) fail(where, std::string("missing \"") + key + "\"");
  if (!object[key].is_string()) fail(where + "." + key, "expected a string");
  return object[key].get<std::string>();
}

inline const json& arrayOrEmpty(const json& object, const char* key, const std::string& where) {
  static const json empty = json::array();
  if (!object.contains(key)) return empty;
  if (!object[key].is_array()) fail(where + "." + key, "expected an array");
  return object[key];
}

// One line of the event list: its conditions and actions.
EventLine readLine(const json& value, const std::string& where);

}  // namespace vohost::scene_json
