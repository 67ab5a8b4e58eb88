#pragma once
// The program's two time-stamped logs, the trace log ("Bootmark.log" beside the
// program) and the task exception log ("TaskException.log" beside the program).
//
// Each manager is created on first use and lives until the holder is destroyed.
// The holder is one explicit object per process, created in main and kept in
// ProcessState, not a hidden global: every writer reaches it through the state it is
// handed, and tests give each case a holder of its own over a fake file system.
#include <memory>
#include <mutex>
#include <string_view>

#include "common/log_manage.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace bootmark {

class Logs {
 public:
  Logs(IFileSystem& files, IClock& clock, IEnvironment& environment);

  Logs(const Logs&) = delete;
  Logs& operator=(const Logs&) = delete;

  // The trace log: the program's path with the extension ".log".
  TLogManage& TraceLog();
  // The task exception log: the program's folder and `fileName`, as named by the
  // first call; later names are ignored.
  TLogManage& TaskExceptionLog(std::string_view fileName);

 private:
  std::unique_ptr<TLogManage> MakeManager();

  IFileSystem& files_;
  IClock& clock_;
  IEnvironment& environment_;
  std::mutex lock_;
  std::unique_ptr<TLogManage> traceLog_;
  std::unique_ptr<TLogManage> taskExceptionLog_;
};

// One line of the trace log; a detail line only with "detaillog.ldt" beside the
// program. Never throws.
void WriteTraceLog(Logs& logs, std::string_view text, bool detail = false);
// One line of the task exception log ("TaskException.log"). Never throws.
void WriteTaskExceptionLog(Logs& logs, std::string_view text, std::string_view fileName);

}  // namespace bootmark
