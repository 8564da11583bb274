// The jump tables: the routines of every subsystem, indexed by code.
#pragma once

#include "frame/catalog.h"
#include "host/exports.h"
#include "record/host_access.h"

namespace nimbo::frame {

extern const voConditionRoutine conditionRoutines[kConditionCount];
extern const voActionRoutine actionRoutines[kActionCount];
extern const voExpressionRoutine expressionRoutines[kExpressionCount];

}  // namespace nimbo::frame
