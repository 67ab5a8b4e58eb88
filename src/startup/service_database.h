#pragma once
// "Database\startupService.db" (an INI file in the program's folder): which
// services of the operating system the inventory lists, per system tag, and the
// friendlier names of the system's services, per family of Windows versions.
#include <optional>
#include <string>
#include <string_view>

#include "common/safe_ini_file.h"
#include "startup/item_keys.h"

namespace bootmark {

// Relative to ProgramDir.
inline constexpr std::string_view kServiceDatabaseName = "Database\\startupService.db";

// The family of a Windows display name: "2000", "XP", "Vista", "Win7", "Win8"
// (Windows 8, 10 and 11), empty for any other.
std::string OSFamilyOf(std::string_view osName);

// The display name that section family + "Services" gives the service: the
// value's text after its first "|" (the whole value without one). Nullopt for an
// empty (trimmed) name and for a missing or empty value.
std::optional<std::string> KnownServiceName(const TSafeIniFile& database, std::string_view family,
                                            std::string_view serviceName);

// The section of the system tag names the service (in StripItemKey form) with
// a non-empty value.
bool IsListedSystemService(const TSafeIniFile& database, const ItemKeys& keys, std::string_view osTag,
                           std::string_view serviceName);

}  // namespace bootmark
