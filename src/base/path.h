#pragma once
// Windows path pieces. Paths are UTF-8 text with "\" as the folder separator and
// "X:" as the drive part; only "\" and ":" delimit, as in the program's own files.
#include <string>
#include <string_view>
#include <vector>

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

// A path that names one place whatever the current drive and folder: "X:\..." or
// "\\server\share\...". "\a", "a\b", ".\a" and "C:a" depend on them.
bool IsFullyQualifiedPath(std::string_view path);

// The paths from the first name below `folder` down to `path` itself:
// ("C:\D", "C:\D\a\b.ini") -> {"C:\D\a", "C:\D\a\b.ini"}. Empty when `path`
// does not lie below `folder` (case ignored) or names "." or ".." on the way.
std::vector<std::string> PathsBelow(std::string_view folder, std::string_view path);

}  // namespace bootmark
