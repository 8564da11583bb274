// The jump tables and the helpers every routine shares.
#pragma once

#include "frame/catalog.h"
#include "frame/rundata.h"
#include "host/exports.h"

namespace nimbo::frame {

extern const voConditionRoutine conditionRoutines[kConditionCount];
extern const voActionRoutine actionRoutines[kActionCount];
extern const voExpressionRoutine expressionRoutines[kExpressionCount];

// Marks the expression's result as a string and returns it; the text stays valid until the same
// expression runs again.
inline voValue stringResult(RUNDATA* rd, const Char* text) {
  rd->rHo.hoFlags |= VO_HOF_STRING_RESULT;
  return reinterpret_cast<voValue>(text);
}

inline const voServices& services(const RUNDATA* rd) { return *rd->rHo.hoAdRunHeader->rhServices; }

// Next parameter of the running action or condition, in declared order.
inline voValue nextParameter(RUNDATA* rd) { return services(rd).getNextParameter(&rd->rHo, -1, 0); }

}  // namespace nimbo::frame
