#pragma once
// Who made a file: the signer of its embedded signature, and a publisher text
// from its version information.
#include <string>
#include <string_view>

#include "platform/file_signer.h"
#include "platform/file_system.h"
#include "platform/version_resources.h"

namespace bootmark {

// The signer's name, trimmed; empty for a file without an embedded signature
// (a file signed only through a security catalog included).
std::string GetFileSigner(IFileSigner& signer, std::string_view path);

// The publisher text of a file: "CompanyName", or else "LegalTrademarks",
// "ProductName", "FileDescription" (each trimmed), or "-" when all are empty, the
// file is missing or has no version information. An empty `description` becomes
// the trimmed "FileDescription".
void GetFileCompany(IFileSystem& files, IVersionResources& versions, std::string_view path,
                    std::string& description, std::string& company);

// What GetFileCompany reads of a file, for callers that ask about one file many
// times: the publisher text and the trimmed "FileDescription".
struct FilePublisher {
  std::string company = "-";
  std::string fileDescription;
};
FilePublisher ReadFilePublisher(IFileSystem& files, IVersionResources& versions, std::string_view path);
// GetFileCompany's answer from what was read.
void ApplyFilePublisher(const FilePublisher& publisher, std::string& description, std::string& company);

}  // namespace bootmark
