// Writing a settings file: encoding the content, moving an unreadable file
// aside before it is replaced, and keeping its read-only and hidden marks.
#include "common/safe_ini_file.h"

#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file_errors.h"

namespace bootmark {
namespace {

constexpr std::uint32_t kErrorGeneric = safe_ini_errors::kGeneric;

// Side copy of a file that could not be read: "<name>.unreadable" beside it.
constexpr std::string_view kUnreadableSuffix = ".unreadable";

}  // namespace

bool TSafeIniFile::Serialise(std::string& bytes) const {
  try {
    std::size_t estimate = 2;
    for (const Section& section : sections_) {
      estimate += section.name.size() + 6;
      for (const std::string& line : section.lines.Lines()) estimate += line.size() + 2;
    }
    std::string encoded;
    encoded.reserve(estimate * 2);
    encoded.assign(ByteOrderMark(TextEncoding::Utf16LE));
    for (const Section& section : sections_) {
      AppendUtf16(encoded, "[");
      AppendUtf16(encoded, section.name);
      AppendUtf16(encoded, "]\r\n");
      for (const std::string& line : section.lines.Lines()) {
        AppendUtf16(encoded, line);
        AppendUtf16(encoded, "\r\n");
      }
      AppendUtf16(encoded, "\r\n");
    }
    if (!saveFilter_) {
      bytes = std::move(encoded);
      return true;
    }
    return saveFilter_(encoded, bytes);
  } catch (...) {
    return false;
  }
}

bool TSafeIniFile::MoveAside(const std::string& path) {
  const std::string sideCopy = path + std::string(kUnreadableSuffix);
  // One side copy, the latest: an older one makes way.
  if (files_.FileExists(sideCopy) && !files_.DeleteFile(sideCopy)) return false;
  return files_.MoveFile(path, sideCopy);
}

void TSafeIniFile::UpdateFile() {
  if (fileName_.empty()) return;
  WriteTo(fileName_);
  if (lastError_ == 0) modified_ = false;
}

void TSafeIniFile::SaveToFile(std::string_view fileName) {
  lastError_ = 0;
  if (!fileName.empty()) WriteTo(fileName);
}

void TSafeIniFile::WriteTo(std::string_view fileName) {
  std::string path(fileName);
  const std::string folder = ExtractFilePath(path);
  if (folder.empty() || folder == "\\") {
    path.insert(0, ".\\");
  } else {
    ForceDirectories(files_, folder);
  }

  std::string bytes;
  if (!Serialise(bytes)) {
    lastError_ = kErrorGeneric;
    return;
  }

  constexpr std::uint32_t kBlocking = file_attr::kReadOnly | file_attr::kHidden;
  const std::optional<std::uint32_t> found = files_.GetAttributes(path);
  const std::uint32_t attributes = found.value_or(0);
  // An explicit save heals a file that could not be read, but what it held is
  // never lost: it moves aside first, and when it cannot, nothing is written.
  if (unreadOnDisk_ && found) {
    if (!MoveAside(path)) {
      lastError_ = kErrorGeneric;
      return;
    }
    unreadOnDisk_ = false;
  }
  const bool clearAttributes = (attributes & kBlocking) != 0;
  if (clearAttributes && files_.FileExists(path)) files_.SetAttributes(path, attributes & ~kBlocking);

  if (!files_.ReplaceAll(path, bytes).ok()) lastError_ = kErrorGeneric;

  if (clearAttributes) files_.SetAttributes(path, attributes);
}

}  // namespace bootmark
