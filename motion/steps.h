// One frame of motion for one controlList entry, by kind. Each is given the entry's object, the
// record holding the list and the entry's index; the object is one the host has not destroyed.
#pragma once

#include <cstddef>

#include "frame/rundata.h"

namespace nimbo::motion {

void stepStraight(RUNDATA* rd, voObject* object, size_t index);
void stepWave(RUNDATA* rd, voObject* object, size_t index);
void stepOrbit(RUNDATA* rd, voObject* object, size_t index);

struct Centre {
  double x, y;
};

// The point an orbit turns around: its origin, or its target's position, plus the centre offsets.
Centre orbitCentre(const ControlEntry& entry);

// Puts the object on its orbit at `degrees` (internal scale: 180 is straight above the centre).
void placeOnOrbit(voObject* object, Centre centre, double degrees, double radius1, double radius2);

}  // namespace nimbo::motion
