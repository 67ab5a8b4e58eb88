#pragma once
// Version resources of files (version.dll).
#include <optional>
#include <string>
#include <string_view>

namespace bootmark {

class IVersionResources {
 public:
  virtual ~IVersionResources() = default;
  // The bytes GetFileVersionInfoW fills (a VS_VERSIONINFO block, possibly
  // followed by room the system keeps for itself); nullopt when the file has
  // no version information or cannot be read.
  virtual std::optional<std::string> ReadVersionResource(std::string_view path) = 0;
};

}  // namespace bootmark
