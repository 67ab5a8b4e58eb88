#include "startup/task_duration.h"

#include <gtest/gtest.h>

#include <optional>

namespace bootmark {
namespace {

TEST(ParseTaskDurationTest, WeighsEachNumberByTheLetterAfterIt) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"P1DT2H3M4S", 93784}, {"", 0}, {"90S", 90},  // a number before any letter counts too
      {"P2M", 120},              // a month count reads as minutes
      {"P1Y2W", 0},              // years and weeks weigh nothing
      {"PT1.5S", 5},             // "." ends the 1 with no weight
      {"PT10", 0},               // a number without a letter never counts
      {"PT99999999999S1M", 60},  // a number beyond 32 bits counts 0
      {"pt5m", 0},               // lower-case letters weigh nothing
  };
  for (const auto& [text, seconds] : cases) EXPECT_EQ(ParseTaskDuration(text), seconds) << text;
  // In other units: whole units only, up to the 32-bit limit.
  EXPECT_EQ(TaskDurationIn("PT90S", 60), 1);
  EXPECT_EQ(TaskDurationIn("P2147483647D", 1), 2147483647);
}

TEST(ParseXmlDateTimeTest, ReadsTheSchedulersForms) {
  const std::pair<const char*, std::optional<CalendarTime>> cases[] = {
      {"2024-03-01T09:30:15", CalendarTime{2024, 3, 1, 9, 30, 15, 0}},
      {"2024-03-01T09:30:15.25", CalendarTime{2024, 3, 1, 9, 30, 15, 250}},
      {"2024-03-01T09:30:15.1234567", CalendarTime{2024, 3, 1, 9, 30, 15, 123}},
      {"2024-03-01T09:30:15+02:00", CalendarTime{2024, 3, 1, 9, 30, 15, 0}},
      {"2024-03-01", CalendarTime{2024, 3, 1, 0, 0, 0, 0}}, {"2024-02-30T00:00:00", std::nullopt},
      {"2024-03-01T24:00:00", std::nullopt}, {"2024-3-01T09:30:15", std::nullopt}, {"2024-03-01T09:30", std::nullopt},
      {"2024-03-01T09:30:15.", std::nullopt}, {"2024-03-01T09:30:15 ", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    const std::optional<DateTime> parsed = ParseXmlDateTime(text);
    ASSERT_EQ(parsed.has_value(), expected.has_value()) << text;
    if (parsed) {
      EXPECT_EQ(DecodeDateTime(*parsed), *expected) << text;
    }
  }
}

}  // namespace
}  // namespace bootmark
