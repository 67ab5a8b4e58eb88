#pragma once
// The process environment: variables, the command line and the running executable.
#include <optional>
#include <string>
#include <string_view>

namespace bootmark {

class IEnvironment {
 public:
  virtual ~IEnvironment() = default;
  virtual std::optional<std::string> GetVariable(std::string_view name) = 0;
  // ExpandEnvironmentStringsW: every %NAME% of a defined variable replaced by its
  // value, others left as they stand; nullopt when the call fails.
  virtual std::optional<std::string> ExpandVariables(std::string_view text) = 0;
  // The raw command line of this process (GetCommandLineW).
  virtual std::string CommandLine() = 0;
  // Full path of the running executable (GetModuleFileNameW of the process).
  virtual std::string ExecutablePath() = 0;
};

}  // namespace bootmark
