#include "common/alert_log.h"

#include <cstdio>

#include "common/data_dirs.h"
#include "common/path.h"
#include "common/safe_ini_file.h"
#include "common/text.h"

namespace bootmark {
namespace {

constexpr int kFolderAttempts = 2;
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

// The log's lines; false when the file exists but cannot be read or decoded.
bool LoadLines(IFileSystem& files, const std::string& fileName, std::vector<std::string>& lines) {
  lines.clear();
  if (!files.FileExists(fileName)) return true;
  std::uint32_t error = 0;
  const std::optional<std::string> bytes = files.ReadAll(fileName, error);
  if (!bytes) return false;
  std::string text;
  if (!DecodeFileText(files, *bytes, text)) return false;
  lines = SplitTextLines(text);
  return true;
}

void SaveLines(IFileSystem& files, const std::string& fileName, const std::vector<std::string>& lines) {
  std::size_t units = 1;
  for (const std::string& line : lines) units += line.size() + 2;
  std::string bytes;
  bytes.reserve(units * 2);
  bytes = kUtf16Bom;
  for (const std::string& line : lines) {
    AppendUtf16(bytes, line);
    AppendUtf16(bytes, "\r\n");
  }
  files.ReplaceAll(fileName, bytes);
}

}  // namespace

std::string FormatAlertLogTimeStamp(DateTime time) {
  const CalendarTime t = DecodeDateTime(time);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d %03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  return buffer;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

void AppendAlertLog(IFileSystem& files, IClock& clock, IEnvironment& environment, std::string_view text,
                    std::string_view fileName) {
  try {
    const std::string path(fileName);
    const std::string folder = ExtractFileDir(path);
    for (int attempt = 0; attempt < kFolderAttempts && !folder.empty(); ++attempt) {
      if (ForceDirectories(files, folder)) break;
    }

    std::vector<std::string> lines;
    if (!LoadLines(files, path, lines)) return;
    if (text.empty()) {
      lines.emplace_back();
    } else {
      if (lines.size() >= kAlertLogMaxLines) {
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(kAlertLogDropLines));
      }
      std::string line = FormatAlertLogTimeStamp(clock.Now());
      line += ' ';
      line += ExtractFileName(environment.ExecutablePath());
      line += ' ';
      line += text;
      lines.push_back(std::move(line));
    }
    SaveLines(files, path, lines);
  } catch (...) {
    // The alert goes on without its log line.
  }
}

}  // namespace bootmark
