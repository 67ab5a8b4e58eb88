#pragma once
// Small text functions used across the program.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

// The text before the first `ch`, empty when the text has none. With no
// character given (`ch` = '\0'), the first `count` characters (UTF-16 units, a
// surrogate pair is never cut in two). `ch` is an ASCII character.
std::string TextBeforeChar(std::string_view text, char ch, std::size_t count = 0);

// The text after the last `ch`; the whole text when it has none. `ch` is an
// ASCII character.
std::string TextAfterLastChar(std::string_view text, char ch);

// Every piece between delimiters, empty pieces included, the last piece always
// added: "a,,b" -> {"a", "", "b"}, "a," -> {"a", ""}, "" -> {""}. An empty
// delimiter gives the whole text as one piece.
std::vector<std::string> SplitText(std::string_view text, std::string_view delimiter);

}  // namespace bootmark
