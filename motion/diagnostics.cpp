// The motion controller's diagnostics: the counts of groups and entries, the registry and group
// listings, a group's name by position, and the angle-to-direction conversion. A listing reads an
// object only while the host keeps it; each text result lives in the record until the same expression
// runs again.
#include <cmath>
#include <cstdint>
#include <locale>
#include <sstream>
#include <string>

#include "motion/messages.h"
#include "motion/registry.h"
#include "motion/routines.h"
#include "record/host_access.h"

namespace nimbo::motion {

namespace {

constexpr size_t kGroupNameUnits = kGroupNameBufferBytes / sizeof(Char) - 1;  // 16, and a terminator
constexpr int32_t kStraightAbove = 180;  // internal angle of the designer's 0
constexpr int32_t kMemberAlpha = 0, kOtherAlpha = 200;

constexpr Char kRule[] = NIMBO_TEXT("-+++-+++-+++-+++-+++-+++-+++-+++-+++-\n");

Text widened(const std::string& ascii) {
  return Text(ascii.begin(), ascii.end());
}

// As a text stream in the classic locale writes a pointer, the same on every build.
Text pointerText(const voObject* object) {
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream << static_cast<const void*>(object);
  return widened(stream.str());
}

// The designer's angle with at least three digits: -5 gives -005, 45 gives 045, 1000 gives 1000.
Text angleText(int32_t angle) {
  int64_t shown = int64_t{angle} - kStraightAbove;
  std::string digits = std::to_string(shown < 0 ? -shown : shown);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return widened(shown < 0 ? "-" + digits : digits);
}

bool hasRadius(const ControlEntry& e) {
  return e.motionKind == kHorizontalWave || e.motionKind == kVerticalWave || e.motionKind == kOrbit;
}

Text growText(const ControlEntry& e) {
  if (e.growRadius == 0) return NIMBO_TEXT(" : gRD false ");
  return NIMBO_TEXT(" : gRD={") + decimal(e.growMax1) + NIMBO_TEXT(",") + decimal(e.growMin1) +
         NIMBO_TEXT(",") + decimal(e.growDelta1) + NIMBO_TEXT(",") + decimal(e.growRepetition1) +
         NIMBO_TEXT("}");
}

Text wallsText(const ControlEntry& e) {
  return NIMBO_TEXT(" : TLRB={") + decimal(e.wallTop) + NIMBO_TEXT(",") + decimal(e.wallLeft) +
         NIMBO_TEXT(",") + decimal(e.wallRight) + NIMBO_TEXT(",") + decimal(e.wallBottom) + NIMBO_TEXT("}");
}

// An object the host destroyed has no position to show.
Text positionText(const ControlEntry& e) {
  const voObject* object = liveObject(e);
  if (!object) return Text();
  return NIMBO_TEXT(" : X ") + decimal(object->rHo.hoX) + NIMBO_TEXT(" : Y ") + decimal(object->rHo.hoY);
}

Text waveText(const ControlEntry& e) {
  return NIMBO_TEXT(" : AG ") + angleText(e.angle) + NIMBO_TEXT(" : Ampl ") + decimal(e.radius1) +
         NIMBO_TEXT(" : AVE ") + decimal(e.angularVelocity);
}

Text orbitText(const ControlEntry& e) {
  Text text = NIMBO_TEXT(" : AG ") + angleText(e.angle) + NIMBO_TEXT(" : AVE ") + decimal(e.angularVelocity);
  if (e.radius1 != e.radius2) {
    text += NIMBO_TEXT(" : RADx ") + decimal(e.radius1) + NIMBO_TEXT(" : RADy ") + decimal(e.radius2);
  } else {
    text += NIMBO_TEXT(" : RAD ") + decimal(e.radius1);
  }
  return text + positionText(e);
}

Text motionText(const ControlEntry& e) {
  switch (e.motionKind) {
    case kNullMotion:
      return positionText(e);
    case kHorizontal:
      return NIMBO_TEXT(" : xSPD ") + decimal(e.xSpeed);
    case kVertical:
      return NIMBO_TEXT(" : ySPD ") + decimal(e.ySpeed);
    case kHorizontalWave:
      return NIMBO_TEXT(" : xSPD ") + decimal(e.xSpeed) + waveText(e);
    case kVerticalWave:
      return NIMBO_TEXT(" : ySPD ") + decimal(e.ySpeed) + waveText(e);
    case kOrbit:
      return orbitText(e);
    default:
      return Text();
  }
}

// One entry on one line; the registry listing also names the entry's group identifier.
Text entryLine(const ControlEntry& e, bool withGroupId) {
  Text line = pointerText(e.object);
  if (withGroupId) line += NIMBO_TEXT(" : GID ") + decimal(e.groupId);
  line += NIMBO_TEXT(" : MTyp ") + decimal(e.motionKind);
  line += e.rejectArmed == 1 ? NIMBO_TEXT(" : rFlg true : TD ") + decimal(e.rejectDelay)
                             : Text(NIMBO_TEXT(" : rFlg false"));
  if (hasRadius(e)) line += growText(e);
  if (e.motionKind == kNullMotion) {
    line += NIMBO_TEXT(" : Null Motion ");
  } else if (e.moving == 0) {
    line += NIMBO_TEXT(" : STOP");
  }
  if (e.motionKind != kNullMotion && e.motionKind != kOrbit) line += wallsText(e);
  return line + motionText(e);
}

// A group's member count, found by its identifier rather than by position, so the listing never depends
// on the two lists staying in step.
int32_t memberCount(const RUNDATA* rd, int32_t identifier) {
  for (const GroupCount& count : rd->groupCounts) {
    if (count.first == identifier) return count.second;
  }
  return 0;
}

Text registryHeader(const RUNDATA* rd) {
  Text text =
      NIMBO_TEXT("Registerd MotionGroup = ") + decimal(rd->motionGroups.size()) + NIMBO_TEXT("\n") + kRule;
  for (const MotionGroup& group : rd->motionGroups) {
    text += NIMBO_TEXT("MotionGroupIdentifier ") + decimal(group.MotionGroupIdentifier) +
            NIMBO_TEXT("  :  Name  = ") + group.name + NIMBO_TEXT(" ( ") +
            decimal(memberCount(rd, group.MotionGroupIdentifier)) + NIMBO_TEXT(" )\n");
  }
  return text + kRule;
}

// Members are listed and shown opaque; every other controlled object leaves an empty line and is dimmed.
Text groupListing(RUNDATA* rd, const MotionGroup& group) {
  Text text = NIMBO_TEXT("Selected MotionGroup Name : ") + group.name + NIMBO_TEXT("\n") +
              NIMBO_TEXT("MotionGroupIdentifier : ") + decimal(group.MotionGroupIdentifier) +
              NIMBO_TEXT("\n") + kRule;
  int64_t members = 0;
  for (const ControlEntry& entry : rd->controlList) {
    bool member = entry.groupId == group.MotionGroupIdentifier;
    if (member) {
      text += entryLine(entry, false);
      ++members;
    }
    if (voObject* object = liveObject(entry))
      setAlphaCoefficient(object, member ? kMemberAlpha : kOtherAlpha);
    text += NIMBO_TEXT("\n");
  }
  return text + kRule + NIMBO_TEXT("In Group Total Objects : ") + decimal(members) + NIMBO_TEXT("\n");
}

const MotionGroup* groupNamed(const RUNDATA* rd, const Text& name) {
  for (const MotionGroup& group : rd->motionGroups) {
    if (group.name == name) return &group;
  }
  return nullptr;
}

// Clockwise from straight up, in single precision; no wrap-around, so -270 gives n and angles above 450
// give negative indexes.
int32_t directionIndex(int32_t angle, int32_t directions) {
  if (directions == 0) return 0;
  float a = static_cast<float>(angle);
  float t = a >= 0 ? 90.0f - a : std::fabs(a) + 90.0f;
  if (a >= 0 && t < 0) t += 360.0f;
  return truncateTowardZero(t / (360.0f / static_cast<float>(directions)));
}

}  // namespace

voValue VO_CALL Total_MotionGrp(voHeader* header, voValue) {
  return static_cast<voValue>(runData(header)->motionGroups.size());
}

voValue VO_CALL Total_Controlled(voHeader* header, voValue) {
  return static_cast<voValue>(runData(header)->controlList.size());
}

// With groups but no entry the header stands alone, never the text of an earlier call.
voValue VO_CALL INFO_CtrlledList(voHeader* header, voValue) {
  RUNDATA* rd = runData(header);
  rd->infoText.clear();
  if (!rd->motionGroups.empty()) {
    rd->infoText = registryHeader(rd);
    for (const ControlEntry& entry : rd->controlList)
      rd->infoText += entryLine(entry, true) + NIMBO_TEXT("\n");
  }
  return stringResult(rd, rd->infoText.c_str());
}

// A name no group has gives the empty text and changes no transparency.
voValue VO_CALL INFO_MotionGroup(voHeader* header, voValue hostValue) {
  RUNDATA* rd = runData(header);
  const auto* parameter =
      reinterpret_cast<const Char*>(firstExpressionParameter(rd, VO_EXPRESSION_STRING, hostValue));
  const MotionGroup* group = groupNamed(rd, parameter ? Text(parameter) : Text());
  rd->groupInfoText = group ? groupListing(rd, *group) : Text();
  return stringResult(rd, rd->groupInfoText.c_str());
}

// A position that names no group gives the empty text; a name the 34-byte buffer cannot hold, the box.
voValue VO_CALL NAME_MotionGroup(voHeader* header, voValue hostValue) {
  RUNDATA* rd = runData(header);
  auto position = static_cast<int32_t>(firstExpressionParameter(rd, VO_EXPRESSION_INTEGER, hostValue));
  if (position < 0 || static_cast<size_t>(position) >= rd->motionGroups.size())
    return stringResult(rd, kEmpty);
  const Text& name = rd->motionGroups[static_cast<size_t>(position)].name;
  if (name.size() > kGroupNameUnits) {
    platform::messageBox(kNameOverLimitText, kNameOverLimitCaption);
    return stringResult(rd, kEmpty);
  }
  if (!rd->groupNameBuffer) return stringResult(rd, kEmpty);
  std::char_traits<Char>::copy(rd->groupNameBuffer, name.c_str(), name.size() + 1);
  return stringResult(rd, rd->groupNameBuffer);
}

voValue VO_CALL AngleToConvertCTAnimDirs(voHeader* header, voValue hostValue) {
  RUNDATA* rd = runData(header);
  auto angle = static_cast<int32_t>(firstExpressionParameter(rd, VO_EXPRESSION_INTEGER, hostValue));
  auto directions = static_cast<int32_t>(nextExpressionParameter(rd, VO_EXPRESSION_INTEGER, hostValue));
  return directionIndex(angle, directions);
}

}  // namespace nimbo::motion
