// new-job: saves a work item of the older task scheduler (a ".job" file), as the
// systems before Windows Vista keep their scheduled tasks.
#include <initguid.h>
#include <mstask.h>

#include "probe.h"

namespace bmprobe {
namespace {

// Releases a COM interface pointer when it goes out of scope.
template <typename Interface>
struct Held {
  Interface* pointer = nullptr;
  ~Held() {
    if (pointer != nullptr) pointer->Release();
  }
};

// The 1.0 trigger types the tests name.
bool TriggerType(const std::wstring& name, TASK_TRIGGER_TYPE& type) {
  if (name == L"logon") type = TASK_EVENT_TRIGGER_AT_LOGON;
  else if (name == L"boot") type = TASK_EVENT_TRIGGER_AT_SYSTEMSTART;
  else if (name == L"daily") type = TASK_TIME_TRIGGER_DAILY;
  else return false;
  return true;
}

int SaveJob(const Args& args, TASK_TRIGGER_TYPE type) {
  Held<ITaskScheduler> scheduler;
  if (FAILED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                              reinterpret_cast<void**>(&scheduler.pointer)))) {
    PrintError(L"no task scheduler");
    return 1;
  }
  Held<ITask> task;
  if (FAILED(scheduler.pointer->NewWorkItem(args[0].c_str(), CLSID_CTask, IID_ITask,
                                            reinterpret_cast<IUnknown**>(&task.pointer)))) {
    PrintError(L"NewWorkItem failed");
    return 1;
  }
  task.pointer->SetApplicationName(args[1].c_str());
  task.pointer->SetParameters(args[2].c_str());
  if (args.size() > 4 && args[4] == L"disabled") task.pointer->SetFlags(TASK_FLAG_DISABLED);
  WORD index = 0;
  Held<ITaskTrigger> trigger;
  if (FAILED(task.pointer->CreateTrigger(&index, &trigger.pointer))) {
    PrintError(L"CreateTrigger failed");
    return 1;
  }
  TASK_TRIGGER data{};
  data.cbTriggerSize = sizeof data;
  data.wBeginYear = 2024;
  data.wBeginMonth = 3;
  data.wBeginDay = 1;
  data.TriggerType = type;
  if (type == TASK_TIME_TRIGGER_DAILY) data.Type.Daily.DaysInterval = 1;
  Held<IPersistFile> file;
  if (FAILED(trigger.pointer->SetTrigger(&data)) ||
      FAILED(task.pointer->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.pointer))) ||
      FAILED(file.pointer->Save(nullptr, TRUE))) {
    PrintError(L"saving the work item failed");
    return 1;
  }
  PrintLine(args[0] + L".job");
  return 0;
}

}  // namespace

// new-job <name> <application> <parameters> <logon|boot|daily> [disabled]
int NewJob(const Args& args) {
  TASK_TRIGGER_TYPE type;
  if (args.size() < 4 || !TriggerType(args[3], type)) return 2;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int code = SaveJob(args, type);
  CoUninitialize();
  return code;
}

}  // namespace bmprobe
