#pragma once
// The private-profile functions over IFileSystem, for native tests. Each call reads
// the file afresh and each write replaces it at once, so nothing another writer put
// there in between is lost. The lines are read as the program's own settings files
// read them (names without regard to case, the first section and key of a name win,
// blanks around names and values trimmed, ";" lines are comments); a write saves the
// file as UTF-16 and never creates a missing folder.
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/profile.h"

namespace bootmark {

class PortableProfileApi : public IProfileApi {
 public:
  explicit PortableProfileApi(IFileSystem& files) : files_(files) {}

  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override;
  std::vector<std::string> ReadKeys(std::string_view file, std::string_view section) override;
  std::vector<std::string> ReadSectionNames(std::string_view file) override;
  bool WriteString(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;
  bool DeleteKey(std::string_view file, std::string_view section, std::string_view key) override;
  bool EraseSection(std::string_view file, std::string_view section) override;
  // Nothing is cached between calls.
  void Flush(std::string_view) override {}

 private:
  IFileSystem& files_;
};

}  // namespace bootmark
