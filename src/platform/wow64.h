#pragma once
// The 32-bit emulation of 64-bit Windows (WOW64): which processes run in it, and
// the file-system redirection of "System32" that it applies to them.
#include <cstdint>
#include <optional>

namespace bootmark {

// An opaque process handle (HANDLE) as an integer.
using ProcessHandle = std::uintptr_t;
// The value Wow64DisableWow64FsRedirection hands back for the matching revert.
using Wow64RedirectionValue = std::uintptr_t;

class IWow64 {
 public:
  virtual ~IWow64() = default;
  // True when this build of the program is a 64-bit process (the test build);
  // the shipped program is 32-bit.
  virtual bool ProcessIs64Bit() = 0;
  // The pseudo handle of the current process (GetCurrentProcess).
  virtual ProcessHandle CurrentProcess() = 0;
  // kernel32's IsWow64Process, looked up once: whether the process runs under
  // WOW64; nullopt when the system has no such function or the call fails.
  virtual std::optional<bool> IsWow64Process(ProcessHandle process) = 0;
  // Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection for the
  // calling thread, looked up at run time. Disabling answers the value to revert
  // with, nullopt when missing or refused; reverting false when missing or refused.
  virtual std::optional<Wow64RedirectionValue> DisableRedirection() = 0;
  virtual bool RevertRedirection(Wow64RedirectionValue oldValue) = 0;
};

}  // namespace bootmark
