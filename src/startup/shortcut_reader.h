#pragma once
// ReadShortcut: the five texts of a ".lnk" file for the startup inventory. The
// system's shell link object reads it first; when any of its calls fails, the
// program's own reader of the Shell Link binary format reads the file.
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace bootmark {

// Nullopt when the file does not exist or neither reader can read it. The
// target comes in its short (8.3) form from the shell object, in its long form
// from the program's reader.
std::optional<ShellLinkFields> ReadShortcut(const Platform& platform, std::string_view file);

}  // namespace bootmark
