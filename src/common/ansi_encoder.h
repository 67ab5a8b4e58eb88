#pragma once
// UTF-8 text to bytes of the system's ANSI code page, for the places where the
// program hands text to a library that reads it that way.
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/file_system.h"

namespace bootmark {

class AnsiEncoder {
 public:
  explicit AnsiEncoder(IFileSystem& files) : files_(files) {}

  // Characters the code page cannot hold become "?", as Windows writes them.
  // 7-bit text is passed through unchanged without asking the system.
  std::string Encode(std::string_view text);

 private:
  IFileSystem& files_;
  // UTF-16 unit -> byte, built once from the file system's ANSI decoding of
  // every single byte.
  std::unordered_map<char16_t, char> bytes_;
};

}  // namespace bootmark
