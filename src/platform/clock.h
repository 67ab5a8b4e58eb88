#pragma once
#include <cstdint>

#include "base/date_time.h"

namespace bootmark {

class IClock {
 public:
  virtual ~IClock() = default;
  // Milliseconds since the system started (GetTickCount).
  virtual std::uint32_t TickCount() = 0;
  // Local date and time.
  virtual DateTime Now() = 0;
  // Coordinated universal date and time (GetSystemTime).
  virtual DateTime UtcNow() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace bootmark
