#pragma once
// The version resource of a file.
#include "platform/version_resources.h"

namespace bootmark::win32 {

class Win32VersionResources : public IVersionResources {
 public:
  std::optional<std::string> ReadVersionResource(std::string_view path) override;
};

}  // namespace bootmark::win32
