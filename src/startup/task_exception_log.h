#pragma once
// The task reader's failed steps, one line each in "TaskException.log".
#include <exception>
#include <string_view>

#include "common/logs.h"

namespace bootmark {

// Writes `prefix` and the exception's message; nothing without a log holder.
void LogTaskException(Logs* logs, std::string_view prefix, const std::exception& error);

}  // namespace bootmark
