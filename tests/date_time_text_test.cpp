// The date-time text built from one clock reading: zero-padded fields, three-digit milliseconds, the
// local offset in place of "Z", and the zone's name after it.
#include <gtest/gtest.h>

#include "util/routines.h"

namespace nimbo::util {
namespace {

platform::ClockReading reading(int32_t offsetMinutes, Text date, Text zone) {
  platform::ClockReading clock;
  clock.hour = 7;
  clock.minute = 8;
  clock.second = 9;
  clock.millisecond = 45;
  clock.utcOffsetMinutes = offsetMinutes;
  clock.date = std::move(date);
  clock.zoneName = std::move(zone);
  return clock;
}

TEST(DateTimeText, FieldsAreZeroPaddedWithThreeDigitMillisecondsAndTheOffsetBeforeTheZoneName) {
  EXPECT_EQ(dateTimeText(reading(540, NIMBO_TEXT("2024-03-05"), NIMBO_TEXT("Tokyo Standard Time"))),
            NIMBO_TEXT("2024-03-05T07:08:09.045+09:00 Tokyo Standard Time"));
}

TEST(DateTimeText, OffsetsWestOfUtcAndOfHalfHoursKeepTheirSignAndMinutes) {
  EXPECT_EQ(dateTimeText(reading(-210, NIMBO_TEXT("2024-03-05"), NIMBO_TEXT("NST"))),
            NIMBO_TEXT("2024-03-05T07:08:09.045-03:30 NST"));
  EXPECT_EQ(dateTimeText(reading(0, NIMBO_TEXT("2024-03-05"), NIMBO_TEXT("UTC"))),
            NIMBO_TEXT("2024-03-05T07:08:09.045+00:00 UTC"));
  EXPECT_EQ(dateTimeText(reading(345, NIMBO_TEXT("2024-03-05"), NIMBO_TEXT("NPT"))),
            NIMBO_TEXT("2024-03-05T07:08:09.045+05:45 NPT"));
}

TEST(DateTimeText, ADateTheLocaleCouldNotFormatLeavesTheTimeAlone) {
  EXPECT_EQ(dateTimeText(reading(60, {}, NIMBO_TEXT("CET"))), NIMBO_TEXT("T07:08:09.045+01:00 CET"));
}

}  // namespace
}  // namespace nimbo::util
