// Folder creation and the path helpers.
#include "common/data_dirs.h"

#include <gtest/gtest.h>

#include "base/path.h"
#include "fakes/fake_file_system.h"

namespace bootmark {
namespace {

// The suite's data folders and the program's folder are not listed here: every
// test that finds a suite file at its full path pins them.

struct ForceCase {
  const char* name;
  const char* folder;
  int failuresOfFirstNewFolder;  // CreateDirectory refusals before it works
  bool expectedResult;
  int expectedCallsOnFirstNewFolder;
};

TEST(ForceDirectoriesTest, CreatesMissingParentsRetryingUpTo101Times) {
  const ForceCase cases[] = {
      {"Existing", "C:\\Exists", 0, true, 0}, {"ManyLevelsTrailingBackslash", "C:\\Exists\\A\\B\\C\\", 0, true, 1},
      {"RefusedUntilTheLastAttempt", "C:\\Exists\\A", 100, true, 101},
      {"RefusedForGood", "C:\\Exists\\A\\B", 1000, false, 101},
      {"MissingDrive", "Q:\\Nowhere\\Deep", 0, false, 0}, {"Root", "C:\\", 0, true, 0},
      {"OnAServerShare", "\\\\srv\\share\\A", 0, true, 0}, {"ServerShare", "\\\\srv\\share", 0, true, 0},
  };
  for (const ForceCase& test : cases) {
    SCOPED_TRACE(test.name);
    FakeFileSystem fs;
    fs.AddDirectory("C:\\Exists");
    fs.AddDirectory("\\\\srv\\share");
    fs.FailCreateDirectory("C:\\Exists\\A", test.failuresOfFirstNewFolder);
    EXPECT_EQ(ForceDirectories(fs, test.folder), test.expectedResult);
    EXPECT_EQ(fs.DirectoryExists(test.folder), test.expectedResult);
    EXPECT_EQ(fs.CreateDirectoryCalls("C:\\Exists\\A"), test.expectedCallsOnFirstNewFolder);
  }
  FakeFileSystem fs;
  EXPECT_FALSE(ForceDirectories(fs, ""));
  // Roots are never created: drives (also behind doubled backslashes), servers and their shares.
  for (const char* folder : {"Q:\\", "Q:\\Nowhere", "Q:\\\\Nowhere", "\\\\srv\\share\\dir"}) {
    for (const char* root : {"Q:", "Q:\\", "\\\\srv", "\\\\srv\\share"}) {
      FakeFileSystem machine;
      ForceDirectories(machine, folder);
      EXPECT_EQ(machine.CreateDirectoryCalls(root), 0) << folder << " " << root;
    }
  }
}

struct PathCase {
  const char* path;
  const char* filePath;
  const char* fileDir;
  const char* fileName;
};

TEST(PathTest, Pieces) {
  const PathCase cases[] = {
      {"C:\\a\\b.ini", "C:\\a\\", "C:\\a", "b.ini"}, {"C:\\b.ini", "C:\\", "C:\\", "b.ini"},
      {"C:b.ini", "C:", "C:", "b.ini"}, {"\\b.ini", "\\", "\\", "b.ini"}, {".\\b.ini", ".\\", ".", "b.ini"},
      {"b.ini", "", "", "b.ini"}, {"C:\\a\\", "C:\\a\\", "C:\\a", ""},
      {"\\\\srv\\share\\x.ini", "\\\\srv\\share\\", "\\\\srv\\share", "x.ini"},
  };
  for (const PathCase& test : cases) {
    SCOPED_TRACE(test.path);
    EXPECT_EQ(ExtractFilePath(test.path), test.filePath);
    EXPECT_EQ(ExtractFileDir(test.path), test.fileDir);
    EXPECT_EQ(ExtractFileName(test.path), test.fileName);
  }
}

// What a failed special-folder look-up leaves ("\Tarvo\..." or a bare name) is
// never fully qualified, so it is never written.
TEST(PathTest, FullyQualifiedPathsNameOnePlace) {
  const struct {
    const char* path;
    bool qualified;
  } cases[] = {
      {"C:\\a\\b.ini", true}, {"z:\\", true}, {"\\\\srv\\share\\x", true},
      {"\\Tarvo\\Kestrune\\x.ini", false}, {"Bootmark\\x.ini", false}, {".\\x.ini", false},
      {"C:x.ini", false}, {"1:\\x", false}, {"\\\\srv", false}, {"\\\\srv\\", false},
      {"\\\\\\share\\x", false}, {"\\\\a\\b", true}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsFullyQualifiedPath(c.path), c.qualified) << c.path;
}

TEST(PathTest, PathsBelowAFolderDownToTheTarget) {
  using Paths = std::vector<std::string>;
  const struct {
    const char* folder;
    const char* path;
    Paths below;
  } cases[] = {
      {"C:\\D", "C:\\D\\a\\b.ini", {"C:\\D\\a", "C:\\D\\a\\b.ini"}},
      {"C:\\D\\", "c:\\d\\A\\\\b\\", {"c:\\d\\A", "c:\\d\\A\\\\b"}},
      {"C:\\D", "C:\\Data\\x", {}},
      {"C:\\D", "C:\\D", {}},
      {"C:\\D", "C:\\D\\..\\Windows\\x", {}},
      {"", "C:\\D\\x", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(PathsBelow(c.folder, c.path), c.below) << c.path;
}

}  // namespace
}  // namespace bootmark
