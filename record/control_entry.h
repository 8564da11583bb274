// The motion controller's records: one ControlEntry per registered object, and the named motion groups.
// They live in the floor because RUNDATA holds them; they keep motion's namespace.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace nimbo::motion {

enum MotionKind : int32_t {
  kNullMotion = 0,
  kHorizontal = 1,
  kVertical = 2,
  kHorizontalWave = 3,
  kVerticalWave = 4,
  kOrbit = 5,
  kMoveToward = 7,
};

// Flags are 0 or 1; object references are borrowed from the host, which owns the objects. The motion
// loop sets `object` or `target` to null once the host has marked it destroyed; the entry stays. A
// target is only ever set with hasTarget.
// The frame step reads the first cache line of every entry (a straight motion and the sleep/interval
// gate need nothing more) and the second for waves and orbits; the rest only commands and listings read.
// A long list then streams through the cache at the cost of the motion alone.
struct alignas(64) ControlEntry {
  uint8_t moving = 0;
  uint8_t flip = 0;
  uint8_t hasTarget = 0;
  uint8_t inInterval = 0;
  uint8_t growRadius = 0;
  uint8_t rotateActive = 0;
  uint8_t momentaryPause = 0;
  uint8_t rejectArmed = 0;
  voObject* object = nullptr;
  int32_t motionKind = kNullMotion;
  int32_t xSpeed = 0, ySpeed = 0;
  int32_t wallTop = 0, wallBottom = 0, wallLeft = 0, wallRight = 0;
  int32_t intervalCount = 0, intervalFrames = 0;
  int32_t sleepCount = 0, sleepFrames = 0;
  int32_t repetition = 0;

  voObject* target = nullptr;
  int32_t angle = 0;  // degrees; the designer's angle + 180
  int32_t angularVelocity = 0;
  int32_t radius1 = 0, radius2 = 0;
  int32_t originX = 0, originY = 0;
  int32_t centreOffsetX = 0, centreOffsetY = 0;
  int32_t rotatedSoFar = 0, rotationAngle = 0;
  int32_t rotationRepetition = 0;
  int32_t groupId = 0;
  uint8_t growHold1 = 0;
  uint8_t growHold2 = 0;
  Text groupName;
  int32_t rejectDelay = 0;
  int32_t growMax1 = 0, growMin1 = 0, growDelta1 = 0, growHoldCount1 = 0, growHoldFrames1 = 0,
          growRepetition1 = 0;
  int32_t growMax2 = 0, growMin2 = 0, growDelta2 = 0, growHoldCount2 = 0, growHoldFrames2 = 0,
          growRepetition2 = 0;
};

struct MotionGroup {
  Text name;  // compared exactly, unit for unit
  int32_t MotionGroupIdentifier = 0;
};

// {MotionGroupIdentifier, member count}, one per group in creation order.
using GroupCount = std::pair<int32_t, int32_t>;

}  // namespace nimbo::motion
