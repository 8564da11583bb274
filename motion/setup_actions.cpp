// Set-up actions 17 to 29: each builds a template entry for the selected instance it serves and hands
// it to registerEntry. Straight and wave motions bounce or wrap at the window's edges until virtual
// walls say otherwise.
#include <algorithm>
#include <cassert>
#include <iterator>
#include <utility>

#include "motion/registry.h"
#include "motion/routines.h"
#include "params/param_strings.h"
#include "record/host_access.h"

namespace nimbo::motion {

namespace {

constexpr int32_t kStraightAbove = 180;  // internal angle of the designer's 0
constexpr int32_t kFullTurn = 360;

enum OrbitParam : size_t { kRad1, kRad2, kAngularVelocity, kAngleStartup, kCentreOffsetX, kCentreOffsetY };

// The name field need not hold a terminator: it is read up to its end at most.
Text typeName(const voObject* object) {
  assert(object->rHo.hoOiList);
  const Char* name = reinterpret_cast<const Char*>(object->rHo.hoOiList->oilName);
  return Text(name, std::find(name, name + std::size(object->rHo.hoOiList->oilName), Char{0}));
}

// An empty name parameter names the object's type, so every type forms its own group by default.
Text groupNameOf(const Char* name, const voObject* object) {
  return name && *name ? Text(name) : typeName(object);
}

ControlEntry templateOf(MotionKind kind, uint8_t flip, Text groupName) {
  ControlEntry entry;
  entry.motionKind = kind;
  entry.flip = flip;
  entry.groupName = std::move(groupName);
  return entry;
}

const voFrame& frameWindow(const RUNDATA* rd) {
  return *rd->rHo.hoAdRunHeader->rhFrame;
}

// Instances of a type spread evenly around their target: 360 / N degrees apart (truncated), N being the
// type's instance count.
int64_t spreadAngle(const RUNDATA* rd, const voObject* object) {
  int32_t instances = object->rHo.hoOiList->oilNObjects;
  return instances > 0 ? int64_t{kFullTurn / instances} * actionLoopIndex(rd) : 0;
}

// Set-up angles are not reduced; one beyond the 32-bit range is taken modulo 360, the same direction.
int32_t internalAngle(int64_t degrees) {
  return degrees == wrapped(degrees) ? wrapped(degrees) : wrapped(degrees % kFullTurn);
}

void horizontalWalls(ControlEntry& entry, const RUNDATA* rd) {
  entry.wallLeft = 0;
  entry.wallRight = frameWindow(rd).windowWidth;
}

void verticalWalls(ControlEntry& entry, const RUNDATA* rd) {
  entry.wallTop = 0;
  entry.wallBottom = frameWindow(rd).windowHeight;
}

int32_t setUpStraight(voHeader* header, MotionKind kind, uint8_t flip) {
  RUNDATA* rd = runData(header);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  ControlEntry entry = templateOf(kind, flip, typeName(object));
  if (kind == kHorizontal) {
    entry.xSpeed = numberParameter(rd);
    horizontalWalls(entry, rd);
  } else {
    entry.ySpeed = numberParameter(rd);
    verticalWalls(entry, rd);
  }
  registerEntry(rd, object, entry);
  return 0;
}

int32_t setUpWave(voHeader* header, MotionKind kind, uint8_t flip) {
  RUNDATA* rd = runData(header);
  const Char* name = textParameter(rd);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  ControlEntry entry = templateOf(kind, flip, groupNameOf(name, object));
  int32_t speed = numberParameter(rd);
  entry.radius1 = numberParameter(rd);
  entry.angularVelocity = numberParameter(rd);
  if (kind == kHorizontalWave) {
    entry.xSpeed = speed;
    entry.originY = object->rHo.hoY;
    horizontalWalls(entry, rd);
  } else {
    entry.ySpeed = speed;
    entry.originX = object->rHo.hoX;
    verticalWalls(entry, rd);
  }
  registerEntry(rd, object, entry);
  return 0;
}

ControlEntry ownOrbit(const voObject* object, Text groupName) {
  ControlEntry entry = templateOf(kOrbit, 0, std::move(groupName));
  entry.originX = object->rHo.hoX;
  entry.originY = object->rHo.hoY;
  return entry;
}

ControlEntry targetOrbit(voObject* target, Text groupName) {
  ControlEntry entry = templateOf(kOrbit, 0, std::move(groupName));
  entry.hasTarget = 1;
  entry.target = target;
  return entry;
}

// "Rad1, Rad2, AngularVelocity, AngleStartup, CentreOffset-X, CentreOffset-Y" into orbitParams; false,
// after the box, when the text is no such list.
bool ocSetup_REGEX_input_Params_Orb(RUNDATA* rd, const Char* text) {
  std::optional<params::ParamNumbers> numbers = params::readParamString(text, params::kOrbitSetupParams);
  if (!numbers) return false;
  std::copy_n(numbers->integers.begin(), std::size(rd->orbitParams), std::begin(rd->orbitParams));
  return true;
}

// The string is read for the first selected instance only; later ones take its numbers as stored,
// also after a string that did not match.
void setUpFromOrbitParams(RUNDATA* rd, voObject* object, ControlEntry entry) {
  int32_t index = actionLoopIndex(rd);
  writeValue(object, kValueA, index);
  if (index == 0) {
    if (!ocSetup_REGEX_input_Params_Orb(rd, textParameter(rd))) return;
  }
  const int32_t* numbers = rd->orbitParams;
  int64_t start = numbers[kAngleStartup];
  if (entry.hasTarget == 1) start += spreadAngle(rd, object);
  entry.radius1 = numbers[kRad1];
  entry.radius2 = numbers[kRad2];
  entry.angularVelocity = numbers[kAngularVelocity];
  entry.angle = internalAngle(start + kStraightAbove);
  entry.centreOffsetX = numbers[kCentreOffsetX];
  entry.centreOffsetY = numbers[kCentreOffsetY];
  int64_t shown = (start + kStraightAbove) % kFullTurn;
  if (entry.angularVelocity < 0 && shown < 0) shown += kFullTurn;
  writeValue(object, kValueB, wrapped(shown - kStraightAbove));
  registerEntry(rd, object, entry);
}

}  // namespace

int32_t VO_CALL WrapAtWindowWidth(voHeader* header, voValue, voValue) {
  return setUpStraight(header, kHorizontal, 0);
}

int32_t VO_CALL FlipAtWindowWidth(voHeader* header, voValue, voValue) {
  return setUpStraight(header, kHorizontal, 1);
}

int32_t VO_CALL WrapAtWindowHeight(voHeader* header, voValue, voValue) {
  return setUpStraight(header, kVertical, 0);
}

int32_t VO_CALL FlipAtWindowHeight(voHeader* header, voValue, voValue) {
  return setUpStraight(header, kVertical, 1);
}

int32_t VO_CALL OrbitalAroundOwnXY(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  ControlEntry entry = ownOrbit(object, typeName(object));
  entry.radius1 = entry.radius2 = numberParameter(rd);
  entry.angularVelocity = numberParameter(rd);
  entry.angle = kStraightAbove;
  registerEntry(rd, object, entry);
  return 0;
}

int32_t VO_CALL OrbitalAroundTargetXY(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  voObject* target = objectParameter(rd);
  if (!controllable(target)) return 0;
  ControlEntry entry = targetOrbit(target, typeName(object));
  entry.radius1 = entry.radius2 = numberParameter(rd);
  entry.angularVelocity = numberParameter(rd);
  entry.angle = internalAngle(kStraightAbove + spreadAngle(rd, object));
  registerEntry(rd, object, entry);
  return 0;
}

int32_t VO_CALL NullMotion(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  registerEntry(rd, object, templateOf(kNullMotion, 0, groupNameOf(textParameter(rd), object)));
  return 0;
}

int32_t VO_CALL WrapAtWindowWidthSineWave(voHeader* header, voValue, voValue) {
  return setUpWave(header, kHorizontalWave, 0);
}

int32_t VO_CALL FlipAtWindowWidthSineWave(voHeader* header, voValue, voValue) {
  return setUpWave(header, kHorizontalWave, 1);
}

int32_t VO_CALL WrapAtWindowHeightSineWave(voHeader* header, voValue, voValue) {
  return setUpWave(header, kVerticalWave, 0);
}

int32_t VO_CALL FlipAtWindowHeightSineWave(voHeader* header, voValue, voValue) {
  return setUpWave(header, kVerticalWave, 1);
}

int32_t VO_CALL OrbitAroundOwnXYPos(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  const Char* name = textParameter(rd);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  setUpFromOrbitParams(rd, object, ownOrbit(object, groupNameOf(name, object)));
  return 0;
}

int32_t VO_CALL OrbitAroundTargetXYPos(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  const Char* name = textParameter(rd);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  voObject* target = objectParameter(rd);
  if (!controllable(target)) return 0;
  setUpFromOrbitParams(rd, object, targetOrbit(target, groupNameOf(name, object)));
  return 0;
}

}  // namespace nimbo::motion
