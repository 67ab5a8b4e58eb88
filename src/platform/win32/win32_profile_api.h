#pragma once
#include "platform/profile.h"

namespace bootmark::win32 {

class Win32ProfileApi : public IProfileApi {
 public:
  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override;
  std::vector<std::string> ReadKeys(std::string_view file, std::string_view section) override;
  std::vector<std::string> ReadSectionNames(std::string_view file) override;
  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;
  bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) override;
  bool EraseSection(std::string_view file, std::string_view section) override;
  void Flush(std::string_view file) override;
};

}  // namespace bootmark::win32
