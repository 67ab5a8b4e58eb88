#include "common/ansi_encoder.h"

#include <algorithm>

#include "base/text.h"

namespace bootmark {

std::string AnsiEncoder::Encode(std::string_view text) {
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(text);
  }
  if (bytes_.empty()) {
    for (int byte = 0; byte < 256; ++byte) {
      const std::u16string unit = files_.DecodeAnsi(std::string(1, static_cast<char>(byte)));
      if (unit.size() == 1) bytes_.emplace(unit[0], static_cast<char>(byte));
    }
  }
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t unit : Utf8ToUtf16(text)) {
    const auto found = bytes_.find(unit);
    bytes += found != bytes_.end() ? found->second : '?';
  }
  return bytes;
}

}  // namespace bootmark
