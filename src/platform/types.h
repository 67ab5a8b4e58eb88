#pragma once
// Plain value types shared by the platform ports. No <windows.h> here: these mirror
// the Win32 shapes the program needs so that portable code can be tested natively.
#include <cstdint>

namespace bootmark {

// An opaque window handle (HWND) as an integer; 0 is "no window".
using WindowHandle = std::uintptr_t;
constexpr WindowHandle kNoWindow = 0;
// The all-ones handle value some user32 calls return on failure.
constexpr WindowHandle kInvalidWindow = ~WindowHandle{0};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

}  // namespace bootmark
