// The sleep/interval gate, the orbit pause gate and the grow-radius step. Their phases live in the
// entry's fields, so an entry can be stopped, changed by a command and resumed at any frame.
#include "motion/gates.h"

#include <cassert>

#include "record/host_access.h"

namespace nimbo::motion {

namespace {

// A field already clear is not written: a long list then stays clean in the cache from frame to frame.
void clear(int32_t& field) {
  if (field != 0) field = 0;
}

void clear(uint8_t& flag) {
  if (flag != 0) flag = 0;
}

// One radius's grow cycle, and the other radius's fields that decide when the whole cycle ends.
struct GrowCycle {
  int32_t& radius;
  uint8_t& hold;
  int32_t &max, &min, &delta, &holdCount, &holdFrames, &repetition;
  const int32_t &otherDelta, &otherRepetition;
};

GrowCycle radius1Cycle(ControlEntry& e) {
  return {e.radius1,        e.growHold1,       e.growMax1,        e.growMin1,   e.growDelta1,
          e.growHoldCount1, e.growHoldFrames1, e.growRepetition1, e.growDelta2, e.growRepetition2};
}

GrowCycle radius2Cycle(ControlEntry& e) {
  return {e.radius2,        e.growHold2,       e.growMax2,        e.growMin2,   e.growDelta2,
          e.growHoldCount2, e.growHoldFrames2, e.growRepetition2, e.growDelta1, e.growRepetition1};
}

// A negative repetition runs endlessly; 0 stops this radius, and the whole cycle with the other's.
void endHold(ControlEntry& entry, GrowCycle& cycle) {
  cycle.hold = 0;
  if (cycle.repetition > 0) {
    --cycle.repetition;
  } else if (cycle.repetition == 0) {
    cycle.delta = 0;
    if (cycle.otherDelta == 0 && cycle.otherRepetition == 0) entry.growRadius = 0;
  }
  cycle.delta = wrapped(-int64_t{cycle.delta});
  cycle.holdCount = -1;
}

void startHold(GrowCycle& cycle, int32_t limit) {
  cycle.radius = limit;
  cycle.hold = 1;
  cycle.holdCount = cycle.holdFrames;
}

// While the cycle runs; `countdown` receives the hold countdown in E (radius 1 only).
int32_t stepRadius(ControlEntry& entry, GrowCycle cycle, voObject* countdown) {
  if (cycle.hold == 1 && cycle.holdCount == 0) {
    endHold(entry, cycle);
    if (countdown) writeValue(countdown, kValueE, -1);
  } else if (cycle.hold == 1 && cycle.holdCount > 0) {
    --cycle.holdCount;
    if (countdown) writeValue(countdown, kValueE, cycle.holdCount);
    return cycle.radius;
  }
  int64_t grown = int64_t{cycle.radius} + cycle.delta;
  if (cycle.delta >= 1 && grown >= cycle.max) {
    startHold(cycle, cycle.max);
  } else if (cycle.delta < 0 && grown <= cycle.min) {
    startHold(cycle, cycle.min);
  } else {
    cycle.radius = wrapped(grown);
  }
  return cycle.radius;
}

}  // namespace

// A cycle that starts with intervalCount = intervalFrames moves the object intervalFrames + 2 frames,
// then holds it sleepFrames frames.
Gate runSleepIntervalCycle(ControlEntry& e, voObject* object) {
  if (e.inInterval == 1) {
    if (e.intervalCount != 0) {
      --e.intervalCount;
      writeValue(object, kValueC, e.intervalCount);
      return Gate::go;
    }
    e.sleepCount = e.sleepFrames;
    e.inInterval = 0;
    e.intervalCount = e.intervalFrames;
    writeValue(object, kValueB, e.sleepCount);
    writeValue(object, kValueC, e.intervalCount);
    return Gate::go;
  }
  if (e.sleepCount > 0) {
    --e.sleepCount;
    writeValue(object, kValueB, e.sleepCount);
    return Gate::halt;
  }
  if (e.repetition != 0) {
    if (e.repetition > 0) --e.repetition;
    if (e.intervalFrames > 0 && e.motionKind != kOrbit) {
      e.inInterval = 1;
      return Gate::go;
    }
    e.sleepCount = e.sleepFrames;
    writeValue(object, kValueB, e.sleepCount);
    return Gate::go;
  }
  clear(e.sleepCount);
  clear(e.sleepFrames);
  clear(e.inInterval);
  if (e.motionKind != kOrbit) {  // orbits keep their interval fields for the pause
    clear(e.intervalFrames);
    clear(e.intervalCount);
  }
  writeValue(object, kValueB, 0);
  return Gate::go;
}

// intervalCount is -1 when a pause is due, then counts up to intervalFrames while C counts down: a pause
// of P frames holds the orbit P + 1 frames.
Gate runOrbitPause(ControlEntry& e, voObject* object) {
  if (e.rotateActive == 1 && e.rotationRepetition == 0) {
    e.moving = 0;
    e.rotateActive = 0;
    e.intervalCount = 0;
    e.intervalFrames = 0;
    e.rotationAngle = 0;
    writeValue(object, kValueC, 0);
    return Gate::halt;
  }
  assert(e.intervalFrames != 0 && e.intervalCount != 0);  // the inline gate lets every other orbit go
  if (e.intervalCount == -1) {
    e.intervalCount = 0;
    writeValue(object, kValueC, e.intervalFrames);
  }
  if (e.intervalCount == e.intervalFrames) {
    e.intervalCount = 0;
    if (e.rotationRepetition != -1 && e.rotationRepetition != 0)
      e.rotationRepetition = wrapped(int64_t{e.rotationRepetition} - 1);
    return Gate::halt;
  }
  e.intervalCount = wrapped(int64_t{e.intervalCount} + 1);
  writeValue(object, kValueC, wrapped(int64_t{readValue(object, kValueC)} - 1));
  return Gate::halt;
}

int32_t growRadius1(ControlEntry& entry, voObject* object) {
  return stepRadius(entry, radius1Cycle(entry), object);
}

int32_t growRadius2(ControlEntry& entry) {
  return stepRadius(entry, radius2Cycle(entry), nullptr);
}

}  // namespace nimbo::motion
