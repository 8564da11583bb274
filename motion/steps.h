// One frame of motion for one controlList entry, by kind. Each is given the entry's object, the
// record holding the list and the entry's index.
#pragma once

#include <cstddef>

#include "frame/rundata.h"

namespace nimbo::motion {

void stepStraight(RUNDATA* rd, voObject* object, size_t index);
void stepWave(RUNDATA* rd, voObject* object, size_t index);
void stepOrbit(RUNDATA* rd, voObject* object, size_t index);

}  // namespace nimbo::motion
