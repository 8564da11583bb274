// The per-frame work of the motion controller.
#pragma once

#include "frame/rundata.h"

namespace nimbo::motion {

// Steps every moving entry of controlList once, by its motion kind. Entries appended while the loop
// runs wait for the next frame.
void runMotionLoop(RUNDATA* rd);

// Counts down the armed delayed rejects and removes the entries whose delay ran out.
void runDelayedRejects(RUNDATA* rd);

}  // namespace nimbo::motion
