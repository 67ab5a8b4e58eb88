// The Task Scheduler 1.0 port (the interface of the systems before Windows Vista)
// on a work item this test saves through the same scheduler: its ".job" name is
// listed and activating it reads back what was saved.
#include <windows.h>
#include <mstask.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_task_scheduler.h"
#include "wine/tools/fixture_savers.h"

namespace bootmark::win32 {
namespace {

class Win32TaskLegacyTest : public ::testing::Test {
 protected:
  void SetUp() override { setup = scheduler.InitializeCom(); }
  void TearDown() override {
    if (legacy) legacy->Delete(name.c_str());
    if (setup.initialized) scheduler.UninitializeCom();
  }

  // A work item starting C:\Tools\tool.exe at logon, saved as name + ".job".
  void SaveWorkItem() {
    ASSERT_HRESULT_SUCCEEDED(::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                                IID_ITaskScheduler, reinterpret_cast<void**>(legacy.Put())));
    ASSERT_HRESULT_SUCCEEDED(bmfixture::SaveWorkItem(
        *legacy.Get(), {name, L"C:\\Tools\\tool.exe", L"/background", L"Bootmark port test", TASK_EVENT_TRIGGER_AT_LOGON}));
  }

  Win32TaskScheduler scheduler;
  ComSetup setup;
  ComPtr<::ITaskScheduler> legacy;
  std::wstring name = L"BmLegacy" + std::to_wstring(::GetCurrentProcessId());
};

TEST_F(Win32TaskLegacyTest, SavedWorkItemIsListedAndReadBack) {
  ASSERT_TRUE(setup.initialized);
  SaveWorkItem();
  if (HasFatalFailure()) return;

  const std::string jobName = "BmLegacy" + std::to_string(::GetCurrentProcessId()) + ".job";
  const std::vector<std::string> names = scheduler.Legacy().WorkItemNames();
  ASSERT_NE(std::find(names.begin(), names.end(), jobName), names.end());

  const auto item = scheduler.Legacy().Activate(jobName);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->ApplicationName(), "C:\\Tools\\tool.exe");
  EXPECT_EQ(item->Parameters(), "/background");
  EXPECT_EQ(item->Comment(), "Bootmark port test");
  ASSERT_EQ(item->TriggerCount(), 1);
  const WorkItemTrigger trigger = item->Trigger(0);
  EXPECT_EQ(trigger.type, 7);  // at logon
  EXPECT_EQ(trigger.beginYear, 2024);
  EXPECT_EQ(trigger.beginMonth, 3);
  EXPECT_EQ(scheduler.Legacy().Activate("BmNoSuchItem.job"), nullptr);
}

}  // namespace
}  // namespace bootmark::win32
