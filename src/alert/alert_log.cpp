#include "alert/alert_log.h"

#include <vector>

#include "base/path.h"
#include "base/text.h"
#include "common/data_dirs.h"
#include "common/safe_ini_file.h"

namespace bootmark {
namespace {

constexpr int kFolderAttempts = 2;
constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::string_view kCrLf("\r\0\n\0", 4);

// The log's text as UTF-16 LE bytes: `units` from byte `start` on (after the byte
// order mark). The log is kept in that form, so it is taken as it is and the lines
// are cut and copied without converting 20000 lines back and forth; logs in other
// encodings are converted once. False when the file exists but cannot be read or
// decoded.
bool LoadUnits(IFileSystem& files, const std::string& fileName, std::string& units, std::size_t& start) {
  units.clear();
  start = 0;
  if (!files.FileExists(fileName)) return true;
  Result<std::string> bytes = files.ReadAll(fileName);
  if (!bytes) return false;
  if (DetectEncoding(*bytes) == TextEncoding::Utf16LE) {
    if (bytes->size() % 2 != 0) return false;
    units = std::move(*bytes);
    start = kUtf16Bom.size();
    return true;
  }
  std::string text;
  if (!DecodeFileText(files, *bytes, text)) return false;
  AppendUtf16(units, text);
  return true;
}

struct LineSpan {
  std::size_t offset;  // in bytes
  std::size_t length;
};

// Lines of UTF-16 LE text, ended by CR LF, LF or CR; a final break starts no line.
std::vector<LineSpan> SplitLines(std::string_view units) {
  const auto unitAt = [units](std::size_t byte) {
    return static_cast<char16_t>(static_cast<unsigned char>(units[byte]) |
                                 static_cast<unsigned char>(units[byte + 1]) << 8);
  };
  std::vector<LineSpan> lines;
  std::size_t pos = 0;
  while (pos < units.size()) {
    std::size_t end = pos;
    while (end < units.size() && unitAt(end) != u'\r' && unitAt(end) != u'\n') end += 2;
    lines.push_back({pos, end - pos});
    pos = end;
    if (pos < units.size() && unitAt(pos) == u'\r') pos += 2;
    if (pos < units.size() && unitAt(pos) == u'\n') pos += 2;
  }
  return lines;
}

}  // namespace

std::string FormatAlertLogTimeStamp(DateTime time) {
  return FormatLogDateTime(time, ' ');
}

void AppendAlertLog(IFileSystem& files, IClock& clock, IEnvironment& environment, std::string_view text,
                    std::string_view fileName) {
  try {
    const std::string path(fileName);
    // Another run appending at the same time must not drop this line or its own.
    const std::unique_ptr<ISharedFileLock> lock = files.LockSharedFile(path, kSharedFileLockWaitMs);
    const std::string folder = ExtractFileDir(path);
    for (int attempt = 0; attempt < kFolderAttempts && !folder.empty(); ++attempt) {
      if (ForceDirectories(files, folder)) break;
    }

    std::string file;
    std::size_t start = 0;
    if (!LoadUnits(files, path, file, start)) return;
    const std::string_view units = std::string_view(file).substr(start);
    const std::vector<LineSpan> lines = SplitLines(units);
    // Only a line with text cuts the log.
    const std::size_t first = !text.empty() && lines.size() >= kAlertLogMaxLines ? kAlertLogDropLines : 0;

    std::string bytes;
    bytes.reserve(kUtf16Bom.size() + units.size() + 2 * lines.size() + 2 * (64 + text.size()));
    bytes = kUtf16Bom;
    for (std::size_t i = first; i < lines.size(); ++i) {
      bytes += units.substr(lines[i].offset, lines[i].length);
      bytes += kCrLf;
    }
    if (!text.empty()) {
      std::string line = FormatAlertLogTimeStamp(clock.Now());
      line += ' ';
      line += ExtractFileName(environment.ExecutablePath());
      line += ' ';
      line += text;
      AppendUtf16(bytes, line);
    }
    bytes += kCrLf;
    files.ReplaceAll(path, bytes);
  } catch (...) {
    // The alert goes on without its log line.
  }
}

}  // namespace bootmark
