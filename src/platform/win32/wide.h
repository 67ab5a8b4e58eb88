#pragma once
// Conversions between the program's UTF-8 text and the wide strings of Win32.
#include <string>
#include <string_view>

#include "base/text.h"

namespace bootmark::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline std::wstring Wide(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

inline std::string Narrow(std::wstring_view text) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

inline std::string Narrow(const wchar_t* text, std::size_t length) { return Narrow(std::wstring_view(text, length)); }

}  // namespace bootmark::win32
