// What every arrangement action shares beyond the host access of the record: the common start (the
// object parameter and its check) and the placement on an ellipse.
#pragma once

#include <cstdint>

#include "record/host_access.h"

namespace nimbo::align {

// The common start of an arrangement action: takes the object parameter and returns it when it is an
// active object. Otherwise returns null, after the "Selected Objects Not the Sprite" box with `caption`
// when the pop-up setting is 1.
voObject* arrangedObject(RUNDATA* rd, const Char* caption);

// The object moves to the point of an ellipse at `radians` (clockwise on the screen, from the right):
// centre + radius x cosine across, centre + radius x sine down, in single precision, truncated.
void placeOnEllipse(voObject* object, float radians, int32_t centreX, int32_t centreY, int32_t radiusX,
                    int32_t radiusY);

}  // namespace nimbo::align
