#pragma once
// Files the tests make through the system's own objects, as installers and the
// older task scheduler make them: shortcuts saved by the shell's link object and
// ".job" work items saved by the Task Scheduler 1.0. COM must be initialized on
// the calling thread.
#include <windows.h>
#include <mstask.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/com_ptr.h"

namespace bmfixture {

using bootmark::win32::ComPtr;

// Saves a shortcut to `target` with `arguments` as the file `link`.
inline HRESULT SaveShortcut(const std::wstring& link, const std::wstring& target, const std::wstring& arguments) {
  ComPtr<IShellLinkW> shellLink;
  HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(shellLink.Put()));
  if (FAILED(result)) return result;
  if (FAILED(result = shellLink->SetPath(target.c_str()))) return result;
  if (FAILED(result = shellLink->SetArguments(arguments.c_str()))) return result;
  const ComPtr<IPersistFile> file = shellLink.As<IPersistFile>();
  return file ? file->Save(link.c_str(), TRUE) : E_NOINTERFACE;
}

// What a work item starts and when; it begins on 2024-03-01.
struct WorkItem {
  std::wstring name;  // saved as name + ".job"
  std::wstring application;
  std::wstring parameters;
  std::wstring comment;
  TASK_TRIGGER_TYPE trigger = TASK_EVENT_TRIGGER_AT_LOGON;
  bool disabled = false;
};

inline HRESULT SaveWorkItem(ITaskScheduler& scheduler, const WorkItem& item) {
  ComPtr<ITask> task;
  HRESULT result = scheduler.NewWorkItem(item.name.c_str(), CLSID_CTask, IID_ITask,
                                         reinterpret_cast<IUnknown**>(task.Put()));
  if (FAILED(result)) return result;
  WORD index = 0;
  ComPtr<ITaskTrigger> trigger;
  if (FAILED(result = task->SetApplicationName(item.application.c_str())) ||
      FAILED(result = task->SetParameters(item.parameters.c_str())) ||
      (!item.comment.empty() && FAILED(result = task->SetComment(item.comment.c_str()))) ||
      (item.disabled && FAILED(result = task->SetFlags(TASK_FLAG_DISABLED))) ||
      FAILED(result = task->CreateTrigger(&index, trigger.Put()))) {
    return result;
  }
  TASK_TRIGGER data{};
  data.cbTriggerSize = sizeof data;
  data.wBeginYear = 2024;
  data.wBeginMonth = 3;
  data.wBeginDay = 1;
  data.TriggerType = item.trigger;
  if (FAILED(result = trigger->SetTrigger(&data))) return result;
  const ComPtr<IPersistFile> file = task.As<IPersistFile>();
  return file ? file->Save(nullptr, TRUE) : E_NOINTERFACE;
}

}  // namespace bmfixture
