#pragma once
// The 32-bit emulation of 64-bit Windows (WOW64): which processes run in it, and
// the file-system redirection of "System32" that it applies to them.
#include <cstdint>

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
  // kernel32's IsWow64Process, looked up once: false when the system has none or
  // the call fails; else true with the process's answer in `isWow64`.
  virtual bool IsWow64Process(ProcessHandle process, bool& isWow64) = 0;
  // Wow64DisableWow64FsRedirection and Wow64RevertWow64FsRedirection for the
  // calling thread, looked up at run time: false when missing or refused.
  virtual bool DisableRedirection(Wow64RedirectionValue& oldValue) = 0;
  virtual bool RevertRedirection(Wow64RedirectionValue oldValue) = 0;
};

}  // namespace bootmark
