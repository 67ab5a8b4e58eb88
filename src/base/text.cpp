// Trimming, splitting, prefixes and replacing.
#include "base/text.h"

namespace bootmark {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

std::string_view TrimLeft(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return text.substr(start);
}

std::string_view TrimRight(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter) {
  if (delimiter.empty()) return {std::string(text)};
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (true) {
    const std::size_t found = text.find(delimiter, start);
    if (found == std::string_view::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, found - start));
    start = found + delimiter.size();
  }
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  while (true) {
    const std::size_t found = text.find(from, start);
    if (found == std::string_view::npos) break;
    out.append(text.substr(start, found - start));
    out.append(to);
    start = found + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::string TextBeforeChar(std::string_view text, char ch, std::size_t count) {
  if (ch != '\0') {
    const std::size_t found = text.find(ch);
    return found == std::string_view::npos ? std::string() : std::string(text.substr(0, found));
  }
  std::u16string units = Utf8ToUtf16(text);
  if (count >= units.size()) return std::string(text);
  units.resize(count);
  if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF) units.pop_back();
  return Utf16ToUtf8(units);
}

std::string TextAfterLastChar(std::string_view text, char ch) {
  const std::size_t found = text.rfind(ch);
  return std::string(found == std::string_view::npos ? text : text.substr(found + 1));
}

}  // namespace bootmark
