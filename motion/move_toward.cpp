// Move toward a named target (actions 52 and 53): the catalog offers them and they take their
// parameters, but no move-toward motion exists yet, so they register nothing. Action 53 leaves the
// action-loop index in A, as the set-ups by parameter string do.
#include "motion/routines.h"
#include "record/host_access.h"

namespace nimbo::motion {

// The pattern number (parameter 3) is not read.
int32_t VO_CALL MoveTowardNamedTarget(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  if (!controllable(objectParameter(rd))) return 0;
  textParameter(rd);
  return 0;
}

// The "Frame, Option1, Option2" string (parameter 5) is not read.
int32_t VO_CALL MoveTowardNamedTargetCustomParam(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  textParameter(rd);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  textParameter(rd);
  numberParameter(rd);
  writeValue(object, kValueA, actionLoopIndex(rd));
  return 0;
}

}  // namespace nimbo::motion
