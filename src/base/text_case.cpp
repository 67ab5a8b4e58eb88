// Windows' ordinal case-insensitive rule: every UTF-16 unit mapped to upper case
// (base/case_table.cpp) and the units compared as numbers.
#include <cstdint>

#include "base/text.h"
#include "base/utf8_decode.h"

namespace bootmark {
namespace {

using text_detail::DecodeUtf8;

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Walks UTF-8 text as the upper-cased UTF-16 units Windows would compare, without
// building the UTF-16 string.
class UpperUnitReader {
 public:
  explicit UpperUnitReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pending_ == 0 && pos_ >= text_.size(); }

  // True when the next unit is plain ASCII (no half of a pair is waiting).
  bool NextIsAscii() const {
    return pending_ == 0 && pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) < 0x80;
  }
  char NextAsciiUpper() { return AsciiUpper(text_[pos_++]); }

  // Precondition: !AtEnd().
  char16_t Next() {
    if (pending_ != 0) {
      const char16_t low = pending_;
      pending_ = 0;
      return low;  // surrogates have no case
    }
    const char32_t code = DecodeUtf8(text_, pos_);
    if (code < 0x10000) return UpperCaseUnit(static_cast<char16_t>(code));
    const char32_t offset = code - 0x10000;
    pending_ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    return static_cast<char16_t>(0xD800 + (offset >> 10));
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  char16_t pending_ = 0;
};

std::u16string UpperUnits(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  UpperUnitReader reader(text);
  while (!reader.AtEnd()) units.push_back(reader.Next());
  return units;
}

}  // namespace

std::string UpperCaseOrdinal(std::string_view text) {
  if (IsAscii(text)) {
    std::string out(text);
    for (char& c : out) c = AsciiUpper(c);
    return out;
  }
  return Utf16ToUtf8(UpperUnits(text));
}

int CompareTextOrdinal(std::string_view a, std::string_view b) {
  UpperUnitReader left(a);
  UpperUnitReader right(b);
  while (true) {
    if (left.NextIsAscii() && right.NextIsAscii()) {
      const auto x = static_cast<unsigned char>(left.NextAsciiUpper());
      const auto y = static_cast<unsigned char>(right.NextAsciiUpper());
      if (x != y) return x < y ? -1 : 1;
      continue;
    }
    const bool leftEnd = left.AtEnd();
    const bool rightEnd = right.AtEnd();
    if (leftEnd || rightEnd) return leftEnd == rightEnd ? 0 : (leftEnd ? -1 : 1);
    const char16_t x = left.Next();
    const char16_t y = right.Next();
    if (x != y) return x < y ? -1 : 1;
  }
}

bool SameText(std::string_view a, std::string_view b) {
  if (a == b) return true;  // equal bytes need no case mapping
  return CompareTextOrdinal(a, b) == 0;
}

std::size_t HashTextIgnoreCase(std::string_view text) {
  // FNV-1a over the upper-cased UTF-16 units, then a final mix so that the low
  // bits a hash table uses depend on every unit.
  std::uint64_t hash = 14695981039346656037ull;
  constexpr std::uint64_t kPrime = 1099511628211ull;
  UpperUnitReader reader(text);
  while (true) {
    std::uint16_t unit;
    if (reader.NextIsAscii()) {
      unit = static_cast<unsigned char>(reader.NextAsciiUpper());
    } else if (!reader.AtEnd()) {
      unit = reader.Next();
    } else {
      break;
    }
    hash = (hash ^ unit) * kPrime;
  }
  hash ^= hash >> 32;
  hash *= 0xD6E8FEB86659FD93ull;
  hash ^= hash >> 32;
  return static_cast<std::size_t>(hash);
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  UpperUnitReader whole(text);
  UpperUnitReader start(prefix);
  while (!start.AtEnd()) {
    if (whole.AtEnd() || whole.Next() != start.Next()) return false;
  }
  return true;
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
  if (IsAscii(text) && IsAscii(suffix)) {
    if (suffix.size() > text.size()) return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
      if (AsciiUpper(tail[i]) != AsciiUpper(suffix[i])) return false;
    }
    return true;
  }
  // A multi-byte character may match a shorter one ('ı' matches 'I'), so the
  // comparison is made on the UTF-16 units.
  const std::u16string whole = UpperUnits(text);
  const std::u16string end = UpperUnits(suffix);
  return end.size() <= whole.size() && whole.compare(whole.size() - end.size(), end.size(), end) == 0;
}

}  // namespace bootmark
