// Opening Explorer with a file selected, on each generation of Windows.
#include "common/shell_helpers.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

struct SelectCase {
  const char* name;
  std::uint32_t major, minor;
  SelectInFolderResult selectResult;
  bool pathIsFolder;
  std::intptr_t executeResult;
  bool expected;
  bool expectSelectTried;
  // The shell call made when selecting did not do it; empty verb: none.
  const char* verb;
  const char* file;
  const char* parameters;
};

using R = SelectInFolderResult;

TEST(OpenFolderAndSelectTest, SelectsTheItemElseOpensItsFolderElseStartsExplorer) {
  const SelectCase cases[] = {
      {"Windows10Selects", 10, 0, R::kOpened, false, 42, true, true, "", "", ""},
      {"XpSelects", 5, 1, R::kOpened, false, 42, true, true, "", "", ""},
      {"Windows7FailedExploresTheFolder", 6, 1, R::kFailed, false, 42, true, true, "explore", "C:\\Tools\\Sub", ""},
      {"VistaFailedOnAFolderExploresIt", 6, 0, R::kFailed, true, 42, true, true, "explore", "C:\\Tools\\Sub", ""},
      {"ExploreAnswering32Failed", 6, 1, R::kUnavailable, false, 32, false, true, "explore", "C:\\Tools\\Sub", ""},
      {"ExploreAnswering33Worked", 6, 1, R::kUnavailable, false, 33, true, true, "explore", "C:\\Tools\\Sub", ""},
      {"XpWithoutTheExportStartsExplorer", 5, 1, R::kUnavailable, false, 42, true, true, "open", "explorer",
       " /select,C:\\Tools\\Sub\\app.exe"},
      {"Server2003FailedStartsExplorer", 5, 2, R::kFailed, false, 2, false, true, "open", "explorer",
       " /select,C:\\Tools\\Sub\\app.exe"},
      {"Windows2000DoesNotTrySelecting", 5, 0, R::kOpened, false, 42, true, false, "open", "explorer",
       " /select,C:\\Tools\\Sub\\app.exe"},
  };
  for (const SelectCase& test : cases) {
    SCOPED_TRACE(test.name);
    testing::FakePlatform fake;
    fake.system.versionEx.major = test.major;
    fake.system.versionEx.minor = test.minor;
    fake.shell.selectResult = test.selectResult;
    fake.shell.executeResult = test.executeResult;
    const std::string path = test.pathIsFolder ? "C:\\Tools\\Sub" : "C:\\Tools\\Sub\\app.exe";
    fake.files.AddDirectory("C:\\Tools\\Sub");
    fake.files.AddFile("C:\\Tools\\Sub\\app.exe", "MZ");

    EXPECT_EQ(OpenFolderAndSelect(fake.platform, path), test.expected);

    EXPECT_EQ(fake.shell.selectedItems,
              test.expectSelectTried ? std::vector<std::string>{path} : std::vector<std::string>{});
    if (std::string(test.verb).empty()) {
      EXPECT_TRUE(fake.shell.executed.empty());
      continue;
    }
    ASSERT_EQ(fake.shell.executed.size(), 1u);
    const auto& call = fake.shell.executed.front();
    EXPECT_EQ(call.verb, test.verb);
    EXPECT_EQ(call.file, test.file);
    EXPECT_EQ(call.parameters, test.parameters);
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.showCommand, show_command::kNormal);
    EXPECT_EQ(call.owner, kNoWindow);
  }
}

}  // namespace
}  // namespace bootmark
