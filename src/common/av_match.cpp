#include "common/av_match.h"

#include <string>
#include <vector>

#include "base/text.h"

namespace bootmark {
namespace {

using Words = std::vector<std::string>;

// The expression as words: quoted texts already replaced by "true" or "false".
Words ToWords(std::string_view expression, std::string_view value) {
  Words words;
  std::string current;
  auto flush = [&] {
    if (!current.empty()) words.push_back(std::move(current));
    current.clear();
  };
  auto word = [&](std::string_view text) {
    flush();
    words.emplace_back(text);
  };
  for (std::size_t i = 0; i < expression.size(); ++i) {
    const char c = expression[i];
    switch (c) {
      case '\'': {
        const std::size_t close = expression.find('\'', i + 1);
        if (close == std::string_view::npos) break;  // no closing quote: the quote is dropped
        word(value.find(expression.substr(i + 1, close - i - 1)) != std::string_view::npos ? "true" : "false");
        i = close;
        break;
      }
      case '&':
        word("and");
        break;
      case '|':
        word("or");
        break;
      case '(':
        word("(");
        break;
      case ')':
        word(")");
        break;
      default:
        if (static_cast<unsigned char>(c) <= ' ') {
          flush();
        } else {
          current += c;
        }
    }
  }
  flush();
  return words;
}

bool IsTrue(std::string_view word) {
  if (SameText(word, "true")) return true;
  const std::optional<double> number = TryParseFloat(word);
  return number && *number != 0;
}

// A flat word list, left to right without precedence.
bool EvaluateFlat(const Words& words) {
  std::size_t next = 0;
  // A term at `next`, or "not" and a term; false when the term is missing.
  auto term = [&](bool& result) {
    bool negate = false;
    if (next < words.size() && SameText(words[next], "not")) {
      negate = true;
      ++next;
    }
    if (next >= words.size()) return false;
    result = IsTrue(words[next++]) != negate;
    return true;
  };
  bool value = false;
  if (!term(value)) return false;
  while (next < words.size()) {
    const std::string& op = words[next++];
    const bool isAnd = SameText(op, "and");
    if (!isAnd && !SameText(op, "or")) return false;
    bool operand = false;
    if (!term(operand)) return false;
    value = isAnd ? value && operand : value || operand;
  }
  return value;
}

}  // namespace

bool EvaluateMatch(std::string_view expression, std::string_view value) {
  const std::string foldedValue = UpperCaseOrdinal(value);
  const Words words = ToWords(UpperCaseOrdinal(expression), foldedValue);
  // One word list per open parenthesis; a closing one replaces its group by the
  // group's result, so groups are evaluated innermost first. Parentheses that
  // have no partner stay words of their own.
  std::vector<Words> groups(1);
  for (const std::string& word : words) {
    if (word == "(") {
      groups.emplace_back();
    } else if (word == ")" && groups.size() > 1) {
      const bool result = EvaluateFlat(groups.back());
      groups.pop_back();
      groups.back().emplace_back(result ? "True" : "False");
    } else {
      groups.back().push_back(word);
    }
  }
  // Groups still open were opened one inside the other, each after all the words
  // of the one before it: in order, they are the rest of the words.
  Words flat = std::move(groups.front());
  for (std::size_t i = 1; i < groups.size(); ++i) {
    flat.emplace_back("(");
    flat.insert(flat.end(), groups[i].begin(), groups[i].end());
  }
  return EvaluateFlat(flat);
}

}  // namespace bootmark
