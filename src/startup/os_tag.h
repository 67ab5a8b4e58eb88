#pragma once
// The operating-system tag that travels with item keys: "xp_", "vista_", "win7_",
// "win8_", "win8.1_" followed by "x64" or "x86", or "win10" alone.
#include <string>

#include "common/system_info.h"

namespace bootmark {

// The tag of a Windows version; empty for versions 6.5 to 9.x.
std::string OSTagOf(const RealVersion& version, bool isWow64);
// The tag of the running Windows, from its real version.
std::string GetOSTag(SystemInfo& system);

}  // namespace bootmark
