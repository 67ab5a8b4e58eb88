#include "app/crash_report.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <typeinfo>

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

}  // namespace

std::string CrashLogLine(const CrashReport& report) {
  std::string line = "Unhandled failure: " + report.what;
  if (report.address != 0) line += " at " + Hex(report.address, static_cast<int>(sizeof(void*) * 2));
  if (!report.mode.empty()) line += " in " + report.mode;
  return line;
}

std::string DescribeException(const std::exception_ptr& exception) {
  if (!exception) return "no exception";
  try {
    std::rethrow_exception(exception);
  } catch (const std::exception& error) {
    return Demangle(typeid(error).name()) + ": " + error.what();
  } catch (...) {
    return "unknown exception";
  }
}

std::string DescribeExceptionCode(std::uint32_t code) { return "exception " + Hex(code, 8); }

void SetCrashHandler(CrashHandler handler) {
  const std::lock_guard lock(HandlerLock());
  Handler() = std::move(handler);
}

void RunCrashHandler(const CrashReport& report) {
  CrashHandler handler;
  {
    const std::lock_guard lock(HandlerLock());
    handler = Handler();
  }
  if (!handler) return;
  try {
    handler(report);
  } catch (...) {
    // The process is ending anyway.
  }
}

}  // namespace bootmark
