#pragma once
// /AddAutoRun arguments as the suite's startup monitor writes them.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_arguments.h"
#include "base/text.h"
#include "fakes/utf16_file.h"

namespace bootmark::testing {

// "/" and four hexadecimal digits per UTF-16 unit, low byte first.
inline std::string EncodeItemArgument(std::string_view text) {
  std::string encoded = "/";
  for (const char16_t unit : Utf8ToUtf16(text)) {
    char digits[5];
    std::snprintf(digits, sizeof digits, "%02X%02X", unit & 0xFF, unit >> 8);
    encoded += digits;
  }
  return encoded;
}

// Bootmark.exe /AddAutoRun /<kind> followed by the encoded texts.
inline ProgramArguments AddAutoRunArguments(int kind, const std::vector<std::string>& texts) {
  std::vector<std::string> arguments{"Bootmark.exe", "/AddAutoRun", "/" + std::to_string(kind)};
  for (const std::string& text : texts) arguments.push_back(EncodeItemArgument(text));
  return ProgramArguments(std::move(arguments));
}

}  // namespace bootmark::testing
