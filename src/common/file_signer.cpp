#include "common/file_signer.h"

#include "base/text.h"
#include "common/file_version.h"

namespace bootmark {

std::string GetFileSigner(IFileSigner& signer, std::string_view path) {
  return std::string(Trim(signer.EmbeddedSignerName(path)));
}

void GetFileCompany(IFileSystem& files, IVersionResources& versions, std::string_view path,
                    std::string& description, std::string& company) {
  company = "-";
  if (!files.FileExists(path)) return;
  const FileVersionFields fields =
      GetFileVersionFields(versions, path, kExtraVersionString, FileVersionSource::kString)
          .value_or(FileVersionFields{});
  if (description.empty()) description = std::string(Trim(fields.FileDescription));
  for (const std::string* candidate :
       {&fields.CompanyName, &fields.LegalTrademarks, &fields.ProductName, &fields.FileDescription}) {
    const std::string_view text = Trim(*candidate);
    if (!text.empty()) {
      company = std::string(text);
      return;
    }
  }
}

}  // namespace bootmark
