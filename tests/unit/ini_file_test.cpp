// TIniFile over the profile functions: preparing the file and the typed value
// formats. What the profile functions themselves do is the system's.
#include "common/ini_file.h"

#include <gtest/gtest.h>

#include "common/safe_ini_file.h"
#include "fakes/fake_file_system.h"
#include "fakes/portable_profile_api.h"
#include "fakes/utf16_file.h"

namespace bootmark {
namespace {

using testing::Utf16File;

constexpr std::string_view kFile = "C:\\Shared\\suite.ini";

struct Files {
  FakeFileSystem fs;
  PortableProfileApi profile{fs};
};

class IniFileTest : public ::testing::Test, protected Files {};

// --- Preparing the file ---------------------------------------------------------

// A missing file is made in its new folder and an empty one gets the UTF-16 byte
// order mark, so that the profile functions write UTF-16; content is left alone.
TEST(IniFilePrepare, MissingOrEmptyFilesBecomeEmptyUtf16Files) {
  const struct {
    const char* path;
    std::optional<std::string> before;
    const char* after;
  } cases[] = {{"C:\\ProgramData\\Tarvo\\Kestrune\\shared.ini", std::nullopt, "\xFF\xFE"},
               {"C:\\Shared\\suite.ini", "", "\xFF\xFE"},
               {"C:\\Shared\\suite.ini", "[S]\r\nk=v\r\n", "[S]\r\nk=v\r\n"}};
  for (const auto& c : cases) {
    Files files;
    if (c.before) files.fs.AddFile(c.path, *c.before);
    TIniFile ini(files.fs, files.profile, c.path);
    EXPECT_EQ(files.fs.Content(c.path), c.after) << c.path;
    EXPECT_EQ(files.fs.WriteCount(c.path), c.before == c.after ? 0 : 1) << c.path;
  }
}

TEST_F(IniFileTest, ReadOnlyFileBecomesWritableAndStaysSo) {
  fs.AddFile(kFile, Utf16File("[S]\r\nk=old\r\n"), file_attr::kReadOnly | file_attr::kArchive);
  TIniFile ini(fs, profile, std::string(kFile));
  EXPECT_EQ(fs.GetAttributes(kFile), file_attr::kArchive);

  // Made read-only again by someone else: UpdateFile clears it once more.
  fs.SetAttributes(kFile, file_attr::kReadOnly);
  EXPECT_FALSE(ini.WriteString("S", "k", "refused"));
  ini.UpdateFile();
  EXPECT_TRUE(ini.WriteString("S", "k", "after update"));
  EXPECT_EQ(ini.ReadString("S", "k", ""), "after update");
}

TEST_F(IniFileTest, NameWithoutFolderIsTakenFromTheCurrentFolder) {
  TIniFile ini(fs, profile, "plain.ini");  // the fake's current folder: the root of C:
  EXPECT_EQ(ini.FileName(), ".\\plain.ini");
  EXPECT_EQ(fs.Content("C:\\plain.ini"), "\xFF\xFE");
}

TEST_F(IniFileTest, SectionsExistWithoutRegardToCase) {
  fs.AddFile(kFile, Utf16File("[B]\r\nz=1\r\n[A]\r\n"));
  TIniFile ini(fs, profile, std::string(kFile));
  EXPECT_FALSE(ini.SectionExists("c"));
  EXPECT_TRUE(ini.SectionExists("a"));
}

}  // namespace
}  // namespace bootmark
