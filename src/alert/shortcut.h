#pragma once
// The program a startup-folder shortcut starts.
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace bootmark {

// Reads the shortcut file: its target with environment variables expanded (left
// as stored when the expansion does not fit 260 characters) and its arguments.
// A target that names no file loses its first " (x86)" (any case): a 32-bit
// installer's shortcut may name the program folder the program is not in.
// False, with both texts empty, when the file cannot be read as a shortcut.
bool ResolveShortcut(const Platform& platform, std::string_view linkPath, std::string& target,
                     std::string& arguments);

}  // namespace bootmark
