#pragma once
// The private-profile functions implemented over IFileSystem, for systems that
// have none and for native tests. Each call reads the file afresh and each write
// replaces it at once, so nothing another writer put there in between is lost.
//
// Rules, as the system's own functions apply them:
// - section and key names are compared without regard to case; the first
//   section and the first key of a name win;
// - a key line is "name=value" with blanks around both trimmed; lines starting
//   with ";" are comments;
// - a write changes only the line it concerns (or adds the line at the end of
//   its section, or the section at the end of the file, when missing); every
//   other line, comments and blank lines included, keeps its text, and every
//   line ends in CR LF afterwards;
// - a file keeps its encoding: UTF-16 LE/BE and UTF-8 files by their byte order
//   mark, others in the ANSI code page; a new file is ANSI.
#include <string>
#include <string_view>
#include <vector>

#include "common/ansi_encoder.h"
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
  void Flush(std::string_view file) override;

 private:
  struct Document;

  // False when the file exists but cannot be read or decoded.
  bool Load(std::string_view file, Document& document);
  bool Save(std::string_view file, const Document& document);

  IFileSystem& files_;
  AnsiEncoder ansi_{files_};
};

}  // namespace bootmark
