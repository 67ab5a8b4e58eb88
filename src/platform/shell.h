#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace bootmark {

// Shell folder ids (CSIDL values) the program asks for.
namespace csidl {
constexpr int kStartup = 7;               // the user's Startup folder
constexpr int kCommonStartup = 24;        // the all-users Startup folder
constexpr int kAppData = 26;              // the user's roaming application data
constexpr int kLocalAppData = 28;         // the user's local application data
constexpr int kCommonAppData = 35;        // application data for all users
constexpr int kProgramFiles = 38;         // programs (the 32-bit one on 64-bit Windows)
constexpr int kProfile = 40;              // the user's profile folder
constexpr int kCommonProgramFiles = 43;   // programs' common files (32-bit one likewise)
}  // namespace csidl

// ShowWindow commands used with ShellExecute.
namespace show_command {
constexpr int kHide = 0;
constexpr int kNormal = 1;
}  // namespace show_command

// What asking the shell to open a folder with one item selected gave.
enum class SelectInFolderResult {
  kUnavailable,  // the system has no SHOpenFolderAndSelectItems
  kFailed,       // no item list could be made of the path, or the shell refused
  kOpened,
};

// What a shell link (".lnk" file) names, as the shell link object reads it.
struct ShellLinkTarget {
  // The target as stored, environment variables unexpanded.
  std::string rawPath;
  // The command-line arguments; empty when they cannot be read.
  std::string arguments;
};

// The five texts of a shell link that the startup inventory shows.
struct ShellLinkFields {
  std::string target;  // the target path, in its short (8.3) form where it has one
  std::string arguments;
  std::string description;
  std::string workingFolder;
  std::string iconLocation;
};

class IShell {
 public:
  virtual ~IShell() = default;
  // SHGetSpecialFolderPathW without creating the folder; empty when unknown.
  // The path has no trailing backslash. The folders are those the shipped 32-bit
  // program sees: on 64-bit Windows, program files (38) and common program
  // files (43) are the "(x86)" folders whatever the build.
  virtual std::string GetSpecialFolderPath(int csidl) = 0;

  // shell32's SHOpenFolderAndSelectItems (looked up at run time) on the item list
  // of `path`: opens its folder in Explorer with the item selected.
  virtual SelectInFolderResult OpenFolderAndSelectItem(std::string_view path) = 0;

  // ShellExecuteW; empty texts are passed as "none". Returns the instance value
  // the system answered: above 32 on success, an error code otherwise.
  virtual std::intptr_t ShellExecute(WindowHandle owner, std::string_view verb, std::string_view file,
                                     std::string_view parameters, std::string_view directory,
                                     int showCommand) = 0;

  // Loads a shell link file through the shell link object (COM set up for the
  // thread around the call). Nullopt when the object cannot be created or the
  // file cannot be loaded or its target read. Both texts are read into buffers
  // of 260 characters.
  virtual std::optional<ShellLinkTarget> ReadShellLink(std::string_view linkPath) = 0;

  // Loads a shell link file through the shell link object (in-process server,
  // IPersistFile::Load with mode 0) and reads its five fields, each into a
  // buffer of 260 characters, the target with SLGP_SHORTPATH. Nullopt when any
  // of these calls fails.
  virtual std::optional<ShellLinkFields> ReadShellLinkFields(std::string_view linkPath) = 0;

  // shlwapi's SHLoadIndirectString (looked up at run time, COM set up for the
  // thread around the call) on an indirect string such as "@{package?resource}".
  // Nullopt when the system has no such function or the call fails.
  virtual std::optional<std::string> LoadIndirectString(std::string_view source) = 0;
};

}  // namespace bootmark
