#include "base/text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace bootmark {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Reads one code point from `text` at `pos` and advances `pos`. An ill-formed
// sequence gives U+FFFD for its longest valid-looking start (at least one byte);
// the byte that breaks a sequence is read again as the start of the next one.
// This rejects overlong forms, encoded surrogates and values above U+10FFFF by
// restricting the byte after the lead byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;

  int length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // U+D800..U+DFFF
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return kReplacement;  // stray continuation byte, C0, C1, F5..FF
  }

  for (int i = 1; i < length; ++i) {
    if (pos >= text.size()) return kReplacement;
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < low || byte > high) return kReplacement;
    low = 0x80;
    high = 0xBF;
    value = (value << 6) | (byte & 0x3F);
    ++pos;
  }
  return value;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

void AppendUnitBytes(std::string& out, char16_t unit, bool bigEndian) {
  const char high = static_cast<char>(unit >> 8);
  const char low = static_cast<char>(unit & 0xFF);
  out.push_back(bigEndian ? high : low);
  out.push_back(bigEndian ? low : high);
}

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

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

struct IntegerParts {
  bool negative = false;
  bool hexadecimal = false;
  std::uint64_t magnitude = 0;
};

std::optional<IntegerParts> ParseIntegerParts(std::string_view text) {
  IntegerParts parts;
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    parts.negative = text[pos] == '-';
    ++pos;
  }
  int base = 10;
  if (pos < text.size() && text[pos] == '$') {
    base = 16;
    ++pos;
  } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= text.size()) return std::nullopt;
  // from_chars reads no sign into an unsigned value, so "--1" and "0x-1" fail.
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, parts.magnitude, base);
  if (error != std::errc() || end != last) return std::nullopt;
  parts.hexadecimal = base == 16;
  return parts;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char32_t code = DecodeUtf8(text, pos);
    if (code < 0x10000) {
      out.push_back(static_cast<char16_t>(code));
    } else {
      const char32_t offset = code - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit < 0xD800 || unit > 0xDFFF) {
      AppendUtf8(out, unit);
    } else if (unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, kReplacement);
    }
  }
  return out;
}

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

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t found = text.find(separator, start);
    if (found == std::string_view::npos) {
      parts.emplace_back(text.substr(start));
      return parts;
    }
    parts.emplace_back(text.substr(start, found - start));
    start = found + 1;
  }
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
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

