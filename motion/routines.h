// The motion controller's actions, as the jump tables call them. Each reads its parameters with
// getNextParameter in declared order; one with an object parameter is called once per selected
// instance. A null object, one that is not an active object, or one leaving the frame ends the action.
#pragma once

#include "frame/rundata.h"
#include "host/exports.h"

namespace nimbo::motion {

// Set-up actions: each registers the object under a motion group, by default its type's name.

// Action 17 "%0 : Wrap at Window Width : Xspeed %1 Pixel".
int32_t VO_CALL WrapAtWindowWidth(voHeader* header, voValue, voValue);
// Action 18 "%0 : Flip at Window Width : Xspeed %1 Pixel".
int32_t VO_CALL FlipAtWindowWidth(voHeader* header, voValue, voValue);
// Action 19 "%0 : Wrap at Window Height : Yspeed %1 Pixel".
int32_t VO_CALL WrapAtWindowHeight(voHeader* header, voValue, voValue);
// Action 20 "%0 : Flip at Window Height : Yspeed %1 Pixel".
int32_t VO_CALL FlipAtWindowHeight(voHeader* header, voValue, voValue);
// Action 21: orbit around the object's own place; radius, angular velocity.
int32_t VO_CALL OrbitalAroundOwnXY(voHeader* header, voValue, voValue);
// Action 22: orbit around a target; the selected instances start evenly spaced around it.
int32_t VO_CALL OrbitalAroundTargetXY(voHeader* header, voValue, voValue);
// Action 23 "%0 : Null Motion : Motion Group Name = %1": registered, never moved.
int32_t VO_CALL NullMotion(voHeader* header, voValue, voValue);
// Actions 24 to 27: group name, object, speed, amplitude, angular velocity.
int32_t VO_CALL WrapAtWindowWidthSineWave(voHeader* header, voValue, voValue);
int32_t VO_CALL FlipAtWindowWidthSineWave(voHeader* header, voValue, voValue);
int32_t VO_CALL WrapAtWindowHeightSineWave(voHeader* header, voValue, voValue);
int32_t VO_CALL FlipAtWindowHeightSineWave(voHeader* header, voValue, voValue);
// Actions 28 and 29: orbits set up by an orbit parameter string, read for the first selected instance
// only. A with the action-loop index, B with the designer's start angle.
int32_t VO_CALL OrbitAroundOwnXYPos(voHeader* header, voValue, voValue);
int32_t VO_CALL OrbitAroundTargetXYPos(voHeader* header, voValue, voValue);

// Virtual walls. Actions 30 to 33: group name, wall position; action 34: object, two positions.
int32_t VO_CALL VirtualWallTop(voHeader* header, voValue, voValue);
int32_t VO_CALL VirtualWallLeft(voHeader* header, voValue, voValue);
int32_t VO_CALL VirtualWallRight(voHeader* header, voValue, voValue);
int32_t VO_CALL VirtualWallBottom(voHeader* header, voValue, voValue);
int32_t VO_CALL VirtualWallAutoSetup(voHeader* header, voValue, voValue);

// Move toward a named target. Action 52 takes the object and the target name; action 53 also writes
// the action-loop index into A. Neither registers anything.
int32_t VO_CALL MoveTowardNamedTarget(voHeader* header, voValue, voValue);
int32_t VO_CALL MoveTowardNamedTargetCustomParam(voHeader* header, voValue, voValue);

}  // namespace nimbo::motion
