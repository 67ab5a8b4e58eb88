#include "startup/service_database.h"

#include <utility>

#include "base/text.h"

namespace bootmark {

std::string OSFamilyOf(std::string_view osName) {
  static constexpr std::pair<std::string_view, std::string_view> kFamilies[] = {
      {"Windows NT", "2000"},    {"Windows 2000", "2000"}, {"Windows XP", "XP"},
      {"Windows 2003 Server", "XP"}, {"Windows Vista", "Vista"}, {"Windows 7", "Win7"},
      {"Windows 8", "Win8"},     {"Windows 10", "Win8"},   {"Windows 11", "Win8"},
  };
  for (const auto& [name, family] : kFamilies) {
    if (osName == name) return std::string(family);
  }
  return {};
}

std::optional<std::string> KnownServiceName(const TSafeIniFile& database, std::string_view family,
                                            std::string_view serviceName) {
  const std::string_view name = Trim(serviceName);
  if (name.empty()) return std::nullopt;
  const std::string value = database.ReadString(std::string(family) + "Services", name, "");
  if (value.empty()) return std::nullopt;
  const std::size_t bar = value.find('|');
  return bar == std::string::npos ? value : value.substr(bar + 1);
}

bool IsListedSystemService(const TSafeIniFile& database, const ItemKeys& keys, std::string_view osTag,
                           std::string_view serviceName) {
  return !database.ReadString(osTag, keys.StripItemKey(serviceName), "").empty();
}

}  // namespace bootmark
