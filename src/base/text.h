#pragma once
// Text helpers. Inside the program text is UTF-8 in std::string; UTF-16 appears only
// at the Windows boundary and in files. "Without regard to case" is Windows' ordinal
// case-insensitive comparison: every UTF-16 unit is mapped to upper case and the
// units are compared as numbers.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

// Conversions. Invalid input never throws: ill-formed UTF-8 sequences and
// unpaired surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// File contents. The strict readers say false instead of guessing: a file that
// cannot be decoded must not be rewritten from a lossy copy.
// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values
// above U+10FFFF).
bool IsWellFormedUtf8(std::string_view text);
// UTF-16 bytes (little- or big-endian, no byte order mark) to UTF-8; false on an
// odd byte count or an unpaired surrogate.
bool TryDecodeUtf16Bytes(std::string_view bytes, bool bigEndian, std::string& text);
// Appends UTF-8 text as UTF-16 code units in the given byte order; ill-formed
// UTF-8 becomes U+FFFD.
void AppendUtf16(std::string& out, std::string_view utf8, bool bigEndian = false);

// Upper-case mapping of one UTF-16 unit (simple one-to-one mappings of the BMP).
char16_t UpperCaseUnit(char16_t unit);
std::string UpperCaseOrdinal(std::string_view text);

// Ordinal case-insensitive comparison: <0, 0, >0.
int CompareTextOrdinal(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Hash that agrees with SameText (equal for texts that compare equal).
std::size_t HashTextIgnoreCase(std::string_view text);

struct TextLessIgnoreCase {
  bool operator()(std::string_view a, std::string_view b) const {
    return CompareTextOrdinal(a, b) < 0;
  }
};

// Removes characters <= ' ' (blanks and control characters) at both ends.
std::string_view Trim(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);

// Every piece between delimiters, empty pieces included, the last piece always
// added: "a,,b" -> {"a", "", "b"}, "a," -> {"a", ""}, "" -> {""}. An empty
// delimiter gives the whole text as one piece.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter);

bool StartsWith(std::string_view text, std::string_view prefix);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Number conversions with the settings files' rules.
// Decimal integer with optional sign; a leading "0x"/"$" reads as hexadecimal.
// Blanks around the number are not accepted (callers trim).
std::optional<std::int64_t> TryParseInteger(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t defaultValue);
std::string IntToStr(std::int64_t value);
// Floating-point with "." as decimal separator, an optional exponent; a ","
// is read as ".". Nullopt when not a number.
std::optional<double> TryParseFloat(std::string_view text);
// Shortest text that reads back to the same double, "." separator,
// no exponent for ordinary magnitudes ("1.5", "0", "-2.25", "45678.5").
std::string FloatToStr(double value);

}  // namespace bootmark
