#pragma once
// The folders the suite keeps its data in, and folder creation.
// Every folder returned here ends with a backslash.
#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace bootmark {

// The maker's folder word and the suite's folder below it.
inline constexpr std::string_view kMakerFolder = "Tarvo";
inline constexpr std::string_view kSuiteFolder = "Tarvo\\Kestrune";

// <roaming application data>\Tarvo\Kestrune\ (CSIDL 26).
std::string GetSuiteUserDataDir(IShell& shell);
// <all users' application data>\Tarvo\Kestrune\ (CSIDL 35).
std::string GetSuiteCommonDataDir(IShell& shell);
// <user profile>\AppData\LocalLow\Tarvo\Kestrune\ (CSIDL 40).
std::string GetSuiteLowDataDir(IShell& shell);
// <all users' application data>\Tarvo\ (CSIDL 35).
std::string GetMakerCommonDataDir(IShell& shell);
// Folder of the running executable.
std::string ProgramDir(IEnvironment& environment);

// Creates the folder with all its missing parents. Creation can race with other
// processes or be refused for a moment (a virus scanner holding a new folder), so
// it is tried up to 101 times, stopping as soon as the folder exists.
// True when the folder exists afterwards.
bool ForceDirectories(IFileSystem& files, std::string_view folder);

}  // namespace bootmark
