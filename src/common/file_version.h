#pragma once
// Version information of files: the strings of their version resource.
#include <optional>
#include <string>
#include <string_view>

#include "common/version_resource.h"
#include "platform/version_resources.h"

namespace bootmark {

// The standard strings of a version resource and one more named by the caller.
struct FileVersionFields {
  std::string CompanyName;
  std::string FileDescription;
  std::string FileVersion;
  std::string InternalName;
  std::string LegalCopyright;
  std::string LegalTrademarks;
  std::string OriginalFileName;
  std::string ProductName;
  std::string ProductVersion;
  std::string Comments;
  std::string ExtraString;
};

// Where FileVersion comes from: the string table, or the numeric version of the
// fixed block formatted "%d.%d.%d.%d" (major, minor, release, build).
enum class FileVersionSource { kString, kNumeric };

// The string the program asks for besides the standard ones.
inline constexpr std::string_view kExtraVersionString = "WOW Version";

// The fields of a parsed resource. The strings come from the table named by the
// first translation ("\StringFileInfo\" + StringTableName + "\"); when the
// resource has no such table, from the first table under "\StringFileInfo\".
// A string the table lacks is empty.
FileVersionFields ReadFileVersionFields(const VersionResource& resource, std::string_view extraName,
                                        FileVersionSource source);

// The fields of a file; nullopt when it has no (readable) version information.
std::optional<FileVersionFields> GetFileVersionFields(IVersionResources& versions, std::string_view fileName,
                                                      std::string_view extraName, FileVersionSource source);

// One field by index: 0 Comments, 1 CompanyName, 2 FileDescription, 3 FileVersion,
// 4 InternalName, 5 LegalCopyright, 6 LegalTrademarks, 7 OriginalFileName,
// 8 ProductName, 9 ProductVersion, 10 the string "WOW Version"; any other index
// gives the empty text. `defaultText` when the file has no version information.
std::string GetFileVersionField(IVersionResources& versions, std::string_view fileName, int fieldIndex,
                                std::string_view defaultText);

}  // namespace bootmark
