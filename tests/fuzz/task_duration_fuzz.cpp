// Arbitrary text as a task duration and as a boundary date-time: never a crash,
// a duration is never negative, and a date-time read back lies in the calendar.
// fuzz-max-len: 4096
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "startup/task_duration.h"

using namespace bootmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (ParseTaskDuration(text) < 0) std::abort();
  if (TaskDurationIn(text, 60) < 0) std::abort();
  if (const auto time = ParseXmlDateTime(text)) {
    const CalendarTime parts = DecodeDateTime(*time);
    if (parts.month < 1 || parts.month > 12 || parts.hour > 23) std::abort();
  }
  return 0;
}
