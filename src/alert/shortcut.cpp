#include "alert/shortcut.h"

#include "base/text.h"
#include "base/utf16_text.h"

namespace bootmark {
namespace {

constexpr std::size_t kPathBuffer = 260;

}  // namespace

bool ResolveShortcut(const Platform& platform, std::string_view linkPath, std::string& target,
                     std::string& arguments) {
  target.clear();
  arguments.clear();
  const std::optional<ShellLinkTarget> link = platform.shell.ReadShellLink(linkPath);
  if (!link) return false;

  target = link->rawPath;
  if (const std::optional<std::string> expanded = platform.environment.ExpandVariables(target);
      expanded && Utf8ToUtf16(*expanded).size() < kPathBuffer) {
    target = *expanded;
  }
  if (!platform.files.FileExists(target)) {
    std::u16string units = Utf8ToUtf16(target);
    const std::size_t at = utf16::FindIgnoreCase(units, u" (x86)");
    if (at != utf16::npos) {
      units.erase(at, 6);
      target = Utf16ToUtf8(units);
    }
  }
  arguments = link->arguments;
  return true;
}

}  // namespace bootmark
