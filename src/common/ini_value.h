#pragma once
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace bootmark {

// One value of a settings file read without keeping the file: "1" when the file
// does not exist or has no such key.
std::string ReadIniValue(IFileSystem& files, std::string_view fileName, std::string_view section,
                         std::string_view key);

}  // namespace bootmark
