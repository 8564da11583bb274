// The local clock as the date-time expression reads it: one reading gives the local date and time,
// the offset from UTC at that moment, the zone's standard-time name and the date in the user's locale.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nimbo::platform {

enum class ClockStatus { ok, zoneInvalid, conversionFailed };

struct ClockReading {
  int32_t hour = 0, minute = 0, second = 0, millisecond = 0;
  int32_t utcOffsetMinutes = 0;  // local time minus UTC, daylight saving included
  Text zoneName;                 // the zone's standard-time name
  Text date;                     // "yyyy-MM-dd" of the same reading, from the user's locale; may be empty
};

// Reads the clock once. zoneInvalid: the zone information could not be read; conversionFailed: the
// time could not be converted to local time. `reading` is complete only with ok.
ClockStatus readClock(ClockReading& reading);

}  // namespace nimbo::platform
