#pragma once
#include <string_view>

namespace bootmark {

// The debug-string channel (OutputDebugStringW): one call is one trace line.
class IDebugOutput {
 public:
  virtual ~IDebugOutput() = default;
  virtual void Write(std::string_view line) = 0;
};

}  // namespace bootmark
