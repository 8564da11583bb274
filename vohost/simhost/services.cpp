// The service table's entries. Each finds its Services through the caller's run header.
#include "vohost/simhost/services.h"

#include <algorithm>

#include "vohost/error.h"

namespace vohost {

Services::Services(ObjectStore& objects, std::vector<ServiceCall>& calls, std::function<void(int, int)> raise)
    : objects_(objects), calls_(calls), raise_(std::move(raise)) {
  table_ = {getNextParameter,
            getFirstExpressionParameter,
            getNextExpressionParameter,
            generateEvent,
            redrawObject,
            destroyObject,
            updateAnimation};
  objects_.attach(&table_, this);
}

void Services::reportAfter(const std::string& where) {
  if (pendingError_) std::rethrow_exception(std::exchange(pendingError_, nullptr));
  if (!fault_.empty()) throw Error(where + ": " + std::exchange(fault_, std::string()));
}

Services& Services::of(const voHeader* self) {
  return *static_cast<Services*>(ObjectStore::hostOf(self));
}

voValue Services::nextArgument(const char* service) {
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

voValue VO_CALL Services::getNextParameter(voHeader* self, int32_t, int32_t) {
  return of(self).nextArgument("getNextParameter");
}

voValue VO_CALL Services::getFirstExpressionParameter(voHeader* self, int32_t, voValue) {
  Services& services = of(self);
  if (!services.contexts_.empty()) services.contexts_.back().next = 0;
  return services.nextArgument("getFirstExpressionParameter");
}

voValue VO_CALL Services::getNextExpressionParameter(voHeader* self, int32_t, voValue) {
  return of(self).nextArgument("getNextExpressionParameter");
}

void VO_CALL Services::generateEvent(voHeader* self, int32_t code, int32_t) {
  Services& services = of(self);
  const ObjectStore::Instance* instance = services.objects_.instanceOf(self);
  if (!instance || instance->nimbo < 0) {
    services.fault_ = "generateEvent called with a record that is not a NIMBO instance";
    return;
  }
  if (services.pendingError_) return;
  try {
    services.raise_(instance->nimbo, code);
  } catch (...) {
    services.pendingError_ = std::current_exception();
  }
}

void Services::recordCall(const char* service, const voHeader* object) {
  const ObjectStore::Instance* instance = objects_.instanceOf(object);
  if (!instance) {
    fault_ = std::string(service) + " called with an object that is not in the frame";
    return;
  }
  if (collectCalls_) calls_.push_back({service, objects_.typeName(*instance), instance->index});
}

void VO_CALL Services::redrawObject(voHeader* object, int32_t, int32_t) {
  of(object).recordCall("redrawObject", object);
  if (object->hoType == VO_KIND_ACTIVE) reinterpret_cast<voObject*>(object)->roc.rcChanged = 0;
}

void VO_CALL Services::destroyObject(voHeader* object, int32_t, int32_t) {
  of(object).recordCall("destroyObject", object);
  object->hoFlags |= VO_HOF_DESTROYING;
}

// A forced frame shows at once, within the animation's frames; the direction copy is taken as written.
void VO_CALL Services::updateAnimation(voHeader* object, int32_t) {
  of(object).recordCall("updateAnimation", object);
  if (object->hoType != VO_KIND_ACTIVE) return;
  voAnimation& animation = reinterpret_cast<voObject*>(object)->roa;
  if (animation.raAnimForced > 0) {
    animation.raAnimFrame =
        std::min(animation.raAnimForced - 1, std::max(animation.raAnimNumberOfFrame - 1, 0));
  }
}

}  // namespace vohost
