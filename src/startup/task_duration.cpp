#include "startup/task_duration.h"

#include <algorithm>
#include <limits>

namespace bootmark {
namespace {

std::int64_t UnitWeight(char c) {
  switch (c) {
    case 'D': return 86400;
    case 'H': return 3600;
    case 'M': return 60;
    case 'S': return 1;
    default: return 0;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads exactly `count` digits at `pos`.
std::optional<int> Digits(std::string_view text, std::size_t& pos, std::size_t count) {
  if (pos + count > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const char c = text[pos + i];
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  pos += count;
  return value;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

std::int64_t ParseTaskDuration(std::string_view text) {
  constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
  std::int64_t total = 0;
  std::int64_t pending = 0;
  bool hasPending = false;
  bool pendingValid = true;
  for (const char c : text) {
    if (IsDigit(c)) {
      if (pendingValid) {
        pending = pending * 10 + (c - '0');
        if (pending > kInt32Max) pendingValid = false;
      }
      hasPending = true;
      continue;
    }
    if (hasPending && pendingValid) total += pending * UnitWeight(c);
    pending = 0;
    hasPending = false;
    pendingValid = true;
  }
  return total;
}

std::int32_t TaskDurationIn(std::string_view text, std::int64_t unit) {
  const std::int64_t value = ParseTaskDuration(text) / unit;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

std::optional<DateTime> ParseXmlDateTime(std::string_view text) {
  std::size_t pos = 0;
  CalendarTime time;
  const auto year = Digits(text, pos, 4);
  if (!year || !Expect(text, pos, '-')) return std::nullopt;
  const auto month = Digits(text, pos, 2);
  if (!month || !Expect(text, pos, '-')) return std::nullopt;
  const auto day = Digits(text, pos, 2);
  if (!day) return std::nullopt;
  time.year = *year;
  time.month = *month;
  time.day = *day;
  if (pos < text.size() && text[pos] == 'T') {
    ++pos;
    const auto hour = Digits(text, pos, 2);
    if (!hour || !Expect(text, pos, ':')) return std::nullopt;
    const auto minute = Digits(text, pos, 2);
    if (!minute || !Expect(text, pos, ':')) return std::nullopt;
    const auto second = Digits(text, pos, 2);
    if (!second) return std::nullopt;
    time.hour = *hour;
    time.minute = *minute;
    time.second = *second;
    if (pos < text.size() && text[pos] == '.') {
      ++pos;
      const std::size_t start = pos;
      int millisecond = 0;
      while (pos < text.size() && IsDigit(text[pos])) {
        if (pos - start < 3) millisecond = millisecond * 10 + (text[pos] - '0');
        ++pos;
      }
      if (pos == start) return std::nullopt;
      for (std::size_t n = pos - start; n < 3; ++n) millisecond *= 10;
      time.millisecond = millisecond;
    }
  }
  // The zone designator.
  if (pos < text.size() && text[pos] == 'Z') {
    ++pos;
  } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    ++pos;
    const auto zoneHour = Digits(text, pos, 2);
    if (!zoneHour || !Expect(text, pos, ':') || !Digits(text, pos, 2) || *zoneHour > 14) {
      return std::nullopt;
    }
  }
  if (pos != text.size()) return std::nullopt;
  return EncodeDateTime(time);
}

}  // namespace bootmark
