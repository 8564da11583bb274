// Where an orbiting object stands: its centre and its place on the orbit at an angle. Shared by the
// first placement of a registration and the orbit step.
#pragma once

#include <cassert>

#include "record/control_entry.h"
#include "record/host_access.h"
#include "record/trigonometry.h"

namespace nimbo::motion {

struct Centre {
  double x, y;
};

// The point an orbit turns around: its origin, or its target's position, plus the centre offsets.
inline Centre orbitCentre(const ControlEntry& entry) {
  double x = entry.originX, y = entry.originY;
  if (entry.hasTarget == 1) {
    assert(entry.target);  // the motion loop holds an orbit whose target is gone
    x = entry.target->rHo.hoX;
    y = entry.target->rHo.hoY;
  }
  return {x + entry.centreOffsetX, y + entry.centreOffsetY};
}

// Puts the object on its orbit at `degrees` (internal scale: 180 is straight above the centre).
inline void placeOnOrbit(voObject* object, Centre centre, double degrees, double radius1, double radius2) {
  object->rHo.hoX = toPixel(centre.x - sineOfDegrees(degrees) * radius1);
  object->rHo.hoY = toPixel(centre.y + cosineOfDegrees(degrees) * radius2);
}

}  // namespace nimbo::motion
