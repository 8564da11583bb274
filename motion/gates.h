// What the steps run before they move an object: the gates that can hold an entry still for a frame,
// and the grow-radius cycle.
#pragma once

#include <cstdint>

#include "motion/control_entry.h"

namespace nimbo::motion {

// Go: the step moves the object this frame. Halt: it ends at once; values the gate wrote stay written.
enum class Gate { go, halt };

// The sleep/interval cycle; writes the sleep countdown to B and the interval countdown to C.
Gate sleepIntervalGate(ControlEntry& entry, voObject* object);

// The pause after a fixed-angle rotation, and its end; writes the pause countdown to C.
Gate orbitPauseGate(ControlEntry& entry, voObject* object);

// Radius 1 after this frame's grow step; its hold countdown goes to E.
int32_t stepRadius1(ControlEntry& entry, voObject* object);
// Radius 2 after this frame's grow step (orbits).
int32_t stepRadius2(ControlEntry& entry);

}  // namespace nimbo::motion
