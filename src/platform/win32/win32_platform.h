#pragma once
// Owns the real implementations of every port and lends them out as one Platform.
// Callers need no <windows.h>.
#include <memory>

#include "platform/platform.h"

namespace bootmark::win32 {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  const Platform& Get() const { return platform_; }

 private:
  struct Ports;
  std::unique_ptr<Ports> ports_;
  Platform platform_;
};

}  // namespace bootmark::win32
