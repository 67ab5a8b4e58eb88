#pragma once
// Helpers around the Windows shell.
#include <string_view>

#include "platform/platform.h"

namespace bootmark {

// Opens Explorer on `path` with the file selected:
//  1. on Windows XP and later, through SHOpenFolderAndSelectItems where shell32
//     has it; true when that worked;
//  2. otherwise, on Windows 6.0 and later, opens the containing folder of a file
//     (a folder itself) with the shell verb "explore";
//  3. on older systems, starts "explorer" with " /select," and the path.
// In 2 and 3 the result is true when the shell call answers above 32.
bool OpenFolderAndSelect(const Platform& platform, std::string_view path);

}  // namespace bootmark
