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
  // The failure's kind by the names the restart decision knows (below).
  std::string className;
};

// The kinds of a C++ failure (CrashReport::className), named as the suite's crash
// reports name them:
// - "EOSError": a system call failed (std::system_error, a task scheduler error);
// - "EOutOfResources": the system ran out of window or memory resources
//   (std::system_error with ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY or
//   ERROR_NO_SYSTEM_RESOURCES);
// - "EReadError": a stream could not be read (std::ios_base::failure);
// - "EOutOfMemory": std::bad_alloc; "EConvertError", "ESQLiteException": the
//   program's own conversion and database errors; "Exception": any other
//   std::exception; "Unknown": something thrown that is no std::exception.
// The kind of a processor or system exception by its code: "EAccessViolation",
// "EStackOverflow", "EDivByZero", "EIntOverflow", "EZeroDivide", "EOverflow",
// "EUnderflow", "EInvalidOp", "EPrivilege", "EControlC"; any other code is an
// "EExternalException".
std::string CrashClassNameOfCode(std::uint32_t code);

// "Unhandled failure: <what> at 0x<address> in <mode>" (the parts that are known).
std::string CrashLogLine(const CrashReport& report);

// The report of a C++ failure, from one look at the exception: its type and
// message ("std::bad_alloc: std::bad_alloc"; "unknown exception" for one that is
// not a std::exception; "no exception" for a null pointer) and its kind.
CrashReport ReportException(const std::exception_ptr& exception);

// The system's exception code as text: "exception 0xC0000005".
std::string DescribeExceptionCode(std::uint32_t code);

// Called once with the report before the process ends; true when it handled the
// failure, which then ends the process with exit code 0. At most one handler:
// setting another replaces it, an empty one removes it. Kept process-wide because
// the system's last-chance handler has no other way to it.
using CrashHandler = std::function<bool(const CrashReport&)>;
void SetCrashHandler(CrashHandler handler);
// False without a handler or when it throws.
bool RunCrashHandler(const CrashReport& report);

}  // namespace bootmark
