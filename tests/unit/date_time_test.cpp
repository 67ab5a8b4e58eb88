#include "base/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace bootmark {
namespace {

CalendarTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
  return CalendarTime{year, month, day, hour, minute, second, ms};
}

// Leap days included: every fourth year, the centuries divisible by 400. Each
// time decodes back to itself, to the millisecond.
TEST(DateTime, EncodesKnownDayNumbersAndRoundTrips) {
  const struct {
    CalendarTime time;
    std::optional<double> value;  // nullopt: the round trip alone
  } cases[] = {
      {At(1899, 12, 30), 0.0}, {At(1900, 3, 1), 61.0},  // 1900 is not a leap year
      {At(2025, 3, 14, 12), 45730.5}, {At(1899, 12, 29), -1.0},
      {At(1899, 12, 29, 6), -1.25},  // the time of day moves away from zero
      {At(1, 1, 1), -693593.0}, {At(9999, 12, 31), 2958465.0},
      {At(2025, 12, 31, 23, 59, 59, 999), {}}, {At(2000, 2, 29), {}}, {At(2024, 2, 29, 12), {}},
      {At(1899, 12, 29, 23, 59, 59, 999), {}}, {At(1, 1, 1, 0, 0, 0, 1), {}}, {At(9999, 12, 31, 23, 59, 59, 999), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::vector<int>{c.time.year, c.time.month, c.time.day, c.time.hour,
                                                           c.time.millisecond}));
    const auto encoded = EncodeDateTime(c.time);
    ASSERT_TRUE(encoded.has_value());
    if (c.value) {
      EXPECT_DOUBLE_EQ(*encoded, *c.value);
    }
    EXPECT_EQ(DecodeDateTime(*encoded), c.time);
  }
}

TEST(DateTime, RejectsFieldsOutOfRange) {
  const CalendarTime cases[] = {
      At(2023, 2, 29),  At(1900, 2, 29),    At(2024, 4, 31),
      At(2024, 13, 1),  At(2024, 0, 1),     At(2024, 1, 0),         At(2024, 1, 32),
      At(0, 1, 1),      At(10000, 1, 1),    At(2024, 1, 1, 24),     At(2024, 1, 1, -1),
      At(2024, 1, 1, 0, 60), At(2024, 1, 1, 0, 0, 60), At(2024, 1, 1, 0, 0, 0, 1000),
      At(2024, 1, 1, 0, 0, 0, -1),
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::vector<int>{c.year, c.month, c.day, c.hour, c.minute,
                                                           c.second, c.millisecond}));
    EXPECT_FALSE(EncodeDateTime(c).has_value());
  }
}

TEST(DateTime, DecodeRoundsToNearestMillisecond) {
  const double ms = 1.0 / 86'400'000.0;
  const struct {
    double value;
    CalendarTime time;
  } cases[] = {
      {45730.0 + 0.4 * ms, At(2025, 3, 14)}, {45730.0 + 0.6 * ms, At(2025, 3, 14, 0, 0, 0, 1)},
      {45731.0 - 0.4 * ms, At(2025, 3, 15)},  // rounds up into the next day
      {-1.0 - (1.0 - 0.4 * ms), At(1899, 12, 30)},  // day -1 at 24:00 is day 0
      {-0.5, At(1899, 12, 30, 12)},  // no whole day: the fraction is still the time
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeDateTime(c.value), c.time) << c.value;
}

TEST(DateTime, DecodeOfUnrepresentableValuesIsDayZero) {
  for (const double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), 1e300, -1e9, 2958466.0,
                         2958466.0 - 0.4 / 86'400'000.0}) {  // rounds up to the day after 9999-12-31
    SCOPED_TRACE(v);
    EXPECT_EQ(DecodeDateTime(v), CalendarTime{});
  }
}

TEST(DateTime, FormatsSettingsPattern) {
  const struct {
    CalendarTime time;
    const char* text;
  } cases[] = {
      // The settings file's own test writes a date of this century.
      {At(1899, 12, 29, 6), "12/29/1899 06:00:00:000"}, {At(987, 1, 2, 23, 59, 59, 9), "01/02/0987 23:59:59:009"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatSettingsDateTime(*EncodeDateTime(c.time)), c.text) << c.text;
}

TEST(DateTime, ParsesSettingsPattern) {
  const struct {
    const char* text;
    std::optional<CalendarTime> time;
  } cases[] = {
      {"03/14/2025 08:05:09.123", At(2025, 3, 14, 8, 5, 9, 123)}, {"3/4/2025 8:05:09:7", At(2025, 3, 4, 8, 5, 9, 7)},
      {"03/14/2025 08:05", At(2025, 3, 14, 8, 5)}, {"03/14/2025", At(2025, 3, 14)},
      {"03/14/49 10:00", At(2049, 3, 14, 10)}, {"03/14/50", At(1950, 3, 14)},
      {"02/29/2023", std::nullopt}, {"14/03/2025", std::nullopt}, {"03/14/2025 08", std::nullopt},
      {"03/14/2025 08:05:", std::nullopt}, {"03/14/2025 08:05:09:", std::nullopt},
      {"03/14/2025 08:05:09:1234", std::nullopt}, {"03/14/2025 08:05:09,123", std::nullopt},
      {"03/14/2025 ", std::nullopt}, {"03/14/2025x", std::nullopt}, {"03/14/202", std::nullopt},
      {"03/14/20250", std::nullopt}, {"003/14/2025", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = ParseSettingsDateTime(c.text);
    ASSERT_EQ(parsed.has_value(), c.time.has_value());
    if (parsed) {
      EXPECT_EQ(DecodeDateTime(*parsed), *c.time);
    }
  }
  // A view ends at its size, whatever text follows it.
  EXPECT_TRUE(ParseSettingsDateTime(std::string_view("03/14/2025 08:05:091").substr(0, 19)));
}

TEST(DateTime, HoursBetweenCountsWholeHoursOfRealTime) {
  const struct {
    CalendarTime later;
    CalendarTime earlier;
    std::int64_t hours;
  } cases[] = {
      {At(2025, 3, 14, 9, 59, 59, 999), At(2025, 3, 14, 8), 1},
      {At(2025, 3, 14, 8), At(2025, 3, 14, 9, 59, 59, 999), -1},  // truncated toward zero
      {At(1899, 12, 30), At(1899, 12, 29, 6), 18},  // across day 0 from a negative day
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hours);
    EXPECT_EQ(HoursBetween(*EncodeDateTime(c.later), *EncodeDateTime(c.earlier)), c.hours);
  }
  EXPECT_EQ(HoursBetween(std::numeric_limits<double>::quiet_NaN(), 1.0), 0);
}

}  // namespace
}  // namespace bootmark
