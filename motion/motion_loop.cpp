// The motion loop: lets go of destroyed objects, then dispatches each moving entry to the step of its
// kind.
#include "motion/motion_loop.h"

#include "motion/object_fields.h"
#include "motion/steps.h"

namespace nimbo::motion {

namespace {

// The host marks a destroyed object and frees its record after this frame step, so the mark is seen
// here, once, before the pointer could dangle. The entry keeps its place in the lists (a by-name
// command removes it); it is never stepped again, and an orbit whose target went waits for a new one.
void forgetDestroyed(ControlEntry& entry) {
  if (entry.object && beingDestroyed(entry.object->rHo)) entry.object = nullptr;
  if (entry.target && beingDestroyed(entry.target->rHo)) entry.target = nullptr;
}

bool canStep(const ControlEntry& entry) {
  return entry.moving == 1 && entry.object &&
         !(entry.motionKind == kOrbit && entry.hasTarget == 1 && !entry.target);
}

}  // namespace

void runMotionLoop(RUNDATA* rd) {
  const size_t count = rd->controlList.size();
  for (size_t index = 0; index < count; ++index) {
    ControlEntry& entry = rd->controlList[index];
    forgetDestroyed(entry);
    if (!canStep(entry)) continue;
    switch (entry.motionKind) {
      case kHorizontal:
      case kVertical:
        stepStraight(rd, entry.object, index);
        break;
      case kHorizontalWave:
      case kVerticalWave:
        stepWave(rd, entry.object, index);
        break;
      case kOrbit:
        stepOrbit(rd, entry.object, index);
        break;
      default:
        break;
    }
  }
}

}  // namespace nimbo::motion
