#include "startup/os_tag.h"

#include <iterator>

namespace bootmark {

std::string OSTagOf(const RealVersion& version, bool isWow64) {
  std::string tag;
  if (version.Major < 6) {
    tag = "xp_";
  } else if (version.Major == 6) {
    constexpr const char* kTags[] = {"vista_", "win7_", "win8_", "win8.1_", "win10"};
    if (version.Minor < std::size(kTags)) tag = kTags[version.Minor];
  } else if (version.Major >= 10) {
    tag = "win10";
  }
  if (tag.find('_') != std::string::npos) tag += isWow64 ? "x64" : "x86";
  return tag;
}

std::string GetOSTag(SystemInfo& system) { return OSTagOf(system.GetRealVersion(), system.IsWow64()); }

}  // namespace bootmark
