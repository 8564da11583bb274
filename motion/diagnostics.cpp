// The motion controller's diagnostics: the counts of groups and entries, the registry and group
// listings, a group's name by position, and the angle-to-direction conversion. A listing reads an
// object only while the host keeps it; each text result lives in the record until the same expression
// runs again.
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstdint>
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

// A listing written into one text, field after field: a registry of many entries is read every frame by
// some games, so no field makes a text of its own.
class Listing {
 public:
  explicit Listing(Text& text) : text_(text) {}

  Listing& operator<<(const Char* words) {
    text_ += words;
    return *this;
  }
  Listing& operator<<(const Text& words) {
    text_ += words;
    return *this;
  }
  template <std::integral Number>
  Listing& operator<<(Number number) {
    char digits[24];
    char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    text_.append(digits, end);
    return *this;
  }

 private:
  Text& text_;
};

// As a text stream writes a pointer: 0x and lowercase hexadecimal digits, a null pointer as 0.
void writePointer(Listing& out, const voObject* object) {
  auto address = reinterpret_cast<uintptr_t>(object);
  if (address == 0) {
    out << NIMBO_TEXT("0");
    return;
  }
  char digits[2 * sizeof address];
  char* end = std::to_chars(digits, digits + sizeof digits, address, 16).ptr;
  out << NIMBO_TEXT("0x") << Text(digits, end);
}

// The designer's angle with at least three digits: -5 gives -005, 45 gives 045, 1000 gives 1000.
void writeAngle(Listing& out, int32_t angle) {
  int64_t shown = int64_t{angle} - kStraightAbove;
  uint64_t size = shown < 0 ? static_cast<uint64_t>(-shown) : static_cast<uint64_t>(shown);
  if (shown < 0) out << NIMBO_TEXT("-");
  if (size < 100) out << (size < 10 ? NIMBO_TEXT("00") : NIMBO_TEXT("0"));
  out << size;
}

bool hasRadius(const ControlEntry& e) {
  return e.motionKind == kHorizontalWave || e.motionKind == kVerticalWave || e.motionKind == kOrbit;
}

void writeGrowth(Listing& out, const ControlEntry& e) {
  if (e.growRadius == 0) {
    out << NIMBO_TEXT(" : gRD false ");
    return;
  }
  out << NIMBO_TEXT(" : gRD={") << e.growMax1 << NIMBO_TEXT(",") << e.growMin1 << NIMBO_TEXT(",")
      << e.growDelta1 << NIMBO_TEXT(",") << e.growRepetition1 << NIMBO_TEXT("}");
}

void writeWalls(Listing& out, const ControlEntry& e) {
  out << NIMBO_TEXT(" : TLRB={") << e.wallTop << NIMBO_TEXT(",") << e.wallLeft << NIMBO_TEXT(",")
      << e.wallRight << NIMBO_TEXT(",") << e.wallBottom << NIMBO_TEXT("}");
}

// An object the host destroyed has no position to show.
void writePosition(Listing& out, const ControlEntry& e) {
  const voObject* object = liveObject(e);
  if (!object) return;
  out << NIMBO_TEXT(" : X ") << object->rHo.hoX << NIMBO_TEXT(" : Y ") << object->rHo.hoY;
}

void writeWave(Listing& out, const ControlEntry& e) {
  out << NIMBO_TEXT(" : AG ");
  writeAngle(out, e.angle);
  out << NIMBO_TEXT(" : Ampl ") << e.radius1 << NIMBO_TEXT(" : AVE ") << e.angularVelocity;
}

void writeOrbit(Listing& out, const ControlEntry& e) {
  out << NIMBO_TEXT(" : AG ");
  writeAngle(out, e.angle);
  out << NIMBO_TEXT(" : AVE ") << e.angularVelocity;
  if (e.radius1 != e.radius2) {
    out << NIMBO_TEXT(" : RADx ") << e.radius1 << NIMBO_TEXT(" : RADy ") << e.radius2;
  } else {
    out << NIMBO_TEXT(" : RAD ") << e.radius1;
  }
  writePosition(out, e);
}

