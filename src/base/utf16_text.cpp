#include "base/utf16_text.h"

#include "base/text.h"

namespace bootmark::utf16 {

std::u16string Upper(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& unit : upper) unit = UpperCaseUnit(unit);
  return upper;
}

std::u16string LowerAscii(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& unit : lower) {
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
  }
  return lower;
}

bool IsAsciiDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

bool IsAsciiLetterOrDigit(char16_t unit) {
  return IsAsciiDigit(unit) || (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

bool IsDigitOrLowerAscii(char16_t unit) { return IsAsciiDigit(unit) || (unit >= u'a' && unit <= u'z'); }

bool SameText(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperCaseUnit(a[i]) != UpperCaseUnit(b[i])) return false;
  }
  return true;
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::size_t FindIgnoreCase(std::u16string_view text, std::u16string_view what, std::size_t from) {
  if (what.size() > text.size()) return npos;
  for (std::size_t at = from; at + what.size() <= text.size(); ++at) {
    if (SameText(text.substr(at, what.size()), what)) return at;
  }
  return npos;
}

bool ContainsIgnoreCase(std::u16string_view text, std::u16string_view what) {
  return FindIgnoreCase(text, what) != npos;
}

namespace {

template <typename Finder>
std::u16string ReplaceEach(std::u16string_view text, std::u16string_view from, std::u16string_view to,
                           Finder find) {
  if (from.empty()) return std::u16string(text);
  std::u16string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t found = find(text, from, start); found != npos; found = find(text, from, start)) {
    out.append(text.substr(start, found - start));
    out.append(to);
    start = found + from.size();
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  return ReplaceEach(text, from, to, [](std::u16string_view t, std::u16string_view f, std::size_t start) {
    return t.find(f, start);
  });
}

std::u16string ReplaceAllIgnoreCase(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  // Upper-casing keeps every unit in place, so positions found in the upper-cased
  // copies are positions in the text.
  const std::u16string upperText = Upper(text);
  const std::u16string upperFrom = Upper(from);
  return ReplaceEach(text, from, to, [&](std::u16string_view, std::u16string_view, std::size_t start) {
    return upperText.find(upperFrom, start);
  });
}

std::u16string ReplaceFirst(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  const std::size_t found = from.empty() ? npos : text.find(from);
  if (found == npos) return std::u16string(text);
  std::u16string out(text.substr(0, found));
  out.append(to);
  out.append(text.substr(found + from.size()));
  return out;
}

std::u16string_view TrimLeft(std::u16string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] <= u' ') ++start;
  return text.substr(start);
}

std::u16string_view TrimRight(std::u16string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] <= u' ') --end;
  return text.substr(0, end);
}

std::u16string_view Trim(std::u16string_view text) { return TrimRight(TrimLeft(text)); }

}  // namespace bootmark::utf16
