// Arbitrary text as a task duration and as a boundary date-time: never a crash,
// a duration is never negative, and a date-time read back lies in the calendar.
// fuzz-max-len: 4096
#include "fuzz/fuzz_target.h"
#include "startup/task_duration.h"

BOOTMARK_FUZZ_TARGET(text) {
  Check(ParseTaskDuration(text) >= 0);
  Check(TaskDurationIn(text, 60) >= 0);
  if (const auto time = ParseXmlDateTime(text)) {
    const CalendarTime parts = DecodeDateTime(*time);
    Check(parts.month >= 1 && parts.month <= 12 && parts.hour <= 23);
  }
}
