// The common start and the per-object effects of the arrangement actions. A call about an object goes
// through that object's own run header, as the host requires.
#include "align/object_effects.h"

#include "align/messages.h"
#include "frame/routines.h"
#include "platform/platform.h"
#include "util/trigonometry.h"

namespace nimbo::align {

namespace {

constexpr float kTwoPow31 = 2147483648.0f;
constexpr int32_t kFacingRight = 0;

const voServices& servicesOf(const voObject* object) {
  return *object->rHo.hoAdRunHeader->rhServices;
}

}  // namespace

int32_t truncateTowardZero(float value) {
  if (!(value >= -kTwoPow31 && value < kTwoPow31)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

voObject* arrangedObject(RUNDATA* rd, const Char* caption) {
  auto* object = reinterpret_cast<voObject*>(frame::nextParameter(rd));
  if (!object) return nullptr;
  if (object->rHo.hoType != VO_KIND_ACTIVE) {
    if (rd->popupSetting == 1) platform::messageBox(kNotTheSpriteText, caption);
    return nullptr;
  }
  return object;
}

int32_t numberParameter(RUNDATA* rd) {
  return static_cast<int32_t>(frame::nextParameter(rd));
}

const Char* textParameter(RUNDATA* rd) {
  return reinterpret_cast<const Char*>(frame::nextParameter(rd));
}

int32_t loopIndex(const RUNDATA* rd) {
  return rd->rHo.hoAdRunHeader->rh2ActionLoopCount;
}

bool loopAgain(const RUNDATA* rd) {
  return rd->rHo.hoAdRunHeader->rh2ActionLoop != 0;
}

void setValueA(voObject* object, int32_t n) {
  object->rov[0].type = VO_ALTERABLE_INTEGER;
  object->rov[0].value.integer = n;
}

void showFrame(voObject* object, int32_t forcedFrame) {
  object->roa.raAnimForced = forcedFrame;
  servicesOf(object).updateAnimation(&object->rHo, 0);
}

void faceRight(voObject* object) {
  object->roa.raAnimDirForced = 1;
  object->roa.raAnimDir = kFacingRight;
  object->roc.rcDir = kFacingRight;
}

void showDirection(voObject* object, int32_t direction) {
  object->roc.rcDir = direction;
  object->roa.raAnimDir = direction;
  servicesOf(object).updateAnimation(&object->rHo, 0);
}

void placeAt(voObject* object, int32_t x, int32_t y) {
  object->rHo.hoX = x;
  object->rHo.hoY = y;
  object->roc.rcChanged = 1;
  servicesOf(object).redrawObject(&object->rHo, 0, 0);
}

void placeOnEllipse(voObject* object, float radians, int32_t centreX, int32_t centreY, int32_t radiusX,
                    int32_t radiusY) {
  auto cosine = static_cast<float>(util::cosine(static_cast<double>(radians)));
  auto sine = static_cast<float>(util::sine(static_cast<double>(radians)));
  placeAt(object, truncateTowardZero(static_cast<float>(centreX) + static_cast<float>(radiusX) * cosine),
          truncateTowardZero(static_cast<float>(centreY) + static_cast<float>(radiusY) * sine));
}

}  // namespace nimbo::align
