#pragma once
// Reading UTF-8 one code point at a time: shared by the conversions and the
// case-insensitive comparisons of base/text.h, not used elsewhere.
#include <cstddef>
#include <string_view>

namespace bootmark::text_detail {

constexpr char32_t kReplacement = 0xFFFD;

// Reads one code point from `text` at `pos` and advances `pos`. An ill-formed
// sequence gives U+FFFD for its longest valid-looking start (at least one byte);
// the byte that breaks a sequence is read again as the start of the next one.
// This rejects overlong forms, encoded surrogates and values above U+10FFFF by
// restricting the byte after the lead byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

}  // namespace bootmark::text_detail
