// The clock on the simulated desktop comes from the C library: the zone from TZ or the system's, the
// date through strftime in the locale of the C runtime.
#include <time.h>

#include <array>

#include "platform/clock.h"

namespace nimbo::platform {

namespace {
constexpr int64_t kNanosecondsPerMillisecond = 1000000;
constexpr int kMinute = 60;

// Zone names and the formatted date are ASCII: widened unit by unit.
Text widen(const char* narrow) {
  Text text;
  for (const char* c = narrow; *c; ++c) text.push_back(static_cast<Char>(static_cast<unsigned char>(*c)));
  return text;
}
}  // namespace

ClockStatus readClock(ClockReading& reading) {
  timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) return ClockStatus::conversionFailed;
  // localtime_r need not read TZ again; a changed zone must show at once.
  tzset();
  if (!tzname[0]) return ClockStatus::zoneInvalid;
  tm local{};
  if (!localtime_r(&now.tv_sec, &local)) return ClockStatus::conversionFailed;
  reading.hour = local.tm_hour;
  reading.minute = local.tm_min;
  reading.second = local.tm_sec;
  reading.millisecond = static_cast<int32_t>(now.tv_nsec / kNanosecondsPerMillisecond);
  reading.utcOffsetMinutes = static_cast<int32_t>(local.tm_gmtoff / kMinute);
  reading.zoneName = widen(tzname[0]);
  std::array<char, 50> date{};
  reading.date = strftime(date.data(), date.size(), "%Y-%m-%d", &local) ? widen(date.data()) : Text();
  return ClockStatus::ok;
}

}  // namespace nimbo::platform
