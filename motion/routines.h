// The motion controller's actions, as the jump tables call them. Each reads its parameters with
// getNextParameter in declared order; one with an object parameter is called once per selected
// instance. A null object, one that is not an active object, or one leaving the frame ends the action.
#pragma once

#include "host/exports.h"
#include "record/rundata.h"

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

// By-name commands: the name parameter comes first and selects the entries (an empty name: every entry;
// otherwise the first motion group of that name).

// Action 35 "%0 : STOP All" and action 36 "%0 : Toggle Stop|Move Flag".
int32_t VO_CALL StopAll(voHeader* header, voValue, voValue);
int32_t VO_CALL ToggleStopMoveFlag(voHeader* header, voValue, voValue);
// Action 37 "%0 : Reject from the Controll List": the controller lets go; the objects stay.
int32_t VO_CALL RejectFromTheControllList(voHeader* header, voValue, voValue);
// Action 38 "%0 : Delete All": as action 37, and the objects leave the frame.
int32_t VO_CALL DeleteAll(voHeader* header, voValue, voValue);
// Action 39 "%0 : Set Alpha-Coefficient Param = %1": selects by each entry's own group name.
int32_t VO_CALL SetAlphaCoefficientParam(voHeader* header, voValue, voValue);
// Action 40 "%0 : Reverse Movement".
int32_t VO_CALL ReverseMovement(voHeader* header, voValue, voValue);
// Action 41 "%0 : Set Target at %1": called once per selected instance of the object parameter.
int32_t VO_CALL SetTargetAt(voHeader* header, voValue, voValue);
// Action 42: sleep, time interval, repetition.
int32_t VO_CALL InsertSleep(voHeader* header, voValue, voValue);
// Action 43 "%0 : Angle , TimeInterval , Repetition = %1": fixed-angle rotation by parameter string.
int32_t VO_CALL SetAngularRotate(voHeader* header, voValue, voValue);
// Action 44 "%0 : Update Controll List": entries of objects the host destroyed go.
int32_t VO_CALL UpdateControllList(voHeader* header, voValue, voValue);
// Action 45: grow radius by a parameter string of ten integers.
int32_t VO_CALL GrowRadius(voHeader* header, voValue, voValue);
// Action 49 "Reject %0 , ( Time Delay ) %1 frame".
int32_t VO_CALL RejectWithTimeDelay(voHeader* header, voValue, voValue);

// Diagnostics. Expressions 12 "Total_MotionGrp$(" and 13 "Total_Controlled$(": the counts.
voValue VO_CALL Total_MotionGrp(voHeader* header, voValue hostValue);
voValue VO_CALL Total_Controlled(voHeader* header, voValue hostValue);
// Expression 14 "INFO_CtrlledList$(": the groups and every entry, one line each.
voValue VO_CALL INFO_CtrlledList(voHeader* header, voValue hostValue);
// Expression 15 "INFO_MotionGroup$(": one group's entries; dims the other controlled objects.
voValue VO_CALL INFO_MotionGroup(voHeader* header, voValue hostValue);
// Expression 16 "NAME_MotionGroup$(": the name of the group at a position, up to 16 units.
voValue VO_CALL NAME_MotionGroup(voHeader* header, voValue hostValue);
// Expression 17 "Angle to convert CT ANIM Dirs$(": angle, number of directions.
voValue VO_CALL AngleToConvertCTAnimDirs(voHeader* header, voValue hostValue);

}  // namespace nimbo::motion
