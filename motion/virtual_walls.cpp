// Virtual walls: the limits that straight and wave motions wrap or flip at, by group (actions 30 to
// 33) or for one object's entry (action 34).
#include <algorithm>

#include "motion/registry.h"
#include "motion/routines.h"
#include "record/host_access.h"

namespace nimbo::motion {

namespace {

// Every entry of the group gets the wall, whatever its kind; a name that is no group changes nothing.
int32_t setGroupWall(voHeader* header, int32_t ControlEntry::*wall) {
  RUNDATA* rd = runData(header);
  const Char* name = textParameter(rd);
  int32_t position = numberParameter(rd);
  int32_t group = findGroup(rd, name ? Text(name) : Text());
  if (group == kNoGroup) return 0;
  for (ControlEntry& entry : rd->controlList) {
    if (entry.groupId == group) entry.*wall = position;
  }
  return 0;
}

}  // namespace

int32_t VO_CALL VirtualWallTop(voHeader* header, voValue, voValue) {
  return setGroupWall(header, &ControlEntry::wallTop);
}

int32_t VO_CALL VirtualWallLeft(voHeader* header, voValue, voValue) {
  return setGroupWall(header, &ControlEntry::wallLeft);
}

int32_t VO_CALL VirtualWallRight(voHeader* header, voValue, voValue) {
  return setGroupWall(header, &ControlEntry::wallRight);
}

int32_t VO_CALL VirtualWallBottom(voHeader* header, voValue, voValue) {
  return setGroupWall(header, &ControlEntry::wallBottom);
}

// The two positions in either order: the smaller is the left or top wall. Only straight and wave
// motions have walls to set.
int32_t VO_CALL VirtualWallAutoSetup(voHeader* header, voValue, voValue) {
  RUNDATA* rd = runData(header);
  voObject* object = objectParameter(rd);
  if (!controllable(object)) return 0;
  int32_t first = numberParameter(rd);
  int32_t second = numberParameter(rd);
  auto& list = rd->controlList;
  auto entry =
      std::find_if(list.begin(), list.end(), [&](const ControlEntry& e) { return e.object == object; });
  if (entry == list.end()) return 0;
  int32_t low = std::min(first, second), high = std::max(first, second);
  if (entry->motionKind == kHorizontal || entry->motionKind == kHorizontalWave) {
    entry->wallLeft = low;
    entry->wallRight = high;
  } else if (entry->motionKind == kVertical || entry->motionKind == kVerticalWave) {
    entry->wallTop = low;
    entry->wallBottom = high;
  }
  return 0;
}

}  // namespace nimbo::motion
