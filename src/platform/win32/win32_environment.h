#pragma once
// Environment variables, the command line and the program's own path.
#include "platform/environment.h"

namespace bootmark::win32 {

class Win32Environment : public IEnvironment {
 public:
  std::optional<std::string> GetVariable(std::string_view name) override;
  std::optional<std::string> ExpandVariables(std::string_view text) override;
  std::string CommandLine() override;
  std::string ExecutablePath() override;
};

}  // namespace bootmark::win32
