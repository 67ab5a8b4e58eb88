#pragma once
// The program that a new startup item's command text starts.
#include <string>
#include <string_view>

#include "startup/command_path.h"

namespace bootmark {

// The resolver's answer for a command text taken as it stands: no doubled quotes
// removed, no variables expanded, no "\" or "System32\" prefix handled. A quoted
// path, or the first blank-separated prefix the system's search finds (wherever
// it found it), made long when it holds "~". Else the trimmed text when a file
// is there, or the text with its "%ProgramFiles%" repaired, or the text rules'
// answer. PATH folders are not searched at the end. The answer may name no file.
std::string GetItemExePath(TCheckPath& checkPath, std::string_view commandLine);

}  // namespace bootmark
