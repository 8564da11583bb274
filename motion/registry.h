// The registry of controlled objects: registration, the motion groups and the delayed reject.
#pragma once

#include <cstdint>

#include "record/host_access.h"

namespace nimbo::motion {

inline constexpr int32_t kNoGroup = -1;

// The entry's object while the host keeps it: null once the host has marked it destroyed, before or
// after the motion loop let go of it. Only a pointer from here may be read or written.
inline voObject* liveObject(const ControlEntry& entry) {
  return entry.object && !beingDestroyed(entry.object->rHo) ? entry.object : nullptr;
}

// The MotionGroupIdentifier of the first group whose name is `name` unit for unit, or kNoGroup.
int32_t findGroup(const RUNDATA* rd, const Text& name);

// Adds `entry` (a template naming its group in groupName) for `object`, unless the object is already
// registered, and places the object for its motion kind.
void registerEntry(RUNDATA* rd, voObject* object, const ControlEntry& entry);

// Counts down the armed delayed rejects and removes the entries whose delay ran out; the frame step
// runs it after the motion loop while a reject is pending.
void runDelayedRejects(RUNDATA* rd);

}  // namespace nimbo::motion
