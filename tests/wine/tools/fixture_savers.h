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

namespace bmfixture {

// Releases a COM interface pointer when it goes out of scope.
template <typename Interface>
struct Held {
  Interface* pointer = nullptr;
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (pointer != nullptr) pointer->Release();
  }
  void** Out() { return reinterpret_cast<void**>(&pointer); }
};

// Saves a shortcut to `target` with `arguments` as the file `link`; the other
// fields are set when not empty.
inline HRESULT SaveShortcut(const std::wstring& link, const std::wstring& target, const std::wstring& arguments,
                            const std::wstring& description = L"", const std::wstring& workingFolder = L"",
                            const std::wstring& iconLocation = L"") {
  Held<IShellLinkW> shellLink;
  HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      shellLink.Out());
  if (FAILED(result)) return result;
  Held<IPersistFile> file;
  if (FAILED(result = shellLink.pointer->SetPath(target.c_str())) ||
      FAILED(result = shellLink.pointer->SetArguments(arguments.c_str())) ||
      (!description.empty() && FAILED(result = shellLink.pointer->SetDescription(description.c_str()))) ||
      (!workingFolder.empty() && FAILED(result = shellLink.pointer->SetWorkingDirectory(workingFolder.c_str()))) ||
      (!iconLocation.empty() && FAILED(result = shellLink.pointer->SetIconLocation(iconLocation.c_str(), 0))) ||
      FAILED(result = shellLink.pointer->QueryInterface(IID_IPersistFile, file.Out()))) {
    return result;
  }
  return file.pointer->Save(link.c_str(), TRUE);
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
  Held<ITask> task;
  HRESULT result = scheduler.NewWorkItem(item.name.c_str(), CLSID_CTask, IID_ITask,
                                         reinterpret_cast<IUnknown**>(&task.pointer));
  if (FAILED(result)) return result;
  if (FAILED(result = task.pointer->SetApplicationName(item.application.c_str())) ||
      FAILED(result = task.pointer->SetParameters(item.parameters.c_str())) ||
      (!item.comment.empty() && FAILED(result = task.pointer->SetComment(item.comment.c_str()))) ||
      (item.disabled && FAILED(result = task.pointer->SetFlags(TASK_FLAG_DISABLED)))) {
    return result;
  }
  WORD index = 0;
  Held<ITaskTrigger> trigger;
  if (FAILED(result = task.pointer->CreateTrigger(&index, &trigger.pointer))) return result;
  TASK_TRIGGER data{};
  data.cbTriggerSize = sizeof data;
  data.wBeginYear = 2024;
  data.wBeginMonth = 3;
  data.wBeginDay = 1;
  data.TriggerType = item.trigger;
  if (item.trigger == TASK_TIME_TRIGGER_DAILY) data.Type.Daily.DaysInterval = 1;
  Held<IPersistFile> file;
  if (FAILED(result = trigger.pointer->SetTrigger(&data)) ||
      FAILED(result = task.pointer->QueryInterface(IID_IPersistFile, file.Out()))) {
    return result;
  }
  return file.pointer->Save(nullptr, TRUE);
}

}  // namespace bmfixture
