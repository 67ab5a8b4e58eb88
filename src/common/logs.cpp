#include "common/logs.h"

#include "base/path.h"

namespace bootmark {

Logs::Logs(IFileSystem& files, IClock& clock, IEnvironment& environment)
    : files_(files), clock_(clock), environment_(environment) {}

std::unique_ptr<TLogManage> Logs::MakeManager() {
  return std::make_unique<TLogManage>(files_, clock_, environment_.ExecutablePath());
}

TLogManage& Logs::TraceLog() {
  std::lock_guard<std::mutex> guard(lock_);
  if (!traceLog_) traceLog_ = MakeManager();
  return *traceLog_;
}

TLogManage& Logs::TaskExceptionLog(std::string_view fileName) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!taskExceptionLog_) {
    taskExceptionLog_ = MakeManager();
    taskExceptionLog_->SetFileName(ExtractFilePath(environment_.ExecutablePath()) + std::string(fileName));
  }
  return *taskExceptionLog_;
}

void WriteTraceLog(Logs& logs, std::string_view text, bool detail) {
  try {
    logs.TraceLog().Write(text, detail);
  } catch (...) {
    // Only the manager's creation can throw here (out of memory): the line is lost.
  }
}

void WriteTaskExceptionLog(Logs& logs, std::string_view text, std::string_view fileName) {
  try {
    logs.TaskExceptionLog(fileName).Write(text, false);
  } catch (...) {
  }
}

}  // namespace bootmark
