#pragma once
// The suite's data-exchange library: the way a text reaches a running suite
// program that listens under a target name, and its reply comes back.
#include <optional>
#include <string>
#include <string_view>

namespace bootmark {

class ISuiteExchange {
 public:
  virtual ~ISuiteExchange() = default;
  // Loads the library at `libraryPath` (a full path), calls its `Func` export with
  // `target` and `data` and unloads it again. The reply text when the library
  // answered true; nullopt when it answered false or could not be loaded or has
  // no such export.
  virtual std::optional<std::string> SendData(std::string_view libraryPath, std::string_view target,
                                              std::string_view data) = 0;
};

}  // namespace bootmark
