// The clock on Windows: the system time in UTC converted with the zone information, and the date of
// that same moment formatted in the user's default locale.
#include <windows.h>

#include <array>
#include <cwchar>
#include <iterator>

#include "platform/clock.h"

namespace nimbo::platform {

namespace {
constexpr DWORD kDateFlags = 0x40;  // DATE_AUTOLAYOUT
constexpr int64_t kTicksPerMinute = 60LL * 10000000LL;

int64_t ticksOf(const SYSTEMTIME& time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return (static_cast<int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

// Systems that take no layout flag beside an explicit picture get the picture alone.
Text localeDate(const SYSTEMTIME& local) {
  std::array<wchar_t, 50> date{};
  const wchar_t* picture = L"yyyy'-'MM'-'dd";
  int written = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, kDateFlags, &local, picture, date.data(),
                                static_cast<int>(date.size()), nullptr);
  if (!written && GetLastError() == ERROR_INVALID_FLAGS) {
    written = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, picture, date.data(),
                              static_cast<int>(date.size()), nullptr);
  }
  return written ? Text(date.data()) : Text();
}
}  // namespace

ClockStatus readClock(ClockReading& reading) {
  TIME_ZONE_INFORMATION zone{};
  if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) return ClockStatus::zoneInvalid;
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  SYSTEMTIME local{};
  if (!SystemTimeToTzSpecificLocalTime(&zone, &utc, &local)) return ClockStatus::conversionFailed;
  reading.hour = local.wHour;
  reading.minute = local.wMinute;
  reading.second = local.wSecond;
  reading.millisecond = local.wMilliseconds;
  reading.utcOffsetMinutes = static_cast<int32_t>((ticksOf(local) - ticksOf(utc)) / kTicksPerMinute);
  reading.zoneName.assign(zone.StandardName, wcsnlen(zone.StandardName, std::size(zone.StandardName)));
  reading.date = localeDate(local);
  return ClockStatus::ok;
}

}  // namespace nimbo::platform
