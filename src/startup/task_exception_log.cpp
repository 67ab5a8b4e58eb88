#include "startup/task_exception_log.h"

#include <string>

namespace bootmark {

void LogTaskException(Logs* logs, std::string_view prefix, const std::exception& error) {
  if (logs == nullptr) return;
  WriteTaskExceptionLog(*logs, std::string(prefix) + error.what(), "TaskException.log");
}

}  // namespace bootmark
