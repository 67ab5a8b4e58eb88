#include "alert/item_arguments.h"

#include <optional>

#include "base/text.h"

namespace bootmark {
namespace {

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

}  // namespace

std::string_view ArgumentValue(std::string_view argument) {
  const std::size_t slash = argument.find('/');
  return slash == std::string_view::npos ? argument : argument.substr(slash + 1);
}

int ParseItemKind(std::string_view argument) { return StrToIntDef(Trim(ArgumentValue(argument)), 1); }

std::string DecodeItemArgument(std::string_view argument) {
  const std::string_view hex = ArgumentValue(argument);
  std::u16string units(hex.size() / 4, u'\0');
  for (std::size_t byte = 0; byte < units.size() * 2; ++byte) {
    const std::optional<int> high = HexDigit(hex[byte * 2]);
    const std::optional<int> low = HexDigit(hex[byte * 2 + 1]);
    if (!high || !low) break;
    const auto value = static_cast<char16_t>(*high * 16 + *low);
    units[byte / 2] = static_cast<char16_t>(units[byte / 2] | (byte % 2 == 0 ? value : value << 8));
  }
  return Utf16ToUtf8(units);
}

}  // namespace bootmark
