// The motion loop and the three per-frame steps it runs: straight wrap/flip, wrap/flip with a sine
// wave across, and the orbit. One file, so that each entry's path through the loop compiles as one
// piece. Positions are worked out in 64 bits and coordinates in double precision, truncated toward zero.
#include "motion/motion_loop.h"

#include <cstdint>
#include <cstdlib>

#include "motion/gates.h"
#include "motion/orbit.h"
#include "record/host_access.h"
#include "record/trigonometry.h"

namespace nimbo::motion {

namespace {

constexpr int32_t kFullTurn = 360;

int32_t magnitude(int32_t speed) {
  return wrapped(std::llabs(speed));
}

// The horizontal limits include the hot spot and one pixel more than the vertical ones.
void moveAcross(ControlEntry& e, voObject* object) {
  voHeader& o = object->rHo;
  int64_t left = int64_t{e.wallLeft} - o.hoImgWidth + o.hoImgXSpot + 1;
  int64_t right = int64_t{e.wallRight} + o.hoImgXSpot + 1;
  int64_t next = int64_t{o.hoX} + e.xSpeed;
  if (e.flip == 0) {
    o.hoX = wrapped(next >= right ? left : next <= left ? right : next);
  } else if (next >= right) {
    int64_t speed = e.xSpeed;
    e.xSpeed = wrapped(-speed);
    writeDirection(object, kLeft);
    o.hoX = wrapped(2 * right - next - speed);
  } else if (next <= left) {
    e.xSpeed = magnitude(e.xSpeed);
    writeDirection(object, kRight);
    o.hoX = wrapped(left);
  } else {
    o.hoX = wrapped(next);
  }
}

// One coordinate moving by its speed between two limits: past one it wraps to the other, or (flip)
// turns back, keeping the coordinate it reached.
struct Axis {
  int32_t& position;
  int32_t& speed;
  int64_t low, high;
  Direction backward, forward;
};

void moveAlong(const ControlEntry& e, voObject* object, Axis axis) {
  int64_t next = int64_t{axis.position} + axis.speed;
  axis.position = wrapped(next);
  if (e.flip == 0) {
    if (next >= axis.high) {
      axis.position = wrapped(axis.low);
    } else if (next <= axis.low) {
      axis.position = wrapped(axis.high);
    }
  } else if (next >= axis.high) {
    axis.speed = wrapped(-int64_t{axis.speed});
    writeDirection(object, axis.backward);
  } else if (next <= axis.low) {
    axis.speed = magnitude(axis.speed);
    writeDirection(object, axis.forward);
  }
}

// The vertical limits have no extra pixel.
void moveDown(ControlEntry& e, voObject* object) {
  voHeader& o = object->rHo;
  moveAlong(e, object,
            {o.hoY, e.ySpeed, int64_t{e.wallTop} - o.hoImgHeight + o.hoImgYSpot,
             int64_t{e.wallBottom} + o.hoImgYSpot, kUp, kDown});
}

// The wave's axis moves by its speed; the limits lie a whole object beyond the walls.
void waveAcross(ControlEntry& e, voObject* object, double offset) {
  voHeader& o = object->rHo;
  moveAlong(e, object,
            {o.hoX, e.xSpeed, int64_t{e.wallLeft} - o.hoImgWidth, int64_t{e.wallRight} + o.hoImgWidth, kLeft,
             kRight});
  o.hoY = toPixel(e.originY + offset);
}

void waveDown(ControlEntry& e, voObject* object, double offset) {
  voHeader& o = object->rHo;
  moveAlong(e, object,
            {o.hoY, e.ySpeed, int64_t{e.wallTop} - o.hoImgHeight, int64_t{e.wallBottom} + o.hoImgHeight, kUp,
             kDown});
  o.hoX = toPixel(e.originX + offset);
}

// The wave's angle is never reduced, so every sine is that of the angle as it grew. Only an angle about
// to leave the 32-bit range is taken modulo 360, which keeps the wave's phase.
int32_t nextWaveAngle(int32_t angle, int32_t velocity) {
  int64_t next = int64_t{angle} + velocity;
  return next == wrapped(next) ? wrapped(next) : wrapped(next % kFullTurn);
}

// The turn of this frame: the angular velocity, shortened so that a fixed-angle rotation ends exactly
// on its angle.
int64_t turnOf(ControlEntry& e) {
  if (e.rotationAngle == 0) return e.angularVelocity;
  int64_t turned = int64_t{e.rotatedSoFar} + e.angularVelocity;
  int64_t excess = std::llabs(turned) - std::llabs(e.rotationAngle);
  if (excess < 0) {
    e.rotatedSoFar = wrapped(turned);
    return e.angularVelocity;
  }
  e.rotatedSoFar = 0;
  e.intervalCount = -1;
  if (e.momentaryPause == 1) e.moving = 0;
  return e.angularVelocity > 0 ? e.angularVelocity - excess : e.angularVelocity + excess;
}

// The whole degrees of `turned` within one turn; a backward orbit keeps its angle positive.
int32_t orbitAngle(double turned, int32_t velocity) {
  int64_t angle = static_cast<int64_t>(turned) % kFullTurn;
  if (velocity < 0 && angle < 0) angle += kFullTurn;
  return wrapped(angle);
}

// The host marks a destroyed object and frees its record after this frame step, so the mark is seen
// here, once, before the pointer could dangle. The entry keeps its place in the lists (a by-name
// command removes it); it is never stepped again, and an orbit whose target went waits for a new one.
// Gives the object the entry keeps.
voObject* forgetDestroyed(ControlEntry& entry) {
  if (entry.hasTarget == 1 && entry.target && beingDestroyed(entry.target->rHo)) entry.target = nullptr;
  voObject* object = entry.object;
  if (object && beingDestroyed(object->rHo)) entry.object = object = nullptr;
  return object;
}

// Each step is given the entry, its live object and the host's services.
void stepStraight(ControlEntry& entry, voObject* object, const voServices& host) {
  if (sleepIntervalGate(entry, object) == Gate::halt) return;
  if (entry.motionKind == kHorizontal) {
    moveAcross(entry, object);
  } else {
    moveDown(entry, object);
  }
  if (entry.flip == 1) updateAnimation(host, object);
  redraw(host, object);
}

void stepWave(ControlEntry& entry, voObject* object, const voServices& host) {
  if (sleepIntervalGate(entry, object) == Gate::halt) return;
  int32_t amplitude = stepRadius1(entry, object);
  double offset = sineOfDegrees(entry.angle) * amplitude;
  if (entry.motionKind == kHorizontalWave) {
    waveAcross(entry, object, offset);
  } else {
    waveDown(entry, object, offset);
  }
  if (entry.flip == 1) updateAnimation(host, object);
  entry.angle = nextWaveAngle(entry.angle, entry.angularVelocity);
  redraw(host, object);
}

void stepOrbit(ControlEntry& entry, voObject* object, const voServices& host) {
  if (entry.hasTarget == 1 && !entry.target) return;
  if (sleepIntervalGate(entry, object) == Gate::halt) return;
  if (orbitPauseGate(entry, object) == Gate::halt) return;
  if (entry.angularVelocity == 0) return;
  Centre centre = orbitCentre(entry);
  int64_t turn = turnOf(entry);
  int32_t radius1 = stepRadius1(entry, object);
  int32_t radius2 = stepRadius2(entry);
  double turned = static_cast<double>(entry.angle) + static_cast<double>(turn);
  placeOnOrbit(object, centre, turned, radius1, radius2);
  entry.angle = orbitAngle(turned, entry.angularVelocity);
  writeValue(object, kValueD, entry.angle - 180);
  redraw(host, object);
}

// A long list does not fit the caches, and the processor's own prefetch stops at each page. Fetched
// while this entry moves: the entry two distances ahead, the second line of the one a distance ahead
// (waves and orbits read it) and its object's header and line of values A and B. No test on the kind or
// the object, to keep the cost per entry at a few instructions: a prefetch never faults, of a null
// object either.
constexpr size_t kPrefetchDistance = 8;
constexpr uintptr_t kCacheLine = 64;

// Forced inline, both: GCC takes a function that only prefetches for one without effects and drops its
// calls.
[[gnu::always_inline]] inline void prefetchLine(uintptr_t address) {
  __builtin_prefetch(reinterpret_cast<const void*>(address), 1);
}

[[gnu::always_inline]] inline void prefetchAhead(const ControlEntry* entry) {
  auto ahead = reinterpret_cast<uintptr_t>(entry + kPrefetchDistance);
  auto object = reinterpret_cast<uintptr_t>(entry[kPrefetchDistance].object);
  prefetchLine(ahead + kPrefetchDistance * sizeof(ControlEntry));
  prefetchLine(ahead + kCacheLine);
  prefetchLine(object);
  prefetchLine(object + kCacheLine);
}

void stepEntry(ControlEntry& entry, const voServices& host) {
  voObject* object = forgetDestroyed(entry);
  if (entry.moving != 1 || !object) return;
  switch (entry.motionKind) {
    case kHorizontal:
    case kVertical:
      stepStraight(entry, object, host);
      break;
    case kHorizontalWave:
    case kVerticalWave:
      stepWave(entry, object, host);
      break;
    case kOrbit:
      stepOrbit(entry, object, host);
      break;
    default:
      break;
  }
}

}  // namespace

// The host's redraw and animation calls run no event line, so nothing changes the list while it is
// stepped and its entries stay where they are.
void runMotionLoop(RUNDATA* rd) {
  const voServices& host = services(rd);
  ControlEntry* entries = rd->controlList.data();
  const size_t count = rd->controlList.size();
  for (size_t index = 0; index < count; ++index) {
    if (index + 2 * kPrefetchDistance < count) prefetchAhead(&entries[index]);
    stepEntry(entries[index], host);
  }
}

}  // namespace nimbo::motion
