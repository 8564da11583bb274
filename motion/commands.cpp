// The by-name commands that change entries where they stand: stop and toggle, the alpha coefficient,
// reverse, set target, sleep, fixed-angle rotation, grow radius and the delayed reject. Objects the host
// has destroyed keep their entries until a reject, delete or update; only their fields change here.
#include <array>
#include <optional>

#include "motion/messages.h"
#include "motion/registry.h"
#include "motion/routines.h"
#include "motion/selection.h"
#include "params/param_strings.h"
#include "platform/platform.h"
#include "record/host_access.h"

namespace nimbo::motion {

namespace {

template <typename Change>
void forEachSelected(RUNDATA* rd, const Selection& selection, Change change) {
  for (ControlEntry& entry : rd->controlList) {
    if (selection.selects(entry)) change(entry);
  }
}

int32_t negated(int32_t value) {
  return wrapped(-int64_t{value});
}

// Stop and toggle tell the designer, under the pop-up setting, when nothing is registered at all (M1)
// and when no group has the name (M2).
template <typename Change>
int32_t changeMoving(voHeader* header, const Char* nothingRegistered, const Char* word, Change change) {
  RUNDATA* rd = runData(header);
  Text name = nameParameter(rd);
  if (rd->motionGroups.empty()) {
    if (rd->popupSetting == 1)
      platform::messageBox((nothingRegistered + name).c_str(), kNothingRegisteredCaption);
    return 0;
  }
  Selection selection = selectByName(rd, name);
  if (selection.kind == Selection::none) {
    reportUnknownName(rd, name, word);
    return 0;
  }
  forEachSelected(rd, selection, change);
  return 0;
}

// A new direction shows at once; an object the host destroyed is not touched.
void face(RUNDATA* rd, voObject* object, Direction direction) {
  if (!object) return;
  writeDirection(object, direction);
  updateAnimation(services(rd), object);
}

void reverse(RUNDATA* rd, ControlEntry& entry) {
  voObject* object = liveObject(entry);
  switch (entry.motionKind) {
    case kNullMotion:
      break;
    case kHorizontal:
    case kHorizontalWave:
      entry.xSpeed = negated(entry.xSpeed);
      face(rd, object, entry.xSpeed < 0 ? kLeft : kRight);
      break;
    case kVertical:
    case kVerticalWave:
      entry.ySpeed = negated(entry.ySpeed);
      face(rd, object, entry.ySpeed < 0 ? kUp : kDown);
      break;
    case kOrbit:
      entry.angularVelocity = negated(entry.angularVelocity);
      break;
    default:
      entry.xSpeed = negated(entry.xSpeed);
      face(rd, object, kRight);
      break;
  }
}

// "Angle, TimeInterval, Repetition, MomentaryPause": a momentary pause stops the orbit on each angle
// instead of pausing it; no repetition or no angle means no rotation at all.
struct FixedAngleRotation {
  int32_t angle, interval, repetition;
  uint8_t momentaryPause;
};

enum RotateParam : size_t { kAngle, kTimeInterval, kRepetition, kMomentaryPause };

FixedAngleRotation rotationOf(const std::array<int32_t, 10>& numbers) {
  FixedAngleRotation rotation{numbers[kAngle], numbers[kTimeInterval], numbers[kRepetition], 0};
  if (numbers[kMomentaryPause] == 1) {
    rotation.interval = 0;
    rotation.momentaryPause = 1;
  }
  if (rotation.repetition == 0 || rotation.angle == 0)
    rotation.angle = rotation.interval = rotation.repetition = 0;
  return rotation;
}

void startRotation(ControlEntry& entry, const FixedAngleRotation& rotation) {
  entry.moving = 1;
  entry.rotateActive = 1;
  entry.momentaryPause = rotation.momentaryPause;
  entry.rotatedSoFar = 0;
  entry.intervalCount = 0;
  entry.rotationAngle = rotation.angle;
  entry.intervalFrames = rotation.interval;
  entry.rotationRepetition = rotation.repetition;
}

enum GrowParam : size_t {
  kMaxRad1,
  kMinRad1,
  kDelta1,
  kInterval1,
  kRep1,
  kMaxRad2,
  kMinRad2,
  kDelta2,
  kInterval2,
  kRep2
};

// Starts (or, with no change per frame, ends) the grow-radius cycle of a wave's amplitude or an orbit's
// two radii. False for the other kinds, which have no radius to grow.
bool growRadius(ControlEntry& e, const std::array<int32_t, 10>& p) {
  bool wave = e.motionKind == kHorizontalWave || e.motionKind == kVerticalWave;
  bool orbit = e.motionKind == kOrbit;
  if (!wave && !orbit) return false;
  if (p[kDelta1] == 0 && (wave || p[kDelta2] == 0)) {
    e.growRadius = 0;
    return true;
  }
  if (voObject* object = liveObject(e)) writeValue(object, kValueE, -1);
  e.growRadius = 1;
  e.growMax1 = p[kMaxRad1];
  e.growMin1 = p[kMinRad1];
  e.growDelta1 = p[kDelta1];
  e.growHold1 = 0;
  e.growHoldFrames1 = p[kInterval1];
  e.growHoldCount1 = -1;
  e.growRepetition1 = p[kRep1];
  if (!orbit) return true;
  e.growHold2 = 0;
  e.growMax2 = p[kMaxRad2];
  e.growMin2 = p[kMinRad2];
  e.growDelta2 = p[kDelta2];
  e.growHoldFrames2 = p[kInterval2];
  e.growHoldCount2 = -1;
  e.growRepetition2 = p[kRep2];
  return true;
}

// The hit or miss of a grow radius: whether some selected entry is a wave or an orbit. Nothing
// registered and a name no group has miss before the text is read.
bool growSelected(RUNDATA* rd, const Text& name) {
  if (rd->motionGroups.empty()) return false;
  Selection selection = selectByName(rd, name);
  if (selection.kind == Selection::none) return false;
  std::optional<params::ParamNumbers> numbers =
      params::readParamString(textParameter(rd), params::kGrowRadiusParams);
  if (!numbers) return false;
  bool hit = false;
  forEachSelected(rd, selection,
                  [&](ControlEntry& entry) { hit = growRadius(entry, numbers->integers) || hit; });
  return hit;
}

}  // namespace

int32_t VO_CALL StopAll(voHeader* header, voValue, voValue) {
  return changeMoving(header, kStopNothingRegisteredText, kStopError,
                      [](ControlEntry& entry) { entry.moving = 0; });
}

int32_t VO_CALL ToggleStopMoveFlag(voHeader* header, voValue, voValue) {
  return changeMoving(header, kToggleNothingRegisteredText, kToggleError,
                      [](ControlEntry& entry) { entry.moving ^= 1; });
}

// Selects by each entry's own group name, without looking at the groups.
int32_t VO_CALL SetAlphaCoefficientParam(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  Text name = nameParameter(rd);
  int32_t value = numberParameter(rd);
  for (const ControlEntry& entry : rd->controlList) {
    voObject* object = liveObject(entry);
    if (object && (name.empty() || entry.groupName == name)) setAlphaCoefficient(object, value);
  }
  return 0;
}

int32_t VO_CALL ReverseMovement(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  Selection selection = selectByName(rd, nameParameter(rd));
  forEachSelected(rd, selection, [&](ControlEntry& entry) { reverse(rd, entry); });
  return 0;
}

// Only orbits around a target change centre. The host gives the object of this call's selected instance;
// a null one leaves the orbits as they are.
int32_t VO_CALL SetTargetAt(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  Selection selection = selectByName(rd, nameParameter(rd));
  voObject* target = objectParameter(rd);
  if (!target) return 0;
  forEachSelected(rd, selection, [&](ControlEntry& entry) {
    if (entry.motionKind == kOrbit && entry.hasTarget == 1) entry.target = target;
  });
  return 0;
}

// Orbits keep their interval fields for the pause of a fixed-angle rotation.
int32_t VO_CALL InsertSleep(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  Selection selection = selectByName(rd, nameParameter(rd));
  int32_t sleep = numberParameter(rd);
  int32_t interval = numberParameter(rd);
  int32_t repetition = numberParameter(rd);
  forEachSelected(rd, selection, [&](ControlEntry& entry) {
    entry.sleepFrames = sleep;
    entry.repetition = repetition;
    if (entry.motionKind == kOrbit) return;
    entry.intervalFrames = interval;
    entry.intervalCount = interval;
    entry.inInterval = 0;
  });
  return 0;
}

// An empty name addresses every entry, as in the other commands. Every selected entry starts moving,
// whatever its kind; only orbits turn by the angle.
int32_t VO_CALL SetAngularRotate(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  Text name = nameParameter(rd);
  if (rd->motionGroups.empty()) return 0;
  Selection selection = selectByName(rd, name);
  if (selection.kind == Selection::none) return 0;
  std::optional<params::ParamNumbers> numbers =
      params::readParamString(textParameter(rd), params::kAngularRotateParams);
  if (!numbers) return 0;
  FixedAngleRotation rotation = rotationOf(numbers->integers);
  forEachSelected(rd, selection, [&](ControlEntry& entry) { startRotation(entry, rotation); });
  return 0;
}

// M3 follows the parameter string's own box when the text did not fit.
int32_t VO_CALL GrowRadius(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  Text name = nameParameter(rd);
  if (!growSelected(rd, name)) platform::messageBox(kGrowRadiusMissedText, kGrowRadiusMissedCaption);
  return 0;
}

// The delayed-reject step counts each delay down once per frame step and removes the entry on the step
// after it reached -1. A name no group has leaves earlier armed entries counting.
int32_t VO_CALL RejectWithTimeDelay(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  Selection selection = selectByName(rd, nameParameter(rd));
  int32_t delay = numberParameter(rd);
  if (selection.kind == Selection::none) return 0;
  forEachSelected(rd, selection, [&](ControlEntry& entry) {
    entry.rejectArmed = 1;
    entry.rejectDelay = delay;
  });
  rd->pendingReject = 1;
  return 0;
}

}  // namespace nimbo::motion
