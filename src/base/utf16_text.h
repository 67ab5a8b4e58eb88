#pragma once
// Text work on UTF-16 units, for the rules that count characters the way Windows
// does (positions, lengths, "the last 32 characters"). "Without regard to case"
// is the ordinal rule of base/text.h: each unit mapped to upper case.
#include <cstddef>
#include <string>
#include <string_view>

namespace bootmark::utf16 {

constexpr std::size_t npos = std::u16string_view::npos;

std::u16string Upper(std::u16string_view text);
// Only A-Z are mapped; the rules compare the result with ASCII words.
std::u16string LowerAscii(std::u16string_view text);

bool IsAsciiDigit(char16_t unit);
bool IsAsciiLetterOrDigit(char16_t unit);
// 0-9 and a-z.
bool IsDigitOrLowerAscii(char16_t unit);

bool SameText(std::u16string_view a, std::u16string_view b);
bool StartsWith(std::u16string_view text, std::u16string_view prefix);
bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix);
// Position of the first occurrence at or after `from`, npos when there is none.
std::size_t FindIgnoreCase(std::u16string_view text, std::u16string_view what, std::size_t from = 0);
bool ContainsIgnoreCase(std::u16string_view text, std::u16string_view what);

// Every occurrence, left to right, never re-reading replaced text.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);
std::u16string ReplaceAllIgnoreCase(std::u16string_view text, std::u16string_view from, std::u16string_view to);
// The first occurrence only, compared exactly.
std::u16string ReplaceFirst(std::u16string_view text, std::u16string_view from, std::u16string_view to);

// Units <= ' ' (blanks and control characters) removed at the ends.
std::u16string_view Trim(std::u16string_view text);
std::u16string_view TrimLeft(std::u16string_view text);
std::u16string_view TrimRight(std::u16string_view text);

}  // namespace bootmark::utf16
