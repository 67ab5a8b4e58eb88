#pragma once
// The program's own reader of shell link (".lnk") files, after the published
// Shell Link binary format: the header, the link target item list (skipped by
// its size), the link info with the local base path (ANSI, and Unicode where
// the header has room for it) and the string data. Used when the system's shell
// link object cannot read a shortcut.
//
// Every size and offset is checked against the bytes; a damaged file is a
// failed read, never a read beyond its end.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/shell.h"

namespace bootmark {

// Decodes text in the system's ANSI code page.
using AnsiDecoder = std::function<std::u16string(std::string_view)>;

// The five fields, each cut to 259 characters as the shell object's buffers
// would; `target` is the local base path with the common path suffix. Nullopt
// when the bytes are not a shell link or any part overruns them.
std::optional<ShellLinkFields> ParseShellLinkFile(std::string_view bytes, const AnsiDecoder& decodeAnsi);

}  // namespace bootmark
