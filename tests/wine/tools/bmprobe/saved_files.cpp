// new-job and new-link: files other programs leave for Bootmark to find, saved
// through the system's own objects: a work item of the older task scheduler (a
// ".job" file, as the systems before Windows Vista keep their scheduled tasks) and
// a shortcut, as installers save them.
#include <initguid.h>

#include "../fixture_savers.h"
#include "probe.h"

namespace bmprobe {
namespace {

// The 1.0 trigger types the tests name.
bool TriggerType(const std::wstring& name, TASK_TRIGGER_TYPE& type) {
  if (name == L"logon") type = TASK_EVENT_TRIGGER_AT_LOGON;
  else if (name == L"boot") type = TASK_EVENT_TRIGGER_AT_SYSTEMSTART;
  else return false;
  return true;
}

int SaveJob(const bmfixture::WorkItem& item) {
  bmfixture::ComPtr<ITaskScheduler> scheduler;
  if (FAILED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                              reinterpret_cast<void**>(scheduler.Put())))) {
    PrintError(L"no task scheduler");
    return 1;
  }
  if (FAILED(bmfixture::SaveWorkItem(*scheduler.Get(), item))) {
    PrintError(L"saving the work item failed");
    return 1;
  }
  PrintLine(item.name + L".job");
  return 0;
}

}  // namespace

// new-job <name> <application> <parameters> <logon|boot> [disabled]
int NewJob(const Args& args) {
  bmfixture::WorkItem item;
  if (args.size() < 4 || !TriggerType(args[3], item.trigger)) return 2;
  item.name = args[0];
  item.application = args[1];
  item.parameters = args[2];
  item.disabled = args.size() > 4 && args[4] == L"disabled";
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int code = SaveJob(item);
  CoUninitialize();
  return code;
}

// new-link <target> <arguments> <link file>
int NewLink(const Args& args) {
  if (args.size() != 3) return 2;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const HRESULT saved = bmfixture::SaveShortcut(args[2], args[0], args[1]);
  CoUninitialize();
  if (FAILED(saved)) PrintError(L"saving the shortcut failed");
  return SUCCEEDED(saved) ? 0 : 1;
}

}  // namespace bmprobe