std::optional<std::int64_t> TryParseInteger(std::string_view text) {
  const auto parts = ParseIntegerParts(text);
  if (!parts) return std::nullopt;
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (parts->negative) {
    if (parts->magnitude > kMax + 1) return std::nullopt;
    // Negate in unsigned arithmetic so that the most negative value needs no
    // positive counterpart.
    return static_cast<std::int64_t>(0 - parts->magnitude);
  }
  if (parts->magnitude > kMax) return std::nullopt;
  return static_cast<std::int64_t>(parts->magnitude);
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t defaultValue) {
  const auto parts = ParseIntegerParts(text);
  if (!parts) return defaultValue;
  if (parts->hexadecimal) {
    // Hexadecimal values are 32-bit patterns: "$FFFFFFFF" is -1, and a sign
    // negates the pattern.
    if (parts->magnitude > 0xFFFFFFFFull) return defaultValue;
    auto bits = static_cast<std::uint32_t>(parts->magnitude);
    if (parts->negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  constexpr std::uint64_t kMax = std::numeric_limits<std::int32_t>::max();
  if (parts->magnitude > kMax + (parts->negative ? 1 : 0)) return defaultValue;
  const auto magnitude = static_cast<std::int64_t>(parts->magnitude);
  return static_cast<std::int32_t>(parts->negative ? -magnitude : magnitude);
}

std::string IntToStr(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::optional<double> TryParseFloat(std::string_view text) {
  // Checked by hand first: from_chars alone would take "inf", "nan" and a
  // prefix of the text, and it rejects a leading '+'.
  std::string number(text);
  for (char& c : number) {
    if (c == ',') c = '.';
  }
  std::size_t pos = 0;
  const auto isDigit = [&number](std::size_t at) {
    return at < number.size() && number[at] >= '0' && number[at] <= '9';
  };
  bool negative = false;
  if (pos < number.size() && (number[pos] == '+' || number[pos] == '-')) {
    negative = number[pos] == '-';
    ++pos;
  }
  const std::size_t mantissaStart = pos;
  // Decimal order of the first non-zero digit (0 for units, -1 for tenths...),
  // used to tell an underflow from an overflow.
  std::int64_t order = 0;
  bool seenNonZero = false;
  std::size_t digitCount = 0;
  for (; isDigit(pos); ++pos, ++digitCount) {
    if (seenNonZero) {
      ++order;
    } else if (number[pos] != '0') {
      seenNonZero = true;
    }
  }
  if (pos < number.size() && number[pos] == '.') {
    for (++pos; isDigit(pos); ++pos, ++digitCount) {
      if (!seenNonZero) {
        --order;
        seenNonZero = number[pos] != '0';
      }
    }
  }
  if (digitCount == 0) return std::nullopt;
  if (pos < number.size() && (number[pos] == 'e' || number[pos] == 'E')) {
    ++pos;
    bool negativeExponent = false;
    if (pos < number.size() && (number[pos] == '+' || number[pos] == '-')) {
      negativeExponent = number[pos] == '-';
      ++pos;
    }
    if (!isDigit(pos)) return std::nullopt;
    std::int64_t exponent = 0;
    for (; isDigit(pos); ++pos) {
      if (exponent < 1000000) exponent = exponent * 10 + (number[pos] - '0');
    }
    order += negativeExponent ? -exponent : exponent;
  }
  if (pos != number.size()) return std::nullopt;

  double value = 0;
  const char* first = number.data() + mantissaStart;
  const char* last = number.data() + number.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (end != last) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // A number too small for a double reads as zero; one too large is rejected.
    if (seenNonZero && order >= 0) return std::nullopt;
    value = 0;
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";  // also -0

  // Shortest round-trip digits in scientific form, e.g. "4.56785e+04".
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t ePos = scientific.find('e');
  std::string_view mantissa = scientific.substr(0, ePos);
  int exponent = 0;
  const std::string_view exponentText = scientific.substr(ePos + 1);
  const char* exponentStart = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
  std::from_chars(exponentStart, exponentText.data() + exponentText.size(), exponent);

  std::string out;
  if (!mantissa.empty() && mantissa.front() == '-') {
    out.push_back('-');
    mantissa.remove_prefix(1);
  }
  std::string digits;
  for (const char c : mantissa) {
    if (c != '.') digits.push_back(c);
  }

  // Ordinary magnitudes (1E-5 <= |value| < 1E15) are written without exponent.
  if (exponent < -5 || exponent >= 15) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back('.');
      out.append(digits, 1);
    }
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    out.append(std::to_string(exponent < 0 ? -exponent : exponent));
    return out;
  }
  if (exponent < 0) {
    out.append("0.");
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits);
    return out;
  }
  const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integerDigits) {
    out.append(digits);
    out.append(integerDigits - digits.size(), '0');
  } else {
    out.append(digits, 0, integerDigits);
    out.push_back('.');
    out.append(digits, integerDigits);
  }
  return out;
}

bool IsWellFormedUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {  // ASCII runs are the common case
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    // U+FFFD itself is well formed: only a replacement for other bytes is not.
    if (DecodeUtf8(text, pos) == kReplacement && text.substr(start, pos - start) != "\xEF\xBF\xBD") {
      return false;
    }
  }
  return true;
}

bool TryDecodeUtf16Bytes(std::string_view bytes, bool bigEndian, std::string& text) {
  if (bytes.size() % 2 != 0) return false;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t count = bytes.size() / 2;
  const auto unitAt = [&](std::size_t i) -> char32_t {
    return bigEndian ? (char32_t{data[2 * i]} << 8) | data[2 * i + 1]
                     : (char32_t{data[2 * i + 1]} << 8) | data[2 * i];
  };
  text.clear();
  text.reserve(count + count / 4);
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = unitAt(i);
    if (unit < 0x80) {
      text.push_back(static_cast<char>(unit));
    } else if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 >= count) return false;
      const char32_t low = unitAt(++i);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return false;
    } else {
      AppendUtf8(text, unit);
    }
  }
  return true;
}

void AppendUtf16(std::string& out, std::string_view utf8, bool bigEndian) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t code = DecodeUtf8(utf8, pos);
    if (code < 0x10000) {
      AppendUnitBytes(out, static_cast<char16_t>(code), bigEndian);
    } else {
      AppendUnitBytes(out, static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)), bigEndian);
      AppendUnitBytes(out, static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)), bigEndian);
    }
  }
}

}  // namespace bootmark
