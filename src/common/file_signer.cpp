#include "common/file_signer.h"

#include "base/text.h"
#include "common/file_version.h"

namespace bootmark {

std::string GetFileSigner(IFileSigner& signer, std::string_view path) {
  return std::string(Trim(signer.EmbeddedSignerName(path)));
}

void GetFileCompany(IFileSystem& files, IVersionResources& versions, std::string_view path,
                    std::string& description, std::string& company) {
  ApplyFilePublisher(ReadFilePublisher(files, versions, path), description, company);
}

FilePublisher ReadFilePublisher(IFileSystem& files, IVersionResources& versions, std::string_view path) {
  FilePublisher publisher;
  if (!files.FileExists(path)) return publisher;
  const FileVersionFields fields =
      GetFileVersionFields(versions, path, kExtraVersionString, FileVersionSource::kString)
          .value_or(FileVersionFields{});
  publisher.fileDescription = std::string(Trim(fields.FileDescription));
  for (const std::string* candidate :
       {&fields.CompanyName, &fields.LegalTrademarks, &fields.ProductName, &fields.FileDescription}) {
    const std::string_view text = Trim(*candidate);
    if (!text.empty()) {
      publisher.company = std::string(text);
      break;
    }
  }
  return publisher;
}

void ApplyFilePublisher(const FilePublisher& publisher, std::string& description, std::string& company) {
  company = publisher.company;
  if (description.empty()) description = publisher.fileDescription;
}

}  // namespace bootmark
