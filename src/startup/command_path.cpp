#include "startup/command_path.h"

#include <algorithm>

#include "base/path.h"
#include "base/text.h"
#include "base/utf16_text.h"

namespace bootmark {
namespace {

// Characters of the buffers the system fills, terminating zero included.
constexpr std::size_t kPathBuffer = 260;

bool FitsPathBuffer(std::string_view text) { return Utf8ToUtf16(text).size() < kPathBuffer; }

// The entries of a ";"-separated variable, empty ones left out, sorted without
// regard to case, each kept once.
std::vector<std::string> SortedEntries(std::string_view variable) {
  std::vector<std::string> entries;
  for (std::string& entry : SplitText(variable, ";")) {
    if (!entry.empty()) entries.push_back(std::move(entry));
  }
  std::stable_sort(entries.begin(), entries.end(), TextLessIgnoreCase());
  entries.erase(std::unique(entries.begin(), entries.end(),
                            [](const std::string& a, const std::string& b) { return SameText(a, b); }),
                entries.end());
  return entries;
}

// The extension of the file name with its dot; empty when it has none.
std::string_view FileExtension(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::size_t delimiter = path.find_last_of("\\:");
  if (delimiter != std::string_view::npos && delimiter > dot) return {};
  return path.substr(dot);
}

std::string_view FirstWord(std::string_view text) { return text.substr(0, text.find(' ')); }

}  // namespace

std::optional<std::u16string> TCheckPath::ExpandWithinBuffer(std::u16string_view text) {
  const std::optional<std::string> expanded = platform_.environment.ExpandVariables(Utf16ToUtf8(text));
  if (!expanded) return std::nullopt;
  std::u16string units = Utf8ToUtf16(*expanded);
  if (units.size() >= kPathBuffer) return std::nullopt;
  return units;
}

std::string TCheckPath::GetCommandFilePath(std::string_view commandLine) {
  std::u16string s(utf16::Trim(Utf8ToUtf16(commandLine)));
  s = utf16::ReplaceAll(s, u"\"\"", u"");
  if (std::optional<std::u16string> expanded = ExpandWithinBuffer(s)) s = std::move(*expanded);
  if (utf16::StartsWith(s, u"\\")) s.erase(0, 1);
  // Service image paths relative to the Windows folder.
  if (s.size() > 9 && utf16::StartsWithIgnoreCase(s, u"System32\\")) {
    const std::u16string systemFolder = Utf8ToUtf16(platform_.system.SystemDirectory());
    if (!systemFolder.empty()) s = systemFolder.substr(0, 1) + u":\\windows\\" + s;
  }

  const std::string command = Utf16ToUtf8(s);
  CommandLineParts parts = SplitCommandLine(command);
  if (!parts.filePath.empty()) return parts.filePath;

  std::string answer = command;
  if (!IsFile(answer)) answer = RepairProgramFiles(commandLine);
  if (!IsFile(answer)) answer = ExtractCommandExe(commandLine);
  if (!IsFile(answer)) {
    std::string found = FindOnEnvPath(commandLine);
    if (!found.empty()) answer = std::move(found);
  }
  return answer;
}

CommandLineParts TCheckPath::SplitCommandLine(std::string_view text, bool foundMustBeWritten) {
  CommandLineParts parts;
  const std::string_view t = Trim(text);
  if (t.empty()) return parts;

  if (t[0] == '"') {
    const std::size_t close = t.find('"', 1);
    if (close == std::string_view::npos) {
      parts.filePath = FindFileOnSearchPath(t.substr(1));
    } else {
      parts.filePath = FindFileOnSearchPath(t.substr(1, close - 1));
      parts.arguments = Trim(t.substr(close + 1));
    }
  } else {
    for (std::size_t i = 0; i < t.size(); ++i) {
      const bool blank = t[i] == ' ';
      if (!blank && i + 1 < t.size()) continue;
      const std::string_view prefix = blank ? t.substr(0, i) : t;
      // The system refuses names beyond its path limit, and every longer prefix too.
      if (!FitsPathBuffer(prefix)) break;
      const std::string found = FindFileOnSearchPath(prefix);
      if (found.empty()) continue;
      std::size_t end = prefix.size();
      if (foundMustBeWritten) {
        // A program found only through the search path is not what the text names.
        const std::size_t at = t.find(found);
        if (at == std::string_view::npos) continue;
        end = at + found.size();
      }
      parts.filePath = found;
      parts.arguments = Trim(t.substr(end));
      break;
    }
  }

  if (parts.filePath.find('~') != std::string::npos) {
    const std::optional<std::string> longName = platform_.files.LongPathName(parts.filePath);
    if (longName && !longName->empty() && FitsPathBuffer(*longName)) parts.filePath = *longName;
  }
  return parts;
}

std::string TCheckPath::FindFileOnSearchPath(std::string_view name) {
  if (name.empty()) return {};
  std::string path = platform_.environment.GetVariable("path").value_or("");
  if (path.empty()) path = platform_.system.WindowsDirectory() + "\\system32";
  const std::string searchPath = ExcludeTrailingBackslash(ExtractFilePath(name)) + ";" + path;

  const std::optional<std::string> found = platform_.files.SearchFile(searchPath, name, ".exe");
  if (!found || found->empty() || !FitsPathBuffer(*found)) return {};
  const std::optional<std::uint32_t> attributes = platform_.files.GetAttributes(*found);
  if (!attributes || (*attributes & file_attr::kDirectory) != 0) return {};
  return *found;
}

std::string TCheckPath::RepairProgramFiles(std::string_view commandLine) {
  if (StartsWith(commandLine, "\"")) return std::string(commandLine);
  const std::string_view first = FirstWord(commandLine);
  if (IsFile(first)) return std::string(first);

  // The native program folder, which a 32-bit program's %ProgramFiles% does not
  // name on 64-bit Windows.
  if (UpperCaseOrdinal(commandLine).find("%PROGRAMFILES%") != std::string::npos) {
    const std::u16string windowsFolder = Utf8ToUtf16(platform_.system.WindowsDirectory());
    const std::size_t colon = windowsFolder.find(u':');
    const std::u16string drive = colon == std::u16string::npos ? u"" : windowsFolder.substr(0, colon + 2);
    const std::string candidate = ExtractCommandExe(Utf16ToUtf8(
        utf16::ReplaceAllIgnoreCase(Utf8ToUtf16(commandLine), u"%ProgramFiles%", drive + u"Program Files")));
    if (IsFile(candidate)) return candidate;
  }
  return std::string(commandLine);
}

std::string TCheckPath::FindOnEnvPath(std::string_view commandLine) {
  const std::string_view first = FirstWord(commandLine);
  if (first.empty()) return {};
  const auto findIn = [&](std::string_view extension) -> std::string {
    for (const std::string& folder : PathFolders()) {
      std::string candidate = IncludeTrailingBackslash(folder) + std::string(first) + std::string(extension);
      if (IsFile(candidate)) return candidate;
    }
    return {};
  };
  if (!FileExtension(first).empty()) return findIn("");
  for (const std::string& extension : PathExtensions()) {
    if (std::string found = findIn(extension); !found.empty()) return found;
  }
  return {};
}

bool TCheckPath::IsFile(std::string_view path) {
  return !StartsWith(path, "\\??\\") && platform_.files.FileExists(path);
}

void TCheckPath::ReadSearchLists() {
  if (listsRead_) return;
  listsRead_ = true;
  pathFolders_ = SortedEntries(platform_.environment.GetVariable("PATH").value_or(""));
  pathExtensions_ = SortedEntries(platform_.environment.GetVariable("PATHEXT").value_or(""));
}

const std::vector<std::string>& TCheckPath::PathFolders() {
  ReadSearchLists();
  return pathFolders_;
}

const std::vector<std::string>& TCheckPath::PathExtensions() {
  ReadSearchLists();
  return pathExtensions_;
}

}  // namespace bootmark
