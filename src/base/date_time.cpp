#include "base/date_time.h"

#include <cmath>
#include <cstdio>

namespace bootmark {
namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::int64_t kMsPerHour = 3'600'000;
// Day numbers of 0001-01-01 and 9999-12-31, the years that can be written.
constexpr std::int64_t kFirstDay = -693'593;
constexpr std::int64_t kLastDay = 2'958'465;
// Days from 1899-12-30 to 1970-01-01.
constexpr std::int64_t kUnixEpochDay = 25'569;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Proleptic Gregorian calendar, counting days from 1970-01-01.
std::int64_t DaysFromCivil(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// A day number as milliseconds on a straight time line (day 0 midnight = 0),
// rounded to the nearest millisecond. The fraction of a negative day number is
// still the time after midnight: -1.25 is day -1 at 06:00. Nullopt outside the
// years 1..9999 and for NaN.
std::optional<std::int64_t> ToTimeLine(DateTime value) {
  if (!(value >= static_cast<double>(kFirstDay - 1) && value < static_cast<double>(kLastDay + 1))) {
    return std::nullopt;
  }
  const double whole = std::trunc(value);
  const double fraction = std::fabs(value - whole);  // exact in binary floating point
  const auto day = static_cast<std::int64_t>(whole);
  const std::int64_t result = day * kMsPerDay + std::llround(fraction * static_cast<double>(kMsPerDay));
  if (result < kFirstDay * kMsPerDay || result >= (kLastDay + 1) * kMsPerDay) return std::nullopt;
  return result;
}

// Reads minDigits..maxDigits decimal digits at `pos`; fails when more digits follow.
bool ReadNumber(std::string_view text, std::size_t& pos, int minDigits, int maxDigits, int& value) {
  int count = 0;
  value = 0;
  while (pos < text.size() && count < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++count;
  }
  return count >= minDigits && !(pos < text.size() && text[pos] >= '0' && text[pos] <= '9');
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

std::optional<DateTime> EncodeDateTime(const CalendarTime& time) {
  if (time.year < 1 || time.year > 9999 || time.month < 1 || time.month > 12) return std::nullopt;
  if (time.day < 1 || time.day > DaysInMonth(time.year, time.month)) return std::nullopt;
  if (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59) return std::nullopt;
  if (time.second < 0 || time.second > 59 || time.millisecond < 0 || time.millisecond > 999) {
    return std::nullopt;
  }
  const std::int64_t day = DaysFromCivil(time.year, time.month, time.day) + kUnixEpochDay;
  const std::int64_t ms =
      ((time.hour * 60LL + time.minute) * 60 + time.second) * 1000 + time.millisecond;
  const double fraction = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
  // Before day 0 the time of day is subtracted: the sign belongs to the day part.
  return day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
}

CalendarTime DecodeDateTime(DateTime value) {
  CalendarTime result;
  const auto timeLine = ToTimeLine(value);
  if (!timeLine) return result;  // 1899-12-30 00:00 for values no calendar can show
  std::int64_t day = *timeLine / kMsPerDay;
  std::int64_t ms = *timeLine % kMsPerDay;
  if (ms < 0) {
    ms += kMsPerDay;
    --day;
  }
  CivilFromDays(day - kUnixEpochDay, result.year, result.month, result.day);
  result.millisecond = static_cast<int>(ms % 1000);
  result.second = static_cast<int>(ms / 1000 % 60);
  result.minute = static_cast<int>(ms / 60'000 % 60);
  result.hour = static_cast<int>(ms / kMsPerHour);
  return result;
}

std::string FormatLogDateTime(DateTime value, char beforeMilliseconds) {
  const CalendarTime t = DecodeDateTime(value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d%c%03d", t.year, t.month, t.day, t.hour,
                t.minute, t.second, beforeMilliseconds, t.millisecond);
  return buffer;
}

std::string FormatSettingsDateTime(DateTime value) {
  const CalendarTime t = DecodeDateTime(value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d:%03d", t.month, t.day, t.year,
                t.hour, t.minute, t.second, t.millisecond);
  return buffer;
}

std::optional<DateTime> ParseSettingsDateTime(std::string_view text) {
  CalendarTime t;
  std::size_t pos = 0;
  if (!ReadNumber(text, pos, 1, 2, t.month) || !Expect(text, pos, '/')) return std::nullopt;
  if (!ReadNumber(text, pos, 1, 2, t.day) || !Expect(text, pos, '/')) return std::nullopt;
  const std::size_t yearStart = pos;
  if (!ReadNumber(text, pos, 2, 4, t.year)) return std::nullopt;
  const std::size_t yearDigits = pos - yearStart;
  if (yearDigits == 3) return std::nullopt;
  if (yearDigits == 2) {
    // Two-digit years lie within 50 years of 2000: 00..49 are 2000..2049,
    // 50..99 are 1950..1999.
    t.year += t.year < 50 ? 2000 : 1900;
  }
  if (pos < text.size()) {
    if (!Expect(text, pos, ' ')) return std::nullopt;
    if (!ReadNumber(text, pos, 1, 2, t.hour) || !Expect(text, pos, ':')) return std::nullopt;
    if (!ReadNumber(text, pos, 1, 2, t.minute)) return std::nullopt;
    if (pos < text.size()) {
      if (!Expect(text, pos, ':') || !ReadNumber(text, pos, 1, 2, t.second)) return std::nullopt;
      if (pos < text.size()) {
        // Milliseconds as a count of 1..3 digits, after ':' or '.'.
        if (!Expect(text, pos, ':') && !Expect(text, pos, '.')) return std::nullopt;
        if (!ReadNumber(text, pos, 1, 3, t.millisecond) || pos != text.size()) return std::nullopt;
      }
    }
  }
  return EncodeDateTime(t);
}

std::int64_t HoursBetween(DateTime later, DateTime earlier) {
  const auto to = ToTimeLine(later);
  const auto from = ToTimeLine(earlier);
  if (!to || !from) return 0;
  return (*to - *from) / kMsPerHour;  // integer division truncates toward zero
}

}  // namespace bootmark
