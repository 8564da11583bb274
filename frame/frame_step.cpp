// HandleRunObject: once per frame step, the pending conditions are raised in the order 6, 3, 2, 1, 0
// (each evaluated by the host at once, before anything moves), then the controlled objects move.
#include <cassert>

#include "frame/barrier.h"
#include "frame/exports.h"
#include "frame/routines.h"
#include "motion/motion_loop.h"
#include "motion/registry.h"

using namespace nimbo;

namespace {

enum RaisedCondition : int32_t {
  kRegexError = 0,
  kAutoPosition = 1,
  kPathConfirmed = 2,
  kPathInvalid = 3,
  kMismatch = 6,
};

void raise(RUNDATA* rd, int32_t code) {
  services(rd).generateEvent(&rd->rHo, code, 0);
}

// A one-shot flag is raised once: 1 -> raised -> -1.
void raiseOnce(RUNDATA* rd, int32_t& flag, int32_t code) {
  if (flag != 1) return;
  raise(rd, code);
  flag = -1;
}

}  // namespace

int16_t VO_CALL HandleRunObject(voHeader* header) {
  return frame::shielded([&]() -> int16_t {
    assert(header && header->hoAdRunHeader);
    RUNDATA* rd = runData(header);
    if (rd->mismatchFlag == 1) raise(rd, kMismatch);
    raiseOnce(rd, rd->pathInvalid, kPathInvalid);
    raiseOnce(rd, rd->pathConfirmed, kPathConfirmed);
    if (rd->autoPositionFlag == 1) raise(rd, kAutoPosition);
    raise(rd, kRegexError);
    rd->regexErrorFlag = 0;

    motion::runMotionLoop(rd);
    if (!rd->controlList.empty() && rd->pendingReject == 1) motion::runDelayedRejects(rd);
    return 0;
  });
}
