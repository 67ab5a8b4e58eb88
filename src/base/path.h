#pragma once
// Windows path pieces. Paths are UTF-8 text with "\" as the folder separator and
// "X:" as the drive part; only "\" and ":" delimit, as in the program's own files.
#include <string>
#include <string_view>

namespace bootmark {

// Folder part including its trailing delimiter: "C:\a\b.ini" -> "C:\a\",
// "C:b.ini" -> "C:", "b.ini" -> "".
std::string ExtractFilePath(std::string_view path);

// Folder part without the trailing backslash, except where it is needed to name a
// root: "C:\a\b.ini" -> "C:\a", "C:\b.ini" -> "C:\", "\b.ini" -> "\", "b.ini" -> "".
std::string ExtractFileDir(std::string_view path);

// Text after the last delimiter: "C:\a\b.ini" -> "b.ini".
std::string ExtractFileName(std::string_view path);

// Appends "\" unless the path is empty or already ends with one.
std::string IncludeTrailingBackslash(std::string_view path);
// Removes one trailing "\" if present.
std::string ExcludeTrailingBackslash(std::string_view path);

}  // namespace bootmark
