// The registry of controlled objects: registration, the motion groups and the delayed reject.
#pragma once

#include <cstdint>

#include "frame/rundata.h"

namespace nimbo::motion {

inline constexpr int32_t kNoGroup = -1;

// The MotionGroupIdentifier of the first group whose name is `name` unit for unit, or kNoGroup.
int32_t findGroup(const RUNDATA* rd, const Text& name);

// Adds `entry` (a template naming its group in groupName) for `object`, unless the object is already
// registered, and places the object for its motion kind.
void registerEntry(RUNDATA* rd, voObject* object, const ControlEntry& entry);

// Counts down the armed delayed rejects and removes the entries whose delay ran out; the frame step
// runs it after the motion loop while a reject is pending.
void runDelayedRejects(RUNDATA* rd);

}  // namespace nimbo::motion
