// The shell port's reading of shortcut files saved by the shell's own link object, as
// installers save them, where only the real system decides: names beyond ASCII (Wine
// keeps a target only in the ANSI code page) and files that are no shortcut. Plain
// shortcuts are screened and listed end to end.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/com_ptr.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_shell.h"
#include "scratch_folder.h"
#include "wine/tools/fixture_savers.h"

namespace bootmark::win32 {
namespace {

TEST(Win32ShellLink, ReadsShortcutsWithNamesBeyondAsciiAndRefusesOtherFiles) {
  const testing::ScratchFolder folder;
  const std::string program = folder / "\xC3\x9C" "bersicht \xC3\xA9t\xC3\xA9.exe";
  const std::string link = folder / "\xC3\xA9t\xC3\xA9.lnk";
  testing::WriteFileBytes(program, "MZ");
  testing::WriteFileBytes(folder / "text.lnk", "this is not a shell link");
  {
    const ComForThread com;
    ASSERT_HRESULT_SUCCEEDED(bmfixture::SaveShortcut(Wide(link), Wide(program), L"-tray \u6F22"));
  }
  Win32Shell shell;
  const std::optional<ShellLinkTarget> read = shell.ReadShellLink(link);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->rawPath, program);
  EXPECT_EQ(read->arguments, "-tray \xE6\xBC\xA2");
  for (const std::string& path : {folder / "text.lnk", folder / "missing.lnk", std::string()}) {
    EXPECT_FALSE(shell.ReadShellLink(path).has_value()) << path;
  }
}

}  // namespace
}  // namespace bootmark::win32
