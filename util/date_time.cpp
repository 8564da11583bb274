// Expression 11: the local date and time of one clock reading as one text, kept module-wide so the
// returned characters stay valid until any instance evaluates the expression again.
#include <cassert>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "record/host_access.h"
#include "util/messages.h"
#include "util/routines.h"

namespace nimbo::util {

namespace {
constexpr size_t kTimeUnits = 50;
// Date, time and the longest zone name fit, so the returned pointer stays the same between evaluations.
constexpr size_t kResultReserve = 160;

Text& moduleResult() {
  static Text result = [] {
    Text text;
    text.reserve(kResultReserve);
    return text;
  }();
  return result;
}

// ISO 8601 keeps "Z" for UTC: a local time carries its own offset.
void appendOffset(char* out, size_t size, int32_t offsetMinutes) {
  char sign = offsetMinutes < 0 ? '-' : '+';
  int32_t magnitude = std::abs(offsetMinutes);
  std::snprintf(out, size, "%c%02d:%02d ", sign, static_cast<int>(magnitude / 60),
                static_cast<int>(magnitude % 60));
}
}  // namespace

Text dateTimeText(const platform::ClockReading& reading) {
  char time[kTimeUnits] = {};
  int used = std::snprintf(time, sizeof time, "%02d:%02d:%02d.%03d", static_cast<int>(reading.hour),
                           static_cast<int>(reading.minute), static_cast<int>(reading.second),
                           static_cast<int>(reading.millisecond));
  if (used > 0 && static_cast<size_t>(used) < sizeof time) {
    appendOffset(time + used, sizeof time - static_cast<size_t>(used), reading.utcOffsetMinutes);
  }
  Text text = reading.date;
  text.push_back(NIMBO_TEXT('T'));
  for (const char* c = time; *c; ++c) text.push_back(static_cast<Char>(static_cast<unsigned char>(*c)));
  return text + reading.zoneName;
}

voValue VO_CALL GetDateTimeIso8601(voHeader* header, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  std::setlocale(LC_ALL, "");
  platform::ClockReading reading;
  switch (platform::readClock(reading)) {
    case platform::ClockStatus::zoneInvalid:
      platform::messageBox(kZoneFailedText, kZoneFailedCaption);
      return stringResult(rd, kZoneFailedResult);
    case platform::ClockStatus::conversionFailed:
      platform::messageBox(kConversionFailedText, kConversionFailedCaption);
      return stringResult(rd, kConversionFailedResult);
    case platform::ClockStatus::ok:
      break;
  }
  // Copied into the kept buffer rather than moved, which would hand out a new one.
  const Text text = dateTimeText(reading);
  moduleResult().assign(text);
  return stringResult(rd, moduleResult().c_str());
}

}  // namespace nimbo::util
