// The host services the extension calls back. None may throw into the extension: a misuse is kept in
// fault_ and an error while evaluating raised lines in pendingError_, both reported once it returns.
#include <algorithm>

#include "vohost/error.h"
#include "vohost/simhost/runtime.h"

namespace vohost {

voValue Runtime::nextArgument(const char* service) {
  if (contexts_.empty()) {
    fault_ = std::string(service) + " called outside an action, condition or expression";
    return 0;
  }
  CallContext& context = contexts_.back();
  if (context.next >= context.args.size()) {
    fault_ = std::string(service) + " called past the last parameter";
    return 0;
  }
  return context.args[context.next++].value();
}

voValue VO_CALL Runtime::getNextParameter(voHeader* self, int32_t, int32_t) {
  return of(self).nextArgument("getNextParameter");
}

voValue VO_CALL Runtime::getFirstExpressionParameter(voHeader* self, int32_t, voValue) {
  Runtime& runtime = of(self);
  if (!runtime.contexts_.empty()) runtime.contexts_.back().next = 0;
  return runtime.nextArgument("getFirstExpressionParameter");
}

voValue VO_CALL Runtime::getNextExpressionParameter(voHeader* self, int32_t, voValue) {
  return of(self).nextArgument("getNextExpressionParameter");
}

void VO_CALL Runtime::generateEvent(voHeader* self, int32_t code, int32_t) {
  Runtime& runtime = of(self);
  const Instance* instance = runtime.instanceOf(self);
  if (!instance || instance->nimbo < 0) {
    runtime.fault_ = "generateEvent called with a record that is not a NIMBO instance";
    return;
  }
  if (runtime.pendingError_) return;
  try {
    runtime.raise(instance->nimbo, code);
  } catch (...) {
    runtime.pendingError_ = std::current_exception();
  }
}

void Runtime::recordCall(const char* service, const voHeader* object) {
  const Instance* instance = instanceOf(object);
  if (!instance) {
    fault_ = std::string(service) + " called with an object that is not in the frame";
    return;
  }
  record_.calls.push_back({service, types_[instance->type].name, instance->index});
}

void VO_CALL Runtime::redrawObject(voHeader* object, int32_t, int32_t) {
  Runtime& runtime = of(object);
  runtime.recordCall("redrawObject", object);
  if (object->hoType == VO_KIND_ACTIVE) reinterpret_cast<voObject*>(object)->roc.rcChanged = 0;
}

void VO_CALL Runtime::destroyObject(voHeader* object, int32_t, int32_t) {
  Runtime& runtime = of(object);
  runtime.recordCall("destroyObject", object);
  object->hoFlags |= VO_HOF_DESTROYING;
}

// A forced frame shows at once, within the animation's frames; the direction copy is taken as written.
void VO_CALL Runtime::updateAnimation(voHeader* object, int32_t) {
  Runtime& runtime = of(object);
  runtime.recordCall("updateAnimation", object);
  if (object->hoType != VO_KIND_ACTIVE) return;
  voAnimation& animation = reinterpret_cast<voObject*>(object)->roa;
  if (animation.raAnimForced > 0) {
    animation.raAnimFrame =
        std::min(animation.raAnimForced - 1, std::max(animation.raAnimNumberOfFrame - 1, 0));
  }
}

}  // namespace vohost
