// What every routine does with the host: takes its parameters, returns string results, reads and writes
// the fields of the host's objects, and turns layouts and motions into pixels with the 32-bit arithmetic
// the host's own fields wrap with. One place, so every subsystem touches the host the same way.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>

#include "record/rundata.h"

namespace nimbo {

// The host's services through the instance's run header.
inline const voServices& services(const RUNDATA* rd) {
  return *rd->rHo.hoAdRunHeader->rhServices;
}

// The host's services through an object's own run header: a call about an object goes through it.
inline const voServices& servicesOf(const voObject* object) {
  return *object->rHo.hoAdRunHeader->rhServices;
}

// The next parameter of the running action or condition, in declared order.
inline voValue nextParameter(RUNDATA* rd) {
  return services(rd).getNextParameter(&rd->rHo, -1, 0);
}
inline voObject* objectParameter(RUNDATA* rd) {
  return reinterpret_cast<voObject*>(nextParameter(rd));
}
inline int32_t numberParameter(RUNDATA* rd) {
  return static_cast<int32_t>(nextParameter(rd));
}
inline const Char* textParameter(RUNDATA* rd) {
  return reinterpret_cast<const Char*>(nextParameter(rd));
}

// The parameters of the running expression, of the kind the catalog declares (VO_EXPRESSION_...).
inline voValue firstExpressionParameter(RUNDATA* rd, int32_t kind, voValue hostValue) {
  return services(rd).getFirstExpressionParameter(&rd->rHo, kind, hostValue);
}
inline voValue nextExpressionParameter(RUNDATA* rd, int32_t kind, voValue hostValue) {
  return services(rd).getNextExpressionParameter(&rd->rHo, kind, hostValue);
}

// The running series of an action with an object parameter: the action-loop index (0 for the first
// selected instance) and whether the host calls the action again for a further instance.
inline int32_t actionLoopIndex(const RUNDATA* rd) {
  return rd->rHo.hoAdRunHeader->rh2ActionLoopCount;
}
inline bool actionLoopAgain(const RUNDATA* rd) {
  return rd->rHo.hoAdRunHeader->rh2ActionLoop != 0;
}

// Marks the expression's result as a string and returns it; the text must stay valid until the same
// expression runs again.
inline voValue stringResult(RUNDATA* rd, const Char* text) {
  rd->rHo.hoFlags |= VO_HOF_STRING_RESULT;
  return reinterpret_cast<voValue>(text);
}

// The empty string result: one object with static storage, so the pointer stays valid.
inline constexpr Char kEmpty[1] = {0};

// A whole number in decimal digits, as the texts of boxes and listings show it.
template <std::integral Number>
Text decimal(Number value) {
  std::string digits = std::to_string(value);
  return Text(digits.begin(), digits.end());
}

inline bool beingDestroyed(const voHeader& header) {
  return (header.hoFlags & VO_HOF_DESTROYING) != 0;
}

// Only an active object has alterable values, an animation and a movement part to write.
inline bool isActiveObject(const voObject* object) {
  return object && object->rHo.hoType == VO_KIND_ACTIVE;
}

// An object a routine may take and keep: an active object that is not leaving the frame.
inline bool controllable(const voObject* object) {
  return isActiveObject(object) && !beingDestroyed(object->rHo);
}

// The size of an object: layouts space an object by its own size.
inline int32_t width(const voObject* object) {
  return object->rHo.hoImgWidth;
}
inline int32_t height(const voObject* object) {
  return object->rHo.hoImgHeight;
}

enum AlterableValue : int { kValueA = 0, kValueB = 1, kValueC = 2, kValueD = 3, kValueE = 4 };

inline void writeValue(voObject* object, AlterableValue slot, int32_t value) {
  object->rov[slot].type = VO_ALTERABLE_INTEGER;
  object->rov[slot].value.integer = value;
}
inline int32_t readValue(const voObject* object, AlterableValue slot) {
  return object->rov[slot].value.integer;
}

enum Direction : int32_t { kRight = 0, kUp = 8, kLeft = 16, kDown = 24 };

// Both copies of the direction (0..31), as the host keeps them; shown at the next animation update.
inline void writeDirection(voObject* object, int32_t direction) {
  object->roc.rcDir = direction;
  object->roa.raAnimDir = direction;
}

// Direction forced to the right, without a host call.
inline void faceRight(voObject* object) {
  object->roa.raAnimDirForced = 1;
  writeDirection(object, kRight);
}

inline void updateAnimation(const voServices& host, voObject* object) {
  host.updateAnimation(&object->rHo, 0);
}

// The object shows at its current position, written before.
inline void redraw(const voServices& host, voObject* object) {
  object->roc.rcChanged = 1;
  host.redrawObject(&object->rHo, 0, 0);
}

// The object moves to (x, y) and shows there.
inline void placeAt(voObject* object, int32_t x, int32_t y) {
  object->rHo.hoX = x;
  object->rHo.hoY = y;
  redraw(servicesOf(object), object);
}

// The object shows forced frame `forcedFrame` (frame number + 1; 0 = not forced) at once.
inline void showFrame(voObject* object, int32_t forcedFrame) {
  object->roa.raAnimForced = forcedFrame;
  updateAnimation(servicesOf(object), object);
}

// Both direction copies become `direction`, shown at once; the forced flag is left alone.
inline void showDirection(voObject* object, int32_t direction) {
  writeDirection(object, direction);
  updateAnimation(servicesOf(object), object);
}

// Sets the alpha coefficient with `value` (meant 0 to 255): only under the alpha ink effect, the top
// byte of the RGBA coefficient becomes the low 8 bits of 255 - value; the colour bytes stay.
inline void setAlphaCoefficient(voObject* object, int32_t value) {
  voEffect* effect = object->ros.rsEffectObject;
  if ((object->ros.rsEffect & VO_INK_EFFECT_MASK) != VO_INK_ALPHA || !effect) return;
  uint32_t alpha = (255u - static_cast<uint32_t>(value)) & 0xFFu;
  effect->rgbaCoefficient = (effect->rgbaCoefficient & 0x00FFFFFFu) | (alpha << 24);
}

// 32-bit integer arithmetic that wraps as the host's does: a designer's huge margin or speed sends an
// object far away, never into undefined behaviour.
constexpr int32_t add32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t sub32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr int32_t mul32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// A value worked out in 64 bits, stored in the 32 the host holds, modulo 2^32.
constexpr int32_t wrapped(int64_t value) {
  return static_cast<int32_t>(value);
}

// A coordinate computed in double precision, truncated toward zero.
inline int32_t toPixel(double coordinate) {
  return wrapped(static_cast<int64_t>(coordinate));
}

// A single-precision value truncated toward zero. A value that is not a number or lies beyond 32 bits
// gives INT32_MIN, what the x86 conversion gives, on every build.
inline int32_t truncateTowardZero(float value) {
  constexpr float kTwoPow31 = 2147483648.0f;
  if (!(value >= -kTwoPow31 && value < kTwoPow31)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace nimbo
