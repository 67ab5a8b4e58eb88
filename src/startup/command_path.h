#pragma once
// Command-line path resolution: the file that a startup command line starts.
//
// Startup entries name their program in many shapes: quoted or unquoted paths
// with arguments, environment variables, short 8.3 names, "System32\" and
// "\SystemRoot\" prefixes of service image paths, "\??\" prefixes, bare names
// found through the search path, "rundll32.exe" command lines, "%1" placeholders.
// GetCommandFilePath turns any of them into the path of the file it starts. It
// never fails: the answer is the best candidate even when no file exists there,
// and callers test existence themselves.
//
// One TCheckPath serves the whole process. The PATH folders and PATHEXT
// extensions are read from the environment once, at the first search that needs
// them, and kept sorted without regard to case: folders and extensions are tried
// in alphabetical order, not in the order of the variables. Not thread-safe: the
// inventory resolves from one thread.
//
// Every system call that fills a buffer does so with 260 characters (the system's
// path limit): a longer expansion leaves the text unexpanded, a longer search
// result counts as not found, a longer long name keeps the short one.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace bootmark {

// A command line split into the file it starts and the rest.
struct CommandLineParts {
  std::string filePath;
  std::string arguments;
};

class TCheckPath {
 public:
  explicit TCheckPath(const Platform& platform) : platform_(platform) {}

  // The full resolution.
  std::string GetCommandFilePath(std::string_view commandLine);

  // A quoted file, or the shortest prefix ending before a blank (or the whole
  // text) that the system's search finds and, with `foundMustBeWritten`, that is
  // written out in the text. Empty parts when there is none. Short names are made
  // long.
  CommandLineParts SplitCommandLine(std::string_view text, bool foundMustBeWritten = true);

  // SearchPathW over the name's own folder, then the "path" variable (the
  // Windows folder's "system32" when that is empty), ".exe" added to a name
  // without extension. Empty when nothing is found, or a folder is.
  std::string FindFileOnSearchPath(std::string_view name);

  // An unquoted command line whose first word is an existing file gives that
  // word; a "%ProgramFiles%" command line is tried with the native "Program
  // Files" folder of the Windows drive. Else the command line itself.
  std::string RepairProgramFiles(std::string_view commandLine);

  // The general resolver, by text rules only; it looks at files only to place
  // the library of a "rundll32.exe" command line.
  std::string ExtractCommandExe(std::string_view commandLine);

  // The first word found in the PATH folders: as it stands when it has an
  // extension, else with each PATHEXT extension in turn. Empty when not found.
  std::string FindOnEnvPath(std::string_view commandLine);

  // The sorted PATH folders and PATHEXT extensions, read on first use.
  const std::vector<std::string>& PathFolders();
  const std::vector<std::string>& PathExtensions();

  // A file exists at the path. A "\??\" path names the object manager's view of a
  // file, which the system's file calls pass through as it stands; it is not a
  // file name the resolver answers with, so it never counts as one.
  bool IsFile(std::string_view path);

 private:
  // ExpandEnvironmentStringsW with a 260-character buffer: nullopt when it fails
  // or the result does not fit.
  std::optional<std::u16string> ExpandWithinBuffer(std::u16string_view text);
  void ReadSearchLists();

  const Platform& platform_;
  bool listsRead_ = false;
  std::vector<std::string> pathFolders_;
  std::vector<std::string> pathExtensions_;
};

}  // namespace bootmark
