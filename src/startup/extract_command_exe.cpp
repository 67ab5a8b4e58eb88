// ExtractCommandExe: the general resolver of TCheckPath, by text rules.
#include <algorithm>

#include "base/text.h"
#include "base/utf16_text.h"
#include "startup/command_path.h"

namespace bootmark {
namespace {

using utf16::npos;

// The folder variables a command line may start with, in the order they are tried.
constexpr std::u16string_view kFolderTokens[] = {u"%windir%", u"%systemroot%", u"%programfiles%"};

// A quote before the first " -" switch ends the file name; else a " -" after the
// file name's folder and extension starts the switches.
void CutArgumentsOfUnquoted(std::u16string& s) {
  const std::size_t quote = s.find(u'"');
  const std::size_t dash = s.find(u" -");
  if (quote != npos && dash != npos && quote < dash) {
    if (quote > 0 && s[quote - 1] == u' ') {
      s.erase(0, quote + 1);
    } else {
      s.resize(quote);
    }
    return;
  }
  const std::size_t last = s.find_last_of(u"\\:");
  if (last == npos) return;
  const std::size_t switches = s.find(u" -", last);
  const std::size_t dot = s.find(u'.', last);
  if (switches != npos && (dot == npos || switches > dot)) s.resize(switches);
}

}  // namespace

std::string TCheckPath::ExtractCommandExe(std::string_view commandLine) {
  std::u16string s = Utf8ToUtf16(commandLine);

  if (const std::size_t semicolon = s.find(u';'); semicolon != npos) s.erase(semicolon, 1);
  if (const std::size_t slash = s.find(u'/'); slash != npos) s.resize(slash);
  s = utf16::ReplaceFirst(s, u"\\??\\", u"");

  // The token and the separator after it are taken to begin the text.
  for (const std::u16string_view token : kFolderTokens) {
    if (!utf16::ContainsIgnoreCase(s, token)) continue;
    const std::optional<std::u16string> folder = ExpandWithinBuffer(token);
    if (!folder || folder->empty()) continue;
    s.erase(0, std::min(s.size(), token.size() + 1));
    s = utf16::ReplaceAll(*folder + u"\\" + s, u"\\\\", u"\\");
  }
  if (utf16::StartsWith(utf16::LowerAscii(s), u"\\systemroot")) {
    s = Utf8ToUtf16(platform_.system.WindowsDirectory()) + s.substr(11);
  }

  s = utf16::ReplaceFirst(s, u"%1", u"");
  if (const std::size_t comma = s.find(u','); comma != npos) s.resize(comma);
  s = std::u16string(utf16::TrimLeft(s));

  if (utf16::StartsWith(s, u"\"")) {
    s.erase(0, 1);
    if (const std::size_t quote = s.find(u'"'); quote != npos) s.resize(quote);
  } else {
    CutArgumentsOfUnquoted(s);
  }
  if (const std::size_t quote = s.find(u'"'); quote != npos) {
    s.resize(quote);
    s = std::u16string(utf16::TrimRight(s));
  }
  // Text before a drive letter: "xyC:\a.exe".
  if (const std::size_t drive = s.find(u":\\"); drive != npos && drive >= 2) s.erase(0, drive - 1);

  std::string answer = Utf16ToUtf8(s);
  if (utf16::LowerAscii(s.substr(0, 13)) == u"rundll32.exe ") {
    // The library a "rundll32.exe" command line loads: as written, else in the
    // Windows folder, else in the system folder.
    const std::string library = Utf16ToUtf8(s.substr(13));
    for (const std::string& candidate : {library, platform_.system.WindowsDirectory() + "\\" + library,
                                         platform_.system.SystemDirectory() + "\\" + library}) {
      if (IsFile(candidate)) return candidate;
    }
  }
  return answer;
}

}  // namespace bootmark
