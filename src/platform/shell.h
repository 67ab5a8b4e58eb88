#pragma once
#include <string>

namespace bootmark {

// Shell folder ids (CSIDL values) the program asks for.
namespace csidl {
constexpr int kAppData = 26;        // the user's roaming application data
constexpr int kCommonAppData = 35;  // application data for all users
constexpr int kProfile = 40;        // the user's profile folder
}  // namespace csidl

class IShell {
 public:
  virtual ~IShell() = default;
  // SHGetSpecialFolderPathW without creating the folder; empty when unknown.
  // The path has no trailing backslash.
  virtual std::string GetSpecialFolderPath(int csidl) = 0;
};

}  // namespace bootmark
