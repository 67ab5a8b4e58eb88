#pragma once
// A settings file on a fake disk, for the TSafeIniFile tests.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "fakes/utf16_file.h"

namespace bootmark::safe_ini_test {

using testing::Utf16File;

inline constexpr std::string_view kFile = "C:\\Data\\app.ini";

using Lines = std::vector<std::string>;

class SafeIniFileTest : public ::testing::Test {
 protected:
  // Puts `bytes` at kFile and gives them back.
  std::string Add(std::string bytes) {
    fs.AddFile(kFile, bytes);
    return bytes;
  }
  FakeFileSystem fs;
};

}  // namespace bootmark::safe_ini_test
