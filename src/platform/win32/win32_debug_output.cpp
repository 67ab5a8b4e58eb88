#include "platform/win32/win32_debug_output.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace bootmark::win32 {

void Win32DebugOutput::Write(std::string_view line) { ::OutputDebugStringW(Wide(line).c_str()); }

}  // namespace bootmark::win32
