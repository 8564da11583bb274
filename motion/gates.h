// What the steps run before they move an object: the gates that can hold an entry still for a frame,
// and the grow-radius cycle.
#pragma once

#include <cstdint>

#include "record/control_entry.h"
#include "record/host_access.h"

namespace nimbo::motion {

// Go: the step moves the object this frame. Halt: it ends at once; values the gate wrote stay written.
enum class Gate { go, halt };

// The sleep/interval cycle of an entry that has one, or had one: its fields are not all 0.
Gate runSleepIntervalCycle(ControlEntry& entry, voObject* object);

// The sleep/interval cycle; writes the sleep countdown to B and the interval countdown to C. Every step
// of every entry passes it, and most entries never had a cycle: those only find B at 0, inline.
inline Gate sleepIntervalGate(ControlEntry& e, voObject* object) {
  if ((e.inInterval | e.sleepCount | e.sleepFrames | e.repetition | e.intervalCount | e.intervalFrames) != 0)
    return runSleepIntervalCycle(e, object);
  writeValue(object, kValueB, 0);
  return Gate::go;
}

// The pause after a fixed-angle rotation, and its end, while one is due or runs.
Gate runOrbitPause(ControlEntry& entry, voObject* object);

// The pause after a fixed-angle rotation, and its end; writes the pause countdown to C.
inline Gate orbitPauseGate(ControlEntry& e, voObject* object) {
  bool rotationEnds = e.rotateActive == 1 && e.rotationRepetition == 0;
  bool pausing = e.intervalFrames != 0 && e.intervalCount != 0;
  return rotationEnds || pausing ? runOrbitPause(e, object) : Gate::go;
}

// One frame of the grow-radius cycle for radius 1 (its hold countdown goes to E) or radius 2; each
// gives the radius it leaves.
int32_t growRadius1(ControlEntry& entry, voObject* object);
int32_t growRadius2(ControlEntry& entry);

// Radius 1 or 2 after this frame's grow step: unchanged while no cycle runs.
inline int32_t stepRadius1(ControlEntry& entry, voObject* object) {
  return entry.growRadius == 0 ? entry.radius1 : growRadius1(entry, object);
}
inline int32_t stepRadius2(ControlEntry& entry) {
  return entry.growRadius == 0 ? entry.radius2 : growRadius2(entry);
}

}  // namespace nimbo::motion
