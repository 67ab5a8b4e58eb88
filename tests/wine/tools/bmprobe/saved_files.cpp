// new-job and new-link: files other programs leave for Bootmark to find, saved
// through the system's own objects: a work item of the older task scheduler (a
// ".job" file, as the systems before Windows Vista keep their scheduled tasks) and
// a shortcut, as installers save them.
#include <initguid.h>
#include <mstask.h>

#include "../fixture_savers.h"
#include "probe.h"

namespace bmprobe {
namespace {

// A work item that starts `application` with `parameters` at logon from 2024-03-01,
// saved as name + ".job".
HRESULT SaveWorkItem(const Args& args, bool disabled) {
  bmfixture::ComPtr<ITaskScheduler> scheduler;
  bmfixture::ComPtr<ITask> task;
  bmfixture::ComPtr<ITaskTrigger> trigger;
  WORD index = 0;
  HRESULT result = CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                    reinterpret_cast<void**>(scheduler.Put()));
  if (FAILED(result) ||
      FAILED(result = scheduler->NewWorkItem(args[0].c_str(), CLSID_CTask, IID_ITask,
                                             reinterpret_cast<IUnknown**>(task.Put()))) ||
      FAILED(result = task->SetApplicationName(args[1].c_str())) ||
      FAILED(result = task->SetParameters(args[2].c_str())) ||
      (disabled && FAILED(result = task->SetFlags(TASK_FLAG_DISABLED))) ||
      FAILED(result = task->CreateTrigger(&index, trigger.Put()))) {
    return result;
  }
  TASK_TRIGGER data{};
  data.cbTriggerSize = sizeof data;
  data.wBeginYear = 2024;
  data.wBeginMonth = 3;
  data.wBeginDay = 1;
  data.TriggerType = TASK_EVENT_TRIGGER_AT_LOGON;
  if (FAILED(result = trigger->SetTrigger(&data))) return result;
  const bmfixture::ComPtr<IPersistFile> file = task.As<IPersistFile>();
  return file ? file->Save(nullptr, TRUE) : E_NOINTERFACE;
}

// Runs `save` with COM set up on this thread: exit code 0 when it saved.
template <typename Save>
int SaveWithCom(const wchar_t* what, Save save) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const HRESULT saved = save();
  CoUninitialize();
  if (FAILED(saved)) PrintError(std::wstring(L"saving ") + what + L" failed");
  return SUCCEEDED(saved) ? 0 : 1;
}

}  // namespace

// new-job <name> <application> <parameters> [disabled]
int NewJob(const Args& args) {
  if (args.size() < 3) return 2;
  return SaveWithCom(L"the work item", [&] { return SaveWorkItem(args, args.size() > 3 && args[3] == L"disabled"); });
}

// new-link <target> <arguments> <link file>
int NewLink(const Args& args) {
  if (args.size() != 3) return 2;
  return SaveWithCom(L"the shortcut", [&] { return bmfixture::SaveShortcut(args[2], args[0], args[1]); });
}

}  // namespace bmprobe
