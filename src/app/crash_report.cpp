#include "app/crash_report.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <ios>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <typeinfo>

#include "common/safe_ini_file.h"
#include "common/sqlite_database.h"
#include "platform/task_scheduler.h"

namespace bootmark {
namespace {

std::string Demangle(const char* name) {
  int status = 0;
  const std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(name, nullptr, nullptr, &status),
                                                        std::free);
  return status == 0 && readable ? std::string(readable.get()) : std::string(name);
}

std::string Hex(std::uintmax_t value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*jX", digits, value);
  return text;
}

std::mutex& HandlerLock() {
  static std::mutex lock;
  return lock;
}

CrashHandler& Handler() {
  static CrashHandler handler;
  return handler;
}

// One catch clause and casts rather than a clause per type: the failure is being
// reported and the unwinder is asked as little as possible.
std::string ClassNameOf(const std::exception& error) {
  if (dynamic_cast<const std::ios_base::failure*>(&error) != nullptr) return "EReadError";
  if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
    constexpr int kNotEnoughMemory = 8;
    constexpr int kOutOfMemory = 14;
    constexpr int kNoSystemResources = 1450;
    const int code = system->code().value();
    const bool resources = system->code().category() == std::system_category() &&
                           (code == kNotEnoughMemory || code == kOutOfMemory || code == kNoSystemResources);
    return resources ? "EOutOfResources" : "EOSError";
  }
  if (dynamic_cast<const TaskSchedulerError*>(&error) != nullptr) return "EOSError";
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) return "EOutOfMemory";
  if (dynamic_cast<const EConvertError*>(&error) != nullptr) return "EConvertError";
  if (dynamic_cast<const ESQLiteException*>(&error) != nullptr) return "ESQLiteException";
  return "Exception";
}

}  // namespace

std::string CrashLogLine(const CrashReport& report) {
  std::string line = "Unhandled failure: " + report.what;
  if (report.address != 0) line += " at " + Hex(report.address, static_cast<int>(sizeof(void*) * 2));
  if (!report.mode.empty()) line += " in " + report.mode;
  return line;
}

CrashReport ReportException(const std::exception_ptr& exception) {
  CrashReport report;
  report.className = "Unknown";
  if (!exception) {
    report.what = "no exception";
    return report;
  }
  try {
    std::rethrow_exception(exception);
  } catch (const std::exception& error) {
    report.what = Demangle(typeid(error).name()) + ": " + error.what();
    report.className = ClassNameOf(error);
  } catch (...) {
    report.what = "unknown exception";
  }
  return report;
}

std::string DescribeExceptionCode(std::uint32_t code) { return "exception " + Hex(code, 8); }

void SetCrashHandler(CrashHandler handler) {
  const std::lock_guard lock(HandlerLock());
  Handler() = std::move(handler);
}

bool RunCrashHandler(const CrashReport& report) {
  CrashHandler handler;
  {
    const std::lock_guard lock(HandlerLock());
    handler = Handler();
  }
  if (!handler) return false;
  try {
    return handler(report);
  } catch (...) {
    return false;  // the process is ending anyway
  }
}

std::string CrashClassNameOfCode(std::uint32_t code) {
  struct Known {
    std::uint32_t code;
    const char* name;
  };
  static constexpr Known kKnown[] = {
      {0xC0000005u, "EAccessViolation"}, {0xC00000FDu, "EStackOverflow"}, {0xC0000094u, "EDivByZero"},
      {0xC0000095u, "EIntOverflow"},     {0xC000008Eu, "EZeroDivide"},    {0xC0000091u, "EOverflow"},
      {0xC0000093u, "EUnderflow"},       {0xC0000090u, "EInvalidOp"},     {0xC0000096u, "EPrivilege"},
      {0xC000013Au, "EControlC"},
  };
  for (const Known& known : kKnown) {
    if (known.code == code) return known.name;
  }
  return "EExternalException";
}

}  // namespace bootmark
