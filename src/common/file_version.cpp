#include "common/file_version.h"

#include <string>

#include "base/text.h"

namespace bootmark {
namespace {

const VersionBlock* ChooseStringTable(const VersionResource& resource) {
  if (const std::optional<Translation> translation = resource.FirstTranslation()) {
    if (const VersionBlock* table = resource.Find("\\StringFileInfo\\" + StringTableName(*translation))) {
      return table;
    }
  }
  const VersionBlock* strings = resource.Find("\\StringFileInfo");
  if (strings == nullptr || strings->children.empty()) return nullptr;
  return &strings->children.front();
}

std::string FieldByIndex(const FileVersionFields& fields, int fieldIndex) {
  switch (fieldIndex) {
    case 0: return fields.Comments;
    case 1: return fields.CompanyName;
    case 2: return fields.FileDescription;
    case 3: return fields.FileVersion;
    case 4: return fields.InternalName;
    case 5: return fields.LegalCopyright;
    case 6: return fields.LegalTrademarks;
    case 7: return fields.OriginalFileName;
    case 8: return fields.ProductName;
    case 9: return fields.ProductVersion;
    case 10: return fields.ExtraString;
    default: return {};
  }
}

std::string FieldOfFile(IVersionResources& versions, std::string_view fileName, int fieldIndex,
                        std::string_view defaultText, FileVersionSource source) {
  const std::optional<FileVersionFields> fields =
      GetFileVersionFields(versions, fileName, kExtraVersionString, source);
  return fields ? FieldByIndex(*fields, fieldIndex) : std::string(defaultText);
}

}  // namespace

FileVersionFields ReadFileVersionFields(const VersionResource& resource, std::string_view extraName,
                                        FileVersionSource source) {
  FileVersionFields fields;
  if (const VersionBlock* table = ChooseStringTable(resource)) {
    const auto read = [table](std::string_view name) {
      for (const VersionBlock& entry : table->children) {
        if (SameText(Utf16ToUtf8(entry.key), name)) return VersionResource::Text(entry);
      }
      return std::string();
    };
    fields.CompanyName = read("CompanyName");
    fields.FileDescription = read("FileDescription");
    fields.FileVersion = read("FileVersion");
    fields.InternalName = read("InternalName");
    fields.LegalCopyright = read("LegalCopyright");
    fields.LegalTrademarks = read("LegalTrademarks");
    fields.OriginalFileName = read("OriginalFilename");
    fields.ProductName = read("ProductName");
    fields.ProductVersion = read("ProductVersion");
    fields.Comments = read("Comments");
    fields.ExtraString = read(extraName);
  }
  if (source == FileVersionSource::kNumeric) {
    const std::optional<FixedFileVersion> version = resource.FileVersion();
    fields.FileVersion = version ? std::to_string(version->major) + "." + std::to_string(version->minor) + "." +
                                       std::to_string(version->release) + "." + std::to_string(version->build)
                                 : std::string();
  }
  return fields;
}

std::optional<FileVersionFields> GetFileVersionFields(IVersionResources& versions, std::string_view fileName,
                                                      std::string_view extraName, FileVersionSource source) {
  const std::optional<std::string> bytes = versions.ReadVersionResource(fileName);
  if (!bytes) return std::nullopt;
  const std::optional<VersionResource> resource = VersionResource::Parse(*bytes);
  if (!resource) return std::nullopt;
  return ReadFileVersionFields(*resource, extraName, source);
}

std::string GetFileVersionField(IVersionResources& versions, std::string_view fileName, int fieldIndex,
                                std::string_view defaultText) {
  return FieldOfFile(versions, fileName, fieldIndex, defaultText, FileVersionSource::kString);
}

}  // namespace bootmark
