#pragma once
// Dates and times as day numbers: whole days since 30 December 1899, the time of
// day as the fraction (the format the suite's files use for "day number" values).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bootmark {

using DateTime = double;

struct CalendarTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// Nullopt for fields out of range (month 13, 30 February, hour 24, ...).
std::optional<DateTime> EncodeDateTime(const CalendarTime& time);
// Rounds to the nearest millisecond.
CalendarTime DecodeDateTime(DateTime value);

// "yyyy-mm-dd hh:nn:ss" + the separator + "zzz", e.g. "2025-03-14 08:05:09.123"
// with ".": the time stamps of the log lines.
std::string FormatLogDateTime(DateTime value, char beforeMilliseconds);

// "mm/dd/yyyy hh:nn:ss:zzz", e.g. "03/14/2025 08:05:09:123".
std::string FormatSettingsDateTime(DateTime value);
// Reads the same pattern back; the time part (and its milliseconds) may be
// missing. Nullopt when the text does not match.
std::optional<DateTime> ParseSettingsDateTime(std::string_view text);

// Whole hours from `earlier` to `later` (negative when later < earlier).
std::int64_t HoursBetween(DateTime later, DateTime earlier);

}  // namespace bootmark
