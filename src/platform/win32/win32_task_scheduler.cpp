#include "platform/win32/win32_task_scheduler.h"

#include <windows.h>
#include <objbase.h>

namespace bootmark::win32 {

ComSetup Win32TaskScheduler::InitializeCom() {
  ComSetup setup;
  setup.initialized = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  setup.securityReady = SUCCEEDED(::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY,
                                                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr));
  return setup;
}

void Win32TaskScheduler::UninitializeCom() { ::CoUninitialize(); }

}  // namespace bootmark::win32