void writeMotion(Listing& out, const ControlEntry& e) {
  switch (e.motionKind) {
    case kNullMotion:
      writePosition(out, e);
      break;
    case kHorizontal:
      out << NIMBO_TEXT(" : xSPD ") << e.xSpeed;
      break;
    case kVertical:
      out << NIMBO_TEXT(" : ySPD ") << e.ySpeed;
      break;
    case kHorizontalWave:
      out << NIMBO_TEXT(" : xSPD ") << e.xSpeed;
      writeWave(out, e);
      break;
    case kVerticalWave:
      out << NIMBO_TEXT(" : ySPD ") << e.ySpeed;
      writeWave(out, e);
      break;
    case kOrbit:
      writeOrbit(out, e);
      break;
    default:
      break;
  }
}

// One entry on one line; the registry listing also names the entry's group identifier.
void writeEntry(Listing& out, const ControlEntry& e, bool withGroupId) {
  writePointer(out, e.object);
  if (withGroupId) out << NIMBO_TEXT(" : GID ") << e.groupId;
  out << NIMBO_TEXT(" : MTyp ") << e.motionKind;
  if (e.rejectArmed == 1) {
    out << NIMBO_TEXT(" : rFlg true : TD ") << e.rejectDelay;
  } else {
    out << NIMBO_TEXT(" : rFlg false");
  }
  if (hasRadius(e)) writeGrowth(out, e);
  if (e.motionKind == kNullMotion) {
    out << NIMBO_TEXT(" : Null Motion ");
  } else if (e.moving == 0) {
    out << NIMBO_TEXT(" : STOP");
  }
  if (e.motionKind != kNullMotion && e.motionKind != kOrbit) writeWalls(out, e);
  writeMotion(out, e);
}

// A group's member count, found by its identifier rather than by position, so the listing never depends
// on the two lists staying in step.
int32_t memberCount(const RUNDATA* rd, int32_t identifier) {
  for (const GroupCount& count : rd->groupCounts) {
    if (count.first == identifier) return count.second;
  }
  return 0;
}

void writeRegistryHeader(Listing& out, const RUNDATA* rd) {
  out << NIMBO_TEXT("Registerd MotionGroup = ") << rd->motionGroups.size() << NIMBO_TEXT("\n") << kRule;
  for (const MotionGroup& group : rd->motionGroups) {
    out << NIMBO_TEXT("MotionGroupIdentifier ") << group.MotionGroupIdentifier << NIMBO_TEXT("  :  Name  = ")
        << group.name << NIMBO_TEXT(" ( ") << memberCount(rd, group.MotionGroupIdentifier)
        << NIMBO_TEXT(" )\n");
  }
  out << kRule;
}

// Members are listed and shown opaque; every other controlled object leaves an empty line and is dimmed.
void writeGroupListing(Listing& out, RUNDATA* rd, const MotionGroup& group) {
  out << NIMBO_TEXT("Selected MotionGroup Name : ") << group.name << NIMBO_TEXT("\n")
      << NIMBO_TEXT("MotionGroupIdentifier : ") << group.MotionGroupIdentifier << NIMBO_TEXT("\n") << kRule;
  int64_t members = 0;
  for (const ControlEntry& entry : rd->controlList) {
    bool member = entry.groupId == group.MotionGroupIdentifier;
    if (member) {
      writeEntry(out, entry, false);
      ++members;
    }
    if (voObject* object = liveObject(entry))
      setAlphaCoefficient(object, member ? kMemberAlpha : kOtherAlpha);
    out << NIMBO_TEXT("\n");
  }
  out << kRule << NIMBO_TEXT("In Group Total Objects : ") << members << NIMBO_TEXT("\n");
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
    Listing out(rd->infoText);
    writeRegistryHeader(out, rd);
    for (const ControlEntry& entry : rd->controlList) {
      writeEntry(out, entry, true);
      out << NIMBO_TEXT("\n");
    }
  }
  return stringResult(rd, rd->infoText.c_str());
}

// A name no group has gives the empty text and changes no transparency.
voValue VO_CALL INFO_MotionGroup(voHeader* header, voValue hostValue) {
  RUNDATA* rd = runData(header);
  const auto* parameter =
      reinterpret_cast<const Char*>(firstExpressionParameter(rd, VO_EXPRESSION_STRING, hostValue));
  const MotionGroup* group = groupNamed(rd, parameter ? Text(parameter) : Text());
  rd->groupInfoText.clear();
  if (group) {
    Listing out(rd->groupInfoText);
    writeGroupListing(out, rd, *group);
  }
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
