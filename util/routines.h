// The utility routines as the jump tables call them: the date-time expression, the object-type
// listing and the mouse-key test action.
#pragma once

#include "host/exports.h"
#include "platform/clock.h"
#include "record/rundata.h"

namespace nimbo::util {

// Expression 11 "GetDateTimeIso8601$(".
voValue VO_CALL GetDateTimeIso8601(voHeader* header, voValue hostValue);

// Action 8 "%1 Circle Menu :: Auto Follow %0": the target object is the first parameter.
int32_t VO_CALL CircleMenuAutoFollow(voHeader* header, voValue, voValue);
// Action 9 "Get All Objects Name at the Frame".
int32_t VO_CALL GetAllObjectsNameAtTheFrame(voHeader* header, voValue, voValue);

// The date-time text of one clock reading: date, "T", HH:MM:SS.mmm, the UTC offset ±HH:MM, a space and
// the zone's standard-time name.
Text dateTimeText(const platform::ClockReading& reading);

}  // namespace nimbo::util
