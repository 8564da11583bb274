// Motion steps. Nothing registers an entry yet: the steps and the delayed reject arrive with the
// motion controller issue (#8), which replaces these bodies.
#include "motion/steps.h"

#include "motion/motion_loop.h"

namespace nimbo::motion {

void stepStraight(RUNDATA*, voObject*, size_t) {}
void stepWave(RUNDATA*, voObject*, size_t) {}
void stepOrbit(RUNDATA*, voObject*, size_t) {}
void runDelayedRejects(RUNDATA*) {}

}  // namespace nimbo::motion
