#pragma once
#include "platform/suite_exchange.h"

namespace bootmark::win32 {

class Win32SuiteExchange : public ISuiteExchange {
 public:
  std::optional<std::string> SendData(std::string_view libraryPath, std::string_view target,
                                      std::string_view data) override;
};

}  // namespace bootmark::win32
