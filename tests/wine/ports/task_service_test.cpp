// The Task Scheduler 2.0 COM port as the system gives it: connecting, opening
// folders by path, creating one and finding it among the sub-folders. (Where the
// system does not implement a folder's task collection, the reader turns to the
// scheduler's task files: /UpdateTaskschd lists tasks that way end to end.)
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/win32_task_scheduler.h"

namespace bootmark::win32 {
namespace {

class Win32TaskServiceTest : public ::testing::Test {
 protected:
  void SetUp() override { setup = scheduler.InitializeCom(); }
  void TearDown() override {
    if (setup.initialized) scheduler.UninitializeCom();
  }

  Win32TaskScheduler scheduler;
  ComSetup setup;
};

TEST_F(Win32TaskServiceTest, OpensFoldersByPathAndListsACreatedOne) {
  ASSERT_TRUE(setup.initialized);
  const auto root = scheduler.Service().OpenFolder("\\");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Path(), "\\");
  EXPECT_EQ(scheduler.Service().OpenFolder("\\BmNoSuchFolder\\Deeper"), nullptr);

  const std::string name = "\\BmPortTest" + std::to_string(::GetCurrentProcessId());
  const auto created = scheduler.Service().CreateFolder(name.substr(1));
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->Path(), name);
  const auto again = scheduler.Service().OpenFolder("\\");
  std::vector<std::string> listed;
  for (std::int32_t index = 1; index <= again->FolderCount(); ++index) listed.push_back(again->Folder(index)->Path());
  EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end());
  const auto opened = scheduler.Service().OpenFolder(name);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(opened->FolderCount(), 0);
}

}  // namespace
}  // namespace bootmark::win32
