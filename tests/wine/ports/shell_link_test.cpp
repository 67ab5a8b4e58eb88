// The shell port's reading of shortcut files, on files saved by the shell's own
// link object as installers save them: the stored target and arguments, names
// beyond ASCII, and files that are no shortcut.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_shell.h"
#include "scratch_folder.h"
#include "wine/tools/fixture_savers.h"

namespace bootmark::win32 {
namespace {

// Saves a shortcut as installers do; false when any step fails.
bool SaveShortcut(const std::string& link, const std::string& target, const std::string& arguments) {
  const ComForThread com;
  return SUCCEEDED(bmfixture::SaveShortcut(Wide(link), Wide(target), Wide(arguments)));
}

void WriteFile(const std::string& path, const char* bytes) {
  const UniqueFileHandle file(
      ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  DWORD written = 0;
  ::WriteFile(file.Get(), bytes, static_cast<DWORD>(std::strlen(bytes)), &written, nullptr);
}

TEST(Win32ShellLink, ReadsTargetAndArgumentsOfSavedShortcuts) {
  const testing::ScratchFolder folder;
  const std::string program = folder / "tool.exe";
  // Wine keeps a target only in the ANSI code page: names beyond ASCII stay within it.
  const std::string otherProgram = folder / "\xC3\x9C" "bersicht \xC3\xA9t\xC3\xA9.exe";
  WriteFile(program, "MZ");
  WriteFile(otherProgram, "MZ");
  const struct {
    const char* name;
    std::string link;
    std::string target;
    std::string arguments;
  } cases[] = {
      {"plain", folder / "plain.lnk", program, "-tray /x \"quoted arg\""},
      {"no arguments", folder / "bare.lnk", program, ""},
      {"names beyond ASCII", folder / "\xC3\xA9t\xC3\xA9.lnk", otherProgram, "\xE6\xBC\xA2"},
  };
  Win32Shell shell;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(SaveShortcut(c.link, c.target, c.arguments));
    const std::optional<ShellLinkTarget> read = shell.ReadShellLink(c.link);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->rawPath, c.target);
    EXPECT_EQ(read->arguments, c.arguments);
  }
}

TEST(Win32ShellLink, FilesThatAreNoShortcutCannotBeRead) {
  const testing::ScratchFolder folder;
  WriteFile(folder / "text.lnk", "this is not a shell link");
  Win32Shell shell;
  EXPECT_FALSE(shell.ReadShellLink(folder / "text.lnk").has_value());
  EXPECT_FALSE(shell.ReadShellLink(folder / "missing.lnk").has_value());
  EXPECT_FALSE(shell.ReadShellLink("").has_value());
}

}  // namespace
}  // namespace bootmark::win32
