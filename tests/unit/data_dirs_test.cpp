// The suite's data folders, folder creation and the path helpers.
#include "common/data_dirs.h"

#include <gtest/gtest.h>

#include "common/path.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_ports.h"

namespace bootmark {
namespace {

struct FolderCase {
  const char* name;
  std::string (*folder)(IShell&);
  const char* expected;
};

class DataFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DataFolderTest, SpecialFolderWithTheSuiteFolderWordAndTrailingBackslash) {
  testing::FakeShell shell;
  EXPECT_EQ(GetParam().folder(shell), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DataFolderTest,
    ::testing::Values(
        FolderCase{"User", GetSuiteUserDataDir, "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\"},
        FolderCase{"Common", GetSuiteCommonDataDir, "C:\\ProgramData\\Tarvo\\Kestrune\\"},
        FolderCase{"Low", GetSuiteLowDataDir, "C:\\Users\\Ann\\AppData\\LocalLow\\Tarvo\\Kestrune\\"},
        FolderCase{"Maker", GetMakerCommonDataDir, "C:\\ProgramData\\Tarvo\\"}),
    [](const ::testing::TestParamInfo<FolderCase>& test) { return std::string(test.param.name); });

TEST(ProgramDirTest, FolderOfTheRunningExecutable) {
  testing::FakeEnvironment environment;
  environment.executablePath = "C:\\Program Files (x86)\\Tarvo\\Kestrune\\Bootmark.exe";
  EXPECT_EQ(ProgramDir(environment), "C:\\Program Files (x86)\\Tarvo\\Kestrune\\");
}

struct ForceCase {
  const char* name;
  const char* folder;
  int failuresOfFirstNewFolder;  // CreateDirectory refusals before it works
  bool expectedResult;
  int expectedCallsOnFirstNewFolder;
};

class ForceDirectoriesTest : public ::testing::TestWithParam<ForceCase> {};

TEST_P(ForceDirectoriesTest, CreatesMissingParentsRetryingUpTo101Times) {
  FakeFileSystem fs;
  fs.AddDirectory("C:\\Exists");
  fs.FailCreateDirectory("C:\\Exists\\A", GetParam().failuresOfFirstNewFolder);
  EXPECT_EQ(ForceDirectories(fs, GetParam().folder), GetParam().expectedResult);
  EXPECT_EQ(fs.DirectoryExists(GetParam().folder), GetParam().expectedResult);
  EXPECT_EQ(fs.CreateDirectoryCalls("C:\\Exists\\A"), GetParam().expectedCallsOnFirstNewFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForceDirectoriesTest,
    ::testing::Values(ForceCase{"Existing", "C:\\Exists", 0, true, 0},
                      ForceCase{"OneLevel", "C:\\Exists\\A", 0, true, 1},
                      ForceCase{"ManyLevels", "C:\\Exists\\A\\B\\C\\D", 0, true, 1},
                      ForceCase{"TrailingBackslash", "C:\\Exists\\A\\B\\", 0, true, 1},
                      ForceCase{"TransientRefusals", "C:\\Exists\\A\\B", 5, true, 6},
                      ForceCase{"RefusedUntilTheLastAttempt", "C:\\Exists\\A", 100, true, 101},
                      ForceCase{"RefusedForGood", "C:\\Exists\\A\\B", 1000, false, 101}),
    [](const ::testing::TestParamInfo<ForceCase>& test) { return std::string(test.param.name); });

TEST(ForceDirectoriesTest, MissingDriveOrEmptyNameFails) {
  FakeFileSystem fs;
  EXPECT_FALSE(ForceDirectories(fs, "Q:\\Nowhere\\Deep"));
  EXPECT_FALSE(ForceDirectories(fs, ""));
  EXPECT_TRUE(ForceDirectories(fs, "C:\\"));
}

struct PathCase {
  const char* path;
  const char* filePath;
  const char* fileDir;
  const char* fileName;
};

class PathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathTest, Pieces) {
  EXPECT_EQ(ExtractFilePath(GetParam().path), GetParam().filePath);
  EXPECT_EQ(ExtractFileDir(GetParam().path), GetParam().fileDir);
  EXPECT_EQ(ExtractFileName(GetParam().path), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(Paths, PathTest,
                         ::testing::Values(PathCase{"C:\\a\\b.ini", "C:\\a\\", "C:\\a", "b.ini"},
                                           PathCase{"C:\\b.ini", "C:\\", "C:\\", "b.ini"},
                                           PathCase{"C:b.ini", "C:", "C:", "b.ini"},
                                           PathCase{"\\b.ini", "\\", "\\", "b.ini"},
                                           PathCase{".\\b.ini", ".\\", ".", "b.ini"},
                                           PathCase{"b.ini", "", "", "b.ini"},
                                           PathCase{"C:\\a\\", "C:\\a\\", "C:\\a", ""},
                                           PathCase{"\\\\srv\\share\\x.ini", "\\\\srv\\share\\",
                                                    "\\\\srv\\share", "x.ini"}));

TEST(PathTest, TrailingBackslash) {
  EXPECT_EQ(IncludeTrailingBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\a\\"), "C:\\a\\");
  EXPECT_EQ(IncludeTrailingBackslash(""), "");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\a\\"), "C:\\a");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\a"), "C:\\a");
}

}  // namespace
}  // namespace bootmark
