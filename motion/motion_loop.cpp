// The motion loop: dispatches each moving entry to the step of its kind.
#include "motion/motion_loop.h"

#include "motion/steps.h"

namespace nimbo::motion {

void runMotionLoop(RUNDATA* rd) {
  const size_t count = rd->controlList.size();
  for (size_t index = 0; index < count && index < rd->controlList.size(); ++index) {
    ControlEntry& entry = rd->controlList[index];
    if (entry.moving != 1) continue;
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
