#pragma once
// Lines written to the system debugger.
#include "platform/debug_output.h"

namespace bootmark::win32 {

class Win32DebugOutput : public IDebugOutput {
 public:
  void Write(std::string_view line) override;
};

}  // namespace bootmark::win32
