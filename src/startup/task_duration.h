#pragma once
// The Task Scheduler's duration and date-time texts.
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/date_time.h"

namespace bootmark {

// Seconds of an ISO 8601 duration as the scheduler writes it ("P1DT2H3M4S" is
// 93784). Digits are collected; the letter after them weighs them: "D" a day,
// "H" an hour, "M" a minute, "S" a second, any other character nothing. A number
// that does not fit 32 bits counts 0; an empty text is 0. A month count ("M"
// before "T") therefore reads as minutes.
std::int64_t ParseTaskDuration(std::string_view text);
// ParseTaskDuration divided by `unit` (integer division), limited to 32 bits.
std::int32_t TaskDurationIn(std::string_view text, std::int64_t unit);

// An XML Schema date-time as the scheduler writes start and end boundaries:
// "yyyy-mm-ddThh:nn:ss", optional fractional seconds, optional "Z" or "+hh:mm".
// The clock time is taken as written (the zone is not applied). Nullopt when the
// text does not have that form.
std::optional<DateTime> ParseXmlDateTime(std::string_view text);

}  // namespace bootmark
