// The by-name commands that take entries out of controlList: reject (the controller lets go), delete
// (the objects leave the frame too) and update (entries of objects the host destroyed go). Removal keeps
// the order of the rest. An object the host has destroyed is never read, and never destroyed again.
#include <algorithm>
#include <vector>

#include "motion/messages.h"
#include "motion/registry.h"
#include "motion/routines.h"
#include "motion/selection.h"
#include "record/host_access.h"

namespace nimbo::motion {

namespace {

void releaseAll(RUNDATA* rd) {
  rd->controlList.clear();
  rd->controlList.shrink_to_fit();
  rd->motionGroups.clear();
  rd->motionGroups.shrink_to_fit();
  rd->groupCounts.clear();
  rd->groupCounts.shrink_to_fit();
}

void dropGroup(RUNDATA* rd, int32_t identifier) {
  std::erase_if(rd->motionGroups,
                [&](const MotionGroup& group) { return group.MotionGroupIdentifier == identifier; });
}

void dropCount(RUNDATA* rd, int32_t identifier) {
  std::erase_if(rd->groupCounts, [&](const GroupCount& count) { return count.first == identifier; });
}

// Reject and delete remove the group outright, with its entries and its groupCounts pair: nothing
// reads a pair whose group and members are gone (identifiers are never reused), and a game that sets up
// and rejects a group every frame would otherwise grow the list by a pair a frame for as long as it
// runs. `beforeRemoval` sees every selected entry, in list order, before any is removed.
template <typename BeforeRemoval>
int32_t removeByName(voHeader* header, const Char* word, BeforeRemoval beforeRemoval) {
  RUNDATA* rd = runData(header);
  Text name = nameParameter(rd);
  Selection selection = selectByName(rd, name);
  if (selection.kind == Selection::none) {
    reportUnknownName(rd, name, word);
    return 0;
  }
  for (const ControlEntry& entry : rd->controlList) {
    if (selection.selects(entry)) beforeRemoval(entry);
  }
  if (selection.kind == Selection::all) {
    releaseAll(rd);
  } else {
    dropGroup(rd, selection.groupId);
    dropCount(rd, selection.groupId);
    std::erase_if(rd->controlList, [&](const ControlEntry& entry) { return selection.selects(entry); });
  }
  return 0;
}

// The member count of a group after an update: stored while it has members, else the group goes with
// its pair.
void recount(RUNDATA* rd, int32_t identifier) {
  auto members = std::count_if(rd->controlList.begin(), rd->controlList.end(),
                               [&](const ControlEntry& entry) { return entry.groupId == identifier; });
  if (members > 0) {
    auto pair = std::find_if(rd->groupCounts.begin(), rd->groupCounts.end(),
                             [&](const GroupCount& count) { return count.first == identifier; });
    if (pair != rd->groupCounts.end()) pair->second = static_cast<int32_t>(members);
    return;
  }
  dropCount(rd, identifier);
  dropGroup(rd, identifier);
}

}  // namespace

int32_t VO_CALL RejectFromTheControllList(voHeader* header, voValue, voValue) {
  return removeByName(header, kRejectError, [](const ControlEntry&) {});
}

int32_t VO_CALL DeleteAll(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  return removeByName(header, kDeleteError, [rd](const ControlEntry& entry) {
    if (voObject* object = liveObject(entry)) services(rd).destroyObject(&object->rHo, 0, 0);
  });
}

int32_t VO_CALL UpdateControllList(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  Selection selection = selectByName(rd, nameParameter(rd));
  std::vector<int32_t> touched;
  std::erase_if(rd->controlList, [&](const ControlEntry& entry) {
    if (!selection.selects(entry) || liveObject(entry)) return false;
    touched.push_back(entry.groupId);
    return true;
  });
  std::sort(touched.begin(), touched.end());
  touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
  for (int32_t identifier : touched) recount(rd, identifier);
  return 0;
}

}  // namespace nimbo::motion
