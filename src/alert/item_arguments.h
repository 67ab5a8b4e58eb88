#pragma once
// The texts of an /AddAutoRun start: the item kind and the hexadecimal-encoded
// item texts that the suite's startup monitor passes, each behind a "/".
#include <string>
#include <string_view>

namespace bootmark {

// The text after the first "/" of an argument (the whole argument when it has none).
std::string_view ArgumentValue(std::string_view argument);

// The item kind: the value trimmed and read as an integer; 1 when it is not one.
int ParseItemKind(std::string_view argument);

// The value read as UTF-16 code units, four hexadecimal digits each, low byte
// first ("4100" is "A"). The text has (digits div 4) characters; fewer than four
// digits left over are ignored. Decoding stops at the first byte whose two
// digits are not both hexadecimal, and the bytes after it stay zero, so the text
// keeps its length with NUL characters at its end. A missing argument or a bare
// "/" gives the empty text.
std::string DecodeItemArgument(std::string_view argument);

}  // namespace bootmark
