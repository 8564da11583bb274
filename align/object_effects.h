// What every arrangement action shares: the common start (the object parameter and its check), the
// action-loop position, the per-object effects, and the arithmetic that turns a layout into pixels the
// same way on every build.
#pragma once

#include <cstdint>

#include "frame/rundata.h"

namespace nimbo::align {

// 32-bit integer arithmetic that wraps as the host's does: a designer's huge margin sends an object far
// away, never into undefined behaviour.
constexpr int32_t add32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t sub32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr int32_t mul32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// A single-precision value truncated toward zero. A value that is not a number or lies beyond 32 bits
// gives INT32_MIN, what the x86 conversion gives, on every build.
int32_t truncateTowardZero(float value);

// The common start of an arrangement action: takes the object parameter and returns it when it is an
// active object. Otherwise returns null, after the "Selected Objects Not the Sprite" box with `caption`
// when the pop-up setting is 1.
voObject* arrangedObject(RUNDATA* rd, const Char* caption);

// The next parameters of the running action, in declared order.
int32_t numberParameter(RUNDATA* rd);
const Char* textParameter(RUNDATA* rd);

// The running series: the action-loop index (0 for the first selected instance) and whether the host
// calls the action again for a further instance.
int32_t loopIndex(const RUNDATA* rd);
bool loopAgain(const RUNDATA* rd);

// The size of the object being placed: every layout spaces an object by its own size.
inline int32_t width(const voObject* object) {
  return object->rHo.hoImgWidth;
}
inline int32_t height(const voObject* object) {
  return object->rHo.hoImgHeight;
}

// Alterable value A becomes the integer n.
void setValueA(voObject* object, int32_t n);
// The object shows forced frame `forcedFrame` (frame number + 1; 0 = not forced) at once.
void showFrame(voObject* object, int32_t forcedFrame);
// Direction forced to the right, without a host call.
void faceRight(voObject* object);
// Both direction copies become `direction` (0..31), applied at once; the forced flag is left alone.
void showDirection(voObject* object, int32_t direction);
// The object moves to (x, y) and shows there.
void placeAt(voObject* object, int32_t x, int32_t y);
// The object moves to the point of an ellipse at `radians` (clockwise on the screen, from the right):
// centre + radius x cosine across, centre + radius x sine down, in single precision, truncated.
void placeOnEllipse(voObject* object, float radians, int32_t centreX, int32_t centreY, int32_t radiusX,
                    int32_t radiusY);

}  // namespace nimbo::align
