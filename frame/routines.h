// The jump tables: the routines of every subsystem, indexed by code.
#pragma once

#include <array>

#include "frame/catalog.h"
#include "host/exports.h"
#include "record/host_access.h"

namespace nimbo::frame {

// Every entry runs its routine behind the barrier of frame/barrier.h.
extern const std::array<voConditionRoutine, kConditionCount> conditionRoutines;
extern const std::array<voActionRoutine, kActionCount> actionRoutines;
extern const std::array<voExpressionRoutine, kExpressionCount> expressionRoutines;

}  // namespace nimbo::frame
