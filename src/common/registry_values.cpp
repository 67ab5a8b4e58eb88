#include "common/registry_values.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/text.h"

namespace bootmark {
namespace {

// UTF-16 LE bytes up to the first zero unit; an odd last byte is ignored.
std::string DecodeUntilZero(std::string_view bytes) {
  std::size_t units = bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    if (bytes[2 * i] == 0 && bytes[2 * i + 1] == 0) {
      units = i;
      break;
    }
  }
  std::u16string wide(units, u'\0');
  for (std::size_t i = 0; i < units; ++i) {
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  // Registry strings may hold unpaired surrogates; they read as U+FFFD.
  return Utf16ToUtf8(wide);
}

constexpr std::array<std::pair<std::string_view, RegistryRoot>, 7> kRootNames{{
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_PERFORMANCE_DATA", RegistryRoot::PerformanceData},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    {"HKEY_DYN_DATA", RegistryRoot::DynData},
}};

}  // namespace

std::optional<std::string> ReadRegistryString(IRegistryKey& key, std::string_view name) {
  const std::optional<RegistryValue> value = key.ReadValue(name);
  if (!value || (value->type != registry_type::kString && value->type != registry_type::kExpandString)) {
    return std::nullopt;
  }
  return DecodeUntilZero(value->data);
}

std::optional<std::uint32_t> ReadRegistryDword(IRegistryKey& key, std::string_view name) {
  const std::optional<RegistryValue> value = key.ReadValue(name);
  if (!value || value->type != registry_type::kDword || value->data.size() < 4) return std::nullopt;
  std::uint32_t number = 0;
  for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value->data[i]);
  return number;
}

std::optional<std::vector<std::string>> ReadRegistryMultiString(IRegistryKey& key, std::string_view name) {
  const std::optional<RegistryValue> value = key.ReadValue(name);
  if (!value || value->type != registry_type::kMultiString) return std::nullopt;
  std::vector<std::string> texts;
  std::string_view rest = value->data;
  while (rest.size() >= 2) {
    std::size_t end = 0;
    while (end + 1 < rest.size() && (rest[end] != 0 || rest[end + 1] != 0)) end += 2;
    if (end == 0) break;  // the empty text that ends the list
    texts.push_back(DecodeUntilZero(rest.substr(0, end)));
    rest.remove_prefix(std::min(rest.size(), end + 2));
  }
  return texts;
}

std::optional<std::uint32_t> ReadRegistryDword(IRegistry& registry, RegistryRoot root, std::string_view path,
                                               std::string_view name, RegistryView view) {
  const std::unique_ptr<IRegistryKey> key = registry.OpenKey(root, path, registry_access::kRead, view);
  return key ? ReadRegistryDword(*key, name) : std::nullopt;
}

RegistryValue MakeRegistryString(std::string_view text, std::uint32_t type) {
  RegistryValue value{type, {}};
  AppendUtf16(value.data, text);
  value.data.append(2, '\0');
  return value;
}

RegistryValue MakeRegistryDword(std::uint32_t number) {
  RegistryValue value{registry_type::kDword, std::string(4, '\0')};
  for (int i = 0; i < 4; ++i) value.data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return value;
}

RegistryValue MakeRegistryMultiString(const std::vector<std::string>& texts) {
  RegistryValue value{registry_type::kMultiString, {}};
  for (const std::string& text : texts) {
    AppendUtf16(value.data, text);
    value.data.append(2, '\0');
  }
  value.data.append(2, '\0');
  return value;
}

std::optional<RegistryRoot> ParseRegistryRootName(std::string_view name) {
  for (const auto& [text, root] : kRootNames) {
    if (SameText(text, name)) return root;
  }
  return std::nullopt;
}

}  // namespace bootmark
