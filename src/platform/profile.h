#pragma once
// The system's private-profile (INI) functions: every call reads or writes the
// file itself, so two programs sharing a file see each other's changes at once.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bootmark {

class IProfileApi {
 public:
  virtual ~IProfileApi() = default;

  // GetPrivateProfileStringW for one key; the default is returned when the key is missing.
  virtual std::string ReadString(std::string_view file, std::string_view section,
                                 std::string_view key, std::string_view defaultValue) = 0;
  // Names of the keys of a section, in file order.
  virtual std::vector<std::string> ReadKeys(std::string_view file, std::string_view section) = 0;
  // Names of all sections, in file order.
  virtual std::vector<std::string> ReadSectionNames(std::string_view file) = 0;
  // WritePrivateProfileStringW; false when the system refused.
  virtual bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
  virtual bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) = 0;
  virtual bool EraseSection(std::string_view file, std::string_view section) = 0;
  // Flushes the system's cached copy of the file to disk.
  virtual void Flush(std::string_view file) = 0;
};

}  // namespace bootmark
