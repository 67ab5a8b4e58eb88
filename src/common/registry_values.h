#pragma once
// Reading and writing typed registry values over the registry port.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace bootmark {

// The text of a REG_SZ or REG_EXPAND_SZ value (not expanded), up to its first
// terminating zero; nullopt for a missing value or another type.
std::optional<std::string> ReadRegistryString(IRegistryKey& key, std::string_view name);
// A REG_DWORD value (at least four bytes, little-endian); nullopt otherwise.
std::optional<std::uint32_t> ReadRegistryDword(IRegistryKey& key, std::string_view name);
// The texts of a REG_MULTI_SZ value, without the empty end marker.
std::optional<std::vector<std::string>> ReadRegistryMultiString(IRegistryKey& key, std::string_view name);

// A REG_DWORD value read straight from a key path; nullopt when the key or the
// value is missing or the value is of another type.
std::optional<std::uint32_t> ReadRegistryDword(IRegistry& registry, RegistryRoot root, std::string_view path,
                                               std::string_view name, RegistryView view = RegistryView::Default);

RegistryValue MakeRegistryString(std::string_view text, std::uint32_t type = registry_type::kString);
RegistryValue MakeRegistryDword(std::uint32_t number);
RegistryValue MakeRegistryMultiString(const std::vector<std::string>& texts);

// "HKEY_LOCAL_MACHINE" and the other root names (any case) to their root.
std::optional<RegistryRoot> ParseRegistryRootName(std::string_view name);

}  // namespace bootmark
