#pragma once
// The tick count, the local and UTC time, and sleeping.
#include "platform/clock.h"

namespace bootmark::win32 {

class Win32Clock : public IClock {
 public:
  std::uint32_t TickCount() override;
  DateTime Now() override;
  DateTime UtcNow() override;
  void Sleep(std::uint32_t milliseconds) override;
};

}  // namespace bootmark::win32
