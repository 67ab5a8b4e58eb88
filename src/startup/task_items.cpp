// The scheduled tasks of the inventory, from the task reader: every task outside
// the "\Microsoft" folder that has a program to run.
#include "base/path.h"
#include "base/text.h"
#include "boottime/boot_time.h"
#include "startup/item_hash.h"
#include "startup/main_ctl.h"
#include "startup/startup_cache.h"
#include "base/utf16_text.h"

namespace bootmark {
namespace {

// The name the hide test knows a task by: without a final ".job", and the
// suite's own elevation tasks ("kst14_shipuac_user" and the like) as "KST_SkipUac".
std::string HideTestName(std::string_view taskName) {
  std::string name(taskName);
  if (EndsWithIgnoreCase(name, ".job")) name.resize(name.size() - 4);
  const std::u16string lower = utf16::LowerAscii(Utf8ToUtf16(name));
  if (utf16::StartsWith(lower, u"kst") && lower.size() >= 5 + 9 && lower.compare(5, 9, u"_shipuac_") == 0) {
    return "KST_SkipUac";
  }
  return name;
}

}  // namespace

void TMainCtl::GetTaskscheduleData(bool clearFirst) {
  if (cache_ != nullptr) {
    DetailLog("GetTaskscheduleData-From-Cache [1]S");
    if (clearFirst) lists_.tasks.clear();
    ReadStartupCache(*cache_, lists_, static_cast<int>(CacheList::Tasks));
    DetailLog("GetTaskscheduleData-From-Cache [2]E");
    return;
  }
  if (clearFirst) lists_.tasks.clear();
  ReadTasksLive();
}

void TMainCtl::ReadTasksLive() {
  TTaskFilter filter;
  filter.AddFolder("\\Microsoft");
  const std::optional<TaskList> tasks = context_.tasks.GetAllTasks(&filter, "\\", true, false);
  if (!tasks) return;
  const bool bootTimesKept = platform_.files.FileExists(BootTimeDatPath(platform_.shell));

  for (const std::unique_ptr<TTaskInfo>& task : *tasks) {
    if (stop_) break;
    const std::string program(Trim(task->Action.ExecPath));
    if (program.empty()) continue;
    TTaskScheduleItem item;
    item.IsStartBoot = context_.tasks.IsStartupTaskInfo(*task);
    item.IsTaskEnable = task->Enabled;
    item.TaskType = context_.tasks.TaskScheduleKind(*task);
    item.Name = std::string(Trim(task->Name));
    item.CmdLine = program;
    item.Description = std::string(Trim(task->Description));
    item.FullPath = context_.checkPath.GetCommandFilePath(item.CmdLine);
    item.Exist = platform_.files.FileExists(item.FullPath);
    item.Location = task->Path;
    ApplyFilePublisher(fileFacts_.Publisher(item.FullPath), item.Description, item.Manufacture);
    if (item.Description.empty()) item.Description = ExtractFileName(item.FullPath);

    const std::string workingFolder = task->Action.ExecWorkingDirectory;
    if (!item.Exist && !workingFolder.empty()) {
      item.Exist = platform_.files.FileExists(workingFolder + "\\" + item.FullPath);
    }

    const std::string fileName = ExtractFileName(item.FullPath);
    if (IsHiddenItem(HideTestName(item.Name), fileName, ItemKind::ScheduledTask, item.FullPath, item.Manufacture)) {
      continue;
    }
    item.Boottime = GetItemBootTime(item);
    if (item.Boottime.empty()) item.Boottime = bootTimesKept ? "1s" : "N/A";
    item.ItemHash = TaskItemHash(item.Name);
    const ItemRateFacts facts = GetItemRateFacts(item.Name, fileName, item.Manufacture, ItemKind::ScheduledTask);
    item.Md5 = facts.md5;
    item.Disabltrate = facts.rate;
    item.Recommand = facts.recommendation;
    lists_.tasks.push_back(std::move(item));
  }
}

}  // namespace bootmark
