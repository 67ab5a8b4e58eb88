// Numbers read and written with the settings files' rules.
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "base/text.h"

namespace bootmark {
namespace {

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

}  // namespace bootmark
