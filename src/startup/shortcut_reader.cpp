#include "startup/shortcut_reader.h"

#include "startup/shell_link_file.h"

namespace bootmark {
namespace {

// Shortcuts are a few kilobytes; a larger file is not read whole.
constexpr std::uint64_t kMaxShortcutBytes = 1 << 20;

}  // namespace

std::optional<ShellLinkFields> ReadShortcut(const Platform& platform, std::string_view file) {
  if (!platform.files.FileExists(file)) return std::nullopt;
  if (std::optional<ShellLinkFields> fields = platform.shell.ReadShellLinkFields(file)) return fields;
  const std::optional<std::uint64_t> size = platform.files.FileSize(file);
  if (!size || *size > kMaxShortcutBytes) return std::nullopt;
  const Result<std::string> bytes = platform.files.ReadAll(file);
  if (!bytes) return std::nullopt;
  IFileSystem& files = platform.files;
  return ParseShellLinkFile(*bytes, [&files](std::string_view raw) { return files.DecodeAnsi(raw); });
}

}  // namespace bootmark
