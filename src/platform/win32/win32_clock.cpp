#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace bootmark::win32 {

std::uint32_t Win32Clock::TickCount() { return ::GetTickCount(); }

DateTime Win32Clock::Now() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  const CalendarTime time{local.wYear, local.wMonth, local.wDay, local.wHour,
                          local.wMinute, local.wSecond, local.wMilliseconds};
  return EncodeDateTime(time).value_or(0.0);
}

DateTime Win32Clock::UtcNow() {
  SYSTEMTIME utc{};
  ::GetSystemTime(&utc);
  const CalendarTime time{utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds};
  return EncodeDateTime(time).value_or(0.0);
}

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace bootmark::win32
