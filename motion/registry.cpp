// Registration of controlled objects into controlList under their motion group, and the delayed
// reject that lets them go again.
#include "motion/registry.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <type_traits>

#include "motion/messages.h"
#include "motion/orbit.h"
#include "platform/platform.h"
#include "record/host_access.h"

namespace nimbo::motion {

namespace {

GroupCount* countOf(RUNDATA* rd, int32_t identifier) {
  auto found = std::find_if(rd->groupCounts.begin(), rd->groupCounts.end(),
                            [&](const GroupCount& count) { return count.first == identifier; });
  return found == rd->groupCounts.end() ? nullptr : &*found;
}

// Identifiers are never reused while the counter lasts. A game that has made 2^31 groups goes on from 0
// (never negative: -1 is the lookup's "no group"), past the identifiers of groups that still live.
int32_t takeGroupId(RUNDATA* rd) {
  int32_t identifier = rd->nextGroupId;
  while (countOf(rd, identifier)) identifier = identifier == INT32_MAX ? 0 : identifier + 1;
  rd->nextGroupId = identifier == INT32_MAX ? 0 : identifier + 1;
  return identifier;
}

// Growth doubles as push_back's would, so making room one at a time stays linear.
template <class List>
void makeRoomForOne(List& list) {
  if (list.size() == list.capacity()) list.reserve(std::max<size_t>(4, list.capacity() * 2));
}

// The room in both lists has been made: nothing here allocates.
int32_t createGroup(RUNDATA* rd, Text&& name) noexcept {
  int32_t identifier = takeGroupId(rd);
  rd->groupCounts.emplace_back(identifier, 0);
  rd->motionGroups.push_back({std::move(name), identifier});
  return identifier;
}

// The group goes with its last member.
void removeMember(RUNDATA* rd, int32_t identifier) {
  GroupCount* count = countOf(rd, identifier);
  if (!count || --count->second != 0) return;
  std::erase_if(rd->groupCounts, [&](const GroupCount& pair) { return pair.first == identifier; });
  std::erase_if(rd->motionGroups,
                [&](const MotionGroup& group) { return group.MotionGroupIdentifier == identifier; });
}

bool registered(const RUNDATA* rd, const voObject* object) {
  return std::any_of(rd->controlList.begin(), rd->controlList.end(),
                     [&](const ControlEntry& entry) { return entry.object == object; });
}

void reportRedundantInput(const RUNDATA* rd, const Text& groupName) {
  if (rd->popupSetting != 1) return;
  Text text = kRedundantInputText + groupName;
  platform::messageBox(text.c_str(), kNameDuplicateCaption);
}

// Straight and wave motions face their way at once; an orbit starts on its orbit.
void placeFirst(RUNDATA* rd, const ControlEntry& entry) {
  voObject* object = entry.object;
  switch (entry.motionKind) {
    case kHorizontal:
    case kHorizontalWave:
      writeDirection(object, entry.xSpeed < 0 ? kLeft : kRight);
      updateAnimation(services(rd), object);
      break;
    case kVertical:
    case kVerticalWave:
      writeDirection(object, entry.ySpeed < 0 ? kUp : kDown);
      updateAnimation(services(rd), object);
      break;
    case kOrbit:
      placeOnOrbit(object, orbitCentre(entry), entry.angle, entry.radius1, entry.radius2);
      redraw(services(rd), object);
      break;
    default:
      break;
  }
}

// An armed entry counts its delay down to -1 and goes on the frame after.
bool delayRanOut(ControlEntry& entry) {
  if (entry.rejectDelay == -1) return true;
  entry.rejectDelay = wrapped(int64_t{entry.rejectDelay} - 1);
  return false;
}

}  // namespace

int32_t findGroup(const RUNDATA* rd, const Text& name) {
  auto found = std::find_if(rd->motionGroups.begin(), rd->motionGroups.end(),
                            [&](const MotionGroup& group) { return group.name == name; });
  return found == rd->motionGroups.end() ? kNoGroup : found->MotionGroupIdentifier;
}

// The first registration of an object wins. With no group at all there is nothing to be a duplicate
// of, so the first group is made before the list is searched. Every allocation comes before the first
// change: a failed one leaves no group without its entry and no entry without its group.
void registerEntry(RUNDATA* rd, voObject* object, const ControlEntry& entry) {
  static_assert(std::is_nothrow_move_constructible_v<ControlEntry>);
  int32_t identifier = findGroup(rd, entry.groupName);
  if (!rd->motionGroups.empty() && registered(rd, object)) {
    reportRedundantInput(rd, entry.groupName);
    return;
  }
  ControlEntry added = entry;
  makeRoomForOne(rd->controlList);
  if (identifier == kNoGroup) {
    Text name = entry.groupName;
    makeRoomForOne(rd->groupCounts);
    makeRoomForOne(rd->motionGroups);
    identifier = createGroup(rd, std::move(name));
  }
  added.object = object;
  added.moving = 1;
  added.rejectArmed = 0;
  added.rejectDelay = -1;
  added.groupId = identifier;
  ControlEntry& stored = rd->controlList.emplace_back(std::move(added));
  GroupCount* count = countOf(rd, identifier);
  assert(count);  // every group is made with its count
  ++count->second;
  placeFirst(rd, stored);
}

// One pass that closes the gaps as it goes, keeping the order of the rest.
void runDelayedRejects(RUNDATA* rd) {
  bool armedSeen = false;
  auto& list = rd->controlList;
  auto kept = list.begin();
  for (auto entry = list.begin(); entry != list.end(); ++entry) {
    if (entry->rejectArmed == 1) {
      armedSeen = true;
      if (delayRanOut(*entry)) {
        removeMember(rd, entry->groupId);
        continue;
      }
    }
    if (kept != entry) *kept = std::move(*entry);
    ++kept;
  }
  list.erase(kept, list.end());
  rd->pendingReject = armedSeen ? 1 : 0;
}

}  // namespace nimbo::motion
