#pragma once
// What the crash safety net knows about a failure that nothing else caught, the
// line it logs, and the one handler that may act before the process ends (the
// boot-time notice plugs its restart in here).
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace bootmark {

struct CrashReport {
  // The exception's type and message, or the system's exception code.
  std::string what;
  // Where the fault happened; 0 when not known (a C++ exception has no address).
  std::uintptr_t address = 0;
  // The run mode's switch ("/AddAutoRun"), when known.
  std::string mode;
};

// "Unhandled failure: <what> at 0x<address> in <mode>" (the parts that are known).
std::string CrashLogLine(const CrashReport& report);

// The type and message of an exception: "std::bad_alloc: std::bad_alloc";
// "unknown exception" for one that is not a std::exception; "no exception" for
// a null pointer.
std::string DescribeException(const std::exception_ptr& exception);

// The system's exception code as text: "exception 0xC0000005".
std::string DescribeExceptionCode(std::uint32_t code);

// Called once with the report before the process ends; must not throw. At most
// one handler: setting another replaces it, an empty one removes it. Kept
// process-wide because the system's last-chance handler has no other way to it.
using CrashHandler = std::function<void(const CrashReport&)>;
void SetCrashHandler(CrashHandler handler);
void RunCrashHandler(const CrashReport& report);

}  // namespace bootmark
