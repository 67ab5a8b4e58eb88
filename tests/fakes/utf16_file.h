#pragma once
// Text files as the program and the suite write them: UTF-16, little-endian
// unless asked otherwise, after the byte order mark.
#include <string>
#include <string_view>

#include "base/text.h"

namespace bootmark::testing {

// The UTF-16 code units of `utf8` as bytes, without a byte order mark.
inline std::string Utf16Units(std::string_view utf8, bool bigEndian = false) {
  std::string bytes;
  AppendUtf16(bytes, utf8, bigEndian);
  return bytes;
}

// A whole file: the byte order mark, then the text.
inline std::string Utf16File(std::string_view utf8, bool bigEndian = false) {
  return (bigEndian ? "\xFE\xFF" : "\xFF\xFE") + Utf16Units(utf8, bigEndian);
}

}  // namespace bootmark::testing
