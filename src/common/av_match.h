#pragma once
// The match expressions of the antivirus product definitions ("DetectionEx.ini").
#include <string_view>

namespace bootmark {

// Tests `value` against `expression`, both without regard to case. A text in
// single quotes is true when it occurs in the value; "&" is "and", "|" is "or",
// "not" negates the term after it, and parentheses group. Groups are evaluated
// innermost first; inside a group the words are combined strictly left to right
// ("'a' | 'b' & 'c'" is ('a' or 'b') and 'c'). A single quote without a closing
// one is dropped; a term is true only when it reads as a true boolean ("True" or
// a number other than 0); a word where an operator belongs, or a missing term,
// makes the whole expression false.
bool EvaluateMatch(std::string_view expression, std::string_view value);

}  // namespace bootmark
