// The fields of the host's objects that the motion controller reads and writes, and the whole-number
// rules its arithmetic follows.
#pragma once

#include <cstdint>

#include "frame/routines.h"

namespace nimbo::motion {

enum AlterableValue : int { kValueA = 0, kValueB = 1, kValueC = 2, kValueD = 3, kValueE = 4 };

enum Direction : int32_t { kRight = 0, kUp = 8, kLeft = 16, kDown = 24 };

inline bool beingDestroyed(const voHeader& header) {
  return (header.hoFlags & VO_HOF_DESTROYING) != 0;
}

// An object the controller may take: an active object that is not leaving the frame.
inline bool controllable(const voObject* object) {
  return object && object->rHo.hoType == VO_KIND_ACTIVE && !beingDestroyed(object->rHo);
}

inline voObject* objectParameter(RUNDATA* rd) {
  return reinterpret_cast<voObject*>(frame::nextParameter(rd));
}
inline int32_t numberParameter(RUNDATA* rd) {
  return static_cast<int32_t>(frame::nextParameter(rd));
}
inline const Char* textParameter(RUNDATA* rd) {
  return reinterpret_cast<const Char*>(frame::nextParameter(rd));
}

inline int32_t actionLoopIndex(const RUNDATA* rd) {
  return rd->rHo.hoAdRunHeader->rh2ActionLoopCount;
}

inline void writeValue(voObject* object, AlterableValue slot, int32_t value) {
  object->rov[slot].type = VO_ALTERABLE_INTEGER;
  object->rov[slot].value.integer = value;
}

inline int32_t readValue(const voObject* object, AlterableValue slot) {
  return object->rov[slot].value.integer;
}

// Both copies, as the host keeps them.
inline void writeDirection(voObject* object, int32_t direction) {
  object->roc.rcDir = direction;
  object->roa.raAnimDir = direction;
}

inline void updateAnimation(const voServices& host, voObject* object) {
  host.updateAnimation(&object->rHo, 0);
}
inline void updateAnimation(RUNDATA* rd, voObject* object) {
  updateAnimation(frame::services(rd), object);
}

inline void redraw(const voServices& host, voObject* object) {
  object->roc.rcChanged = 1;
  host.redrawObject(&object->rHo, 0, 0);
}
inline void redraw(RUNDATA* rd, voObject* object) {
  redraw(frame::services(rd), object);
}

// Positions and counters are worked out in 64 bits and stored in the 32 the host holds, modulo 2^32:
// no designer value can overflow them.
inline int32_t wrapped(int64_t value) {
  return static_cast<int32_t>(value);
}

// A coordinate computed in double precision, truncated toward zero.
inline int32_t toPixel(double coordinate) {
  return wrapped(static_cast<int64_t>(coordinate));
}

// The entry's object while the host keeps it: null once the host has marked it destroyed, before or
// after the motion loop let go of it. Only a pointer from here may be read or written.
inline voObject* liveObject(const ControlEntry& entry) {
  return entry.object && !beingDestroyed(entry.object->rHo) ? entry.object : nullptr;
}

// Sets the alpha coefficient with `value` (meant 0 to 255): only under the alpha ink effect, the top
// byte of the RGBA coefficient becomes the low 8 bits of 255 - value; the colour bytes stay.
inline void setAlphaCoefficient(voObject* object, int32_t value) {
  voEffect* effect = object->ros.rsEffectObject;
  if ((object->ros.rsEffect & VO_INK_EFFECT_MASK) != VO_INK_ALPHA || !effect) return;
  uint32_t alpha = (255u - static_cast<uint32_t>(value)) & 0xFFu;
  effect->rgbaCoefficient = (effect->rgbaCoefficient & 0x00FFFFFFu) | (alpha << 24);
}

}  // namespace nimbo::motion
