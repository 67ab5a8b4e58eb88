#pragma once
// Special folders, Explorer, ShellExecute and shortcuts.
#include "platform/shell.h"

namespace bootmark::win32 {

class Win32Shell : public IShell {
 public:
  std::string GetSpecialFolderPath(int csidl) override;
  SelectInFolderResult OpenFolderAndSelectItem(std::string_view path) override;
  std::intptr_t ShellExecute(WindowHandle owner, std::string_view verb, std::string_view file,
                             std::string_view parameters, std::string_view directory, int showCommand) override;
  std::optional<ShellLinkTarget> ReadShellLink(std::string_view linkPath) override;
  std::optional<ShellLinkFields> ReadShellLinkFields(std::string_view linkPath) override;
  std::optional<std::string> LoadIndirectString(std::string_view source) override;
};

}  // namespace bootmark::win32
