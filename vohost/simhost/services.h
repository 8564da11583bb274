// The host services the extension calls back, and the parameters they hand out while a routine runs.
// None may throw into the extension: a misuse is kept and an error while evaluating raised lines is held,
// both reported once the extension returns.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/vohost.h"
#include "platform/platform.h"
#include "vohost/simhost/objects.h"

namespace vohost {

// One parameter value handed to a routine; a text stays valid while the routine runs.
struct Argument {
  voValue integer = 0;
  bool isText = false;
  nimbo::Text text;
  voValue value() const { return isText ? reinterpret_cast<voValue>(text.c_str()) : integer; }
};

class Services {
 public:
  // `calls` collects the services called about objects; `raise` evaluates the lines a raised condition
  // heads.
  Services(ObjectStore& objects, std::vector<ServiceCall>& calls, std::function<void(int, int)> raise);
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  // Told when a routine of the extension is entered and left, with where the call stands.
  using RoutineWatch = std::function<void(const std::string& where, bool entering)>;
  void watchRoutines(RoutineWatch watch) { watch_ = std::move(watch); }

  // Whether the services called about objects are collected (they are by default); a misuse is
  // reported either way.
  void collectCalls(bool on) { collectCalls_ = on; }

  // The expression cookie the next routine receives.
  voValue depth() const { return static_cast<voValue>(contexts_.size()); }

  // Runs `call(param1, param2)` with `args` as the parameters the services hand out, then reports a
  // service misuse or an error raised inside the call.
  template <class Call>
  voValue withArguments(std::vector<Argument> args, const std::string& where, Call call) {
    voValue first = args.size() > 0 ? args[0].value() : 0;
    voValue second = args.size() > 1 ? args[1].value() : 0;
    contexts_.push_back({std::move(args), 0});
    if (watch_) watch_(where, true);
    voValue result = call(first, second);
    if (watch_) watch_(where, false);
    contexts_.pop_back();
    reportAfter(where);
    return result;
  }
  // Rethrows an error held from inside the extension's call, or throws Error for a misuse.
  void reportAfter(const std::string& where);

 private:
  struct CallContext {
    std::vector<Argument> args;
    size_t next = 0;
  };

  static Services& of(const voHeader* self);
  static voValue VO_CALL getNextParameter(voHeader* self, int32_t, int32_t);
  static voValue VO_CALL getFirstExpressionParameter(voHeader* self, int32_t kind, voValue hostValue);
  static voValue VO_CALL getNextExpressionParameter(voHeader* self, int32_t kind, voValue hostValue);
  static void VO_CALL generateEvent(voHeader* self, int32_t code, int32_t);
  static void VO_CALL redrawObject(voHeader* object, int32_t, int32_t);
  static void VO_CALL destroyObject(voHeader* object, int32_t, int32_t);
  static void VO_CALL updateAnimation(voHeader* object, int32_t);
  voValue nextArgument(const char* service);
  void recordCall(const char* service, const voHeader* object);

  ObjectStore& objects_;
  std::vector<ServiceCall>& calls_;
  std::function<void(int, int)> raise_;
  voServices table_{};
  std::vector<CallContext> contexts_;
  std::string fault_;                // a misuse of a service by the extension, reported after the call
  std::exception_ptr pendingError_;  // an error inside generateEvent, rethrown once the extension returns
  RoutineWatch watch_;
  bool collectCalls_ = true;
};

}  // namespace vohost
