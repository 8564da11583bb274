// The per-frame work of the motion controller.
#pragma once

#include "record/rundata.h"

namespace nimbo::motion {

// Steps every moving entry of controlList once, by its motion kind, over the entries there when it
// starts. First it lets go of every object and target the host has marked as destroyed: their records
// are freed once this frame step is over.
void runMotionLoop(RUNDATA* rd);

}  // namespace nimbo::motion
