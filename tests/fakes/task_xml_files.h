#pragma once
// Task Scheduler 2.0 task files as the scheduler writes them into its store, for
// tests: UTF-16 LE with byte order mark, the task namespace, version "1.2".
#include <string>
#include <string_view>

#include "base/text.h"
#include "fakes/fake_file_system.h"
#include "fakes/utf16_file.h"

namespace bootmark::testing {

inline constexpr std::string_view kTaskStore = "C:\\Windows\\System32\\Tasks";

struct TaskXml {
  std::string triggers;  // the elements inside <Triggers>
  std::string actions = "<Exec><Command>C:\\Tools\\tool.exe</Command></Exec>";
  std::string settings = "<Enabled>true</Enabled>";
  std::string author = "Kestrune";
  std::string principal = "<UserId>S-1-5-18</UserId><RunLevel>HighestAvailable</RunLevel>";

  std::string Text() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           "  <RegistrationInfo>\r\n    <Author>" + author + "</Author>\r\n"
           "    <Description>Test task</Description>\r\n  </RegistrationInfo>\r\n"
           "  <Triggers>" + triggers + "</Triggers>\r\n"
           "  <Principals>\r\n    <Principal id=\"Author\">" + principal + "</Principal>\r\n  </Principals>\r\n"
           "  <Settings>" + settings + "</Settings>\r\n"
           "  <Actions Context=\"Author\">" + actions + "</Actions>\r\n"
           "</Task>\r\n";
  }
  std::string Bytes() const {
    return Utf16File(Text());
  }
};

inline constexpr std::string_view kDailyTrigger =
    "<CalendarTrigger><StartBoundary>2024-03-01T09:30:15</StartBoundary><Enabled>true</Enabled>"
    "<ScheduleByDay><DaysInterval>2</DaysInterval></ScheduleByDay></CalendarTrigger>";
inline constexpr std::string_view kLogonTrigger = "<LogonTrigger><Enabled>true</Enabled></LogonTrigger>";
inline constexpr std::string_view kBootTrigger30s =
    "<BootTrigger><Enabled>true</Enabled><Delay>PT30S</Delay></BootTrigger>";

// Places a task file at "\<path>" of the store.
inline void AddTask(FakeFileSystem& files, std::string_view path, const TaskXml& task) {
  files.AddFile(std::string(kTaskStore) + std::string(path), task.Bytes());
}

}  // namespace bootmark::testing
