#pragma once
// WOW64: whether this process runs under it, and its file-system redirection.
#include "platform/wow64.h"

namespace bootmark::win32 {

// In the 64-bit build the functions answer for that 64-bit process: it is not a
// WOW64 process and nothing redirects its file access. The rules that must see
// the machine as the shipped 32-bit program does (SystemInfo) make up for it.
class Win32Wow64 : public IWow64 {
 public:
  bool ProcessIs64Bit() override;
  ProcessHandle CurrentProcess() override;
  std::optional<bool> IsWow64Process(ProcessHandle process) override;
  std::optional<Wow64RedirectionValue> DisableRedirection() override;
  bool RevertRedirection(Wow64RedirectionValue oldValue) override;
};

}  // namespace bootmark::win32
