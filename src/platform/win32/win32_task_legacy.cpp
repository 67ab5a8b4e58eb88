// Task Scheduler 1.0 (mstask) for the systems before Windows Vista.
#include <windows.h>
#include <initguid.h>
#include <mstask.h>

#include <cstdio>

#include "base/text.h"

#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_task_legacy.h"

namespace bootmark::win32 {
namespace {

void Check(HRESULT result, const char* call) {
  if (FAILED(result)) {
    char text[96];
    std::snprintf(text, sizeof text, "%s : %08lX", call, static_cast<unsigned long>(result));
    throw TaskSchedulerError(text, static_cast<std::uint32_t>(result));
  }
}

ComPtr<::ITaskScheduler> CreateScheduler() {
  ComPtr<::ITaskScheduler> scheduler;
  const HRESULT created = ::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                             reinterpret_cast<void**>(scheduler.Put()));
  if (FAILED(created) || !scheduler) {
    char text[80];
    std::snprintf(text, sizeof text, "TTaskSchedulerInterfaces1.IniTaskScheduler.CoCreateInstance : %08lX",
                  static_cast<unsigned long>(created));
    throw TaskServiceUnavailable(text, static_cast<std::uint32_t>(created));
  }
  return scheduler;
}

class ComWorkItem : public IWorkItem {
 public:
  explicit ComWorkItem(ComPtr<::ITask> task) : t_(std::move(task)) {}

  std::uint32_t Flags() override {
    DWORD flags = 0;
    Check(t_->GetFlags(&flags), "ITask.GetFlags");
    return flags;
  }
  std::string Creator() override { return Text(&::ITask::GetCreator, "ITask.GetCreator"); }
  std::string Comment() override { return Text(&::ITask::GetComment, "ITask.GetComment"); }
  std::string AccountInformation() override {
    return Text(&::ITask::GetAccountInformation, "ITask.GetAccountInformation");
  }
  void IdleWait(std::int32_t& idleMinutes, std::int32_t& deadlineMinutes) override {
    WORD idle = 0;
    WORD deadline = 0;
    Check(t_->GetIdleWait(&idle, &deadline), "ITask.GetIdleWait");
    idleMinutes = idle;
    deadlineMinutes = deadline;
  }
  std::string ApplicationName() override { return Text(&::ITask::GetApplicationName, "ITask.GetApplicationName"); }
  std::string Parameters() override { return Text(&::ITask::GetParameters, "ITask.GetParameters"); }
  std::string WorkingDirectory() override { return Text(&::ITask::GetWorkingDirectory, "ITask.GetWorkingDirectory"); }
  std::uint32_t MaxRunTimeMilliseconds() override {
    DWORD milliseconds = 0;
    Check(t_->GetMaxRunTime(&milliseconds), "ITask.GetMaxRunTime");
    return milliseconds;
  }
  std::int32_t TriggerCount() override {
    WORD count = 0;
    Check(t_->GetTriggerCount(&count), "ITask.GetTriggerCount");
    return count;
  }
  WorkItemTrigger Trigger(std::int32_t index) override {
    ComPtr<::ITaskTrigger> trigger;
    Check(t_->GetTrigger(static_cast<WORD>(index), trigger.Put()), "ITask.GetTrigger");
    TASK_TRIGGER data{};
    data.cbTriggerSize = sizeof data;
    Check(trigger->GetTrigger(&data), "ITaskTrigger.GetTrigger");
    WorkItemTrigger result;
    result.type = data.TriggerType;
    result.minutesInterval = static_cast<std::int32_t>(data.MinutesInterval);
    result.minutesDuration = static_cast<std::int32_t>(data.MinutesDuration);
    result.flags = data.rgFlags;
    result.beginYear = data.wBeginYear;
    result.beginMonth = data.wBeginMonth;
    result.beginDay = data.wBeginDay;
    result.startHour = data.wStartHour;
    result.startMinute = data.wStartMinute;
    if (data.rgFlags & TASK_TRIGGER_FLAG_HAS_END_DATE) {
      result.endYear = data.wEndYear;
      result.endMonth = data.wEndMonth;
      result.endDay = data.wEndDay;
    }
    return result;
  }

 private:
  template <typename Getter>
  std::string Text(Getter getter, const char* call) {
    UniqueCoTaskString text;
    Check((t_.Get()->*getter)(text.Put()), call);
    return TextOf(text);
  }

  ComPtr<::ITask> t_;
};

}  // namespace

std::vector<std::string> Win32TaskScheduler1::WorkItemNames() {
  ComPtr<::ITaskScheduler> scheduler = CreateScheduler();
  ComPtr<IEnumWorkItems> items;
  Check(scheduler->Enum(items.Put()), "vTaskScheduler.Enum");
  std::vector<std::string> names;
  for (;;) {
    UniqueCoTaskMemory<LPWSTR*> fetched;
    ULONG count = 0;
    if (items->Next(1, fetched.Put(), &count) != S_OK || count == 0 || !fetched) break;
    const UniqueCoTaskString name(fetched.Get()[0]);
    names.push_back(TextOf(name));
  }
  return names;
}

std::unique_ptr<IWorkItem> Win32TaskScheduler1::Activate(std::string_view name) {
  ComPtr<::ITaskScheduler> scheduler = CreateScheduler();
  ComPtr<::ITask> task;
  if (SUCCEEDED(scheduler->Activate(Wide(name).c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.Put()))) && task) {
    return std::make_unique<ComWorkItem>(std::move(task));
  }
  // Some schedulers add ".job" to the name themselves and so find no item under
  // the name their own enumeration gave: ask once more without the extension.
  constexpr std::string_view kExtension = ".job";
  if (name.size() <= kExtension.size() || !EndsWithIgnoreCase(name, kExtension)) return nullptr;
  const std::string bare(name.substr(0, name.size() - kExtension.size()));
  task.Reset();
  if (FAILED(scheduler->Activate(Wide(bare).c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.Put()))) || !task) {
    return nullptr;
  }
  return std::make_unique<ComWorkItem>(std::move(task));
}

}  // namespace bootmark::win32
