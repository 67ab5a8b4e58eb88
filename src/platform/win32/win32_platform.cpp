#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_accounts.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_debug_output.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_display.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_file_signer.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_http.h"
#include "platform/win32/win32_operating_system.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_profile_api.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_suite_exchange.h"
#include "platform/win32/win32_task_scheduler.h"
#include "platform/win32/win32_version_resources.h"
#include "platform/win32/win32_wow64.h"

namespace bootmark::win32 {

struct Win32Platform::Ports {
  Win32FileSystem files;
  Win32ProfileApi profile;
  Win32Environment environment;
  Win32Clock clock;
  Win32DebugOutput debug;
  Win32Shell shell;
  Win32Processes processes;
  Win32Desktop desktop;
  Win32OperatingSystem system;
  Win32Wow64 wow64;
  Win32Display display;
  Win32Registry registry;
  Win32VersionResources versions;
  Win32Services services;
  Win32TaskScheduler tasks;
  Win32Accounts accounts;
  Win32FileSigner signer;
  Win32SuiteExchange suiteExchange;
  Win32HttpClient http;
};

Win32Platform::Win32Platform()
    : ports_(std::make_unique<Ports>()),
      platform_{ports_->files,   ports_->profile, ports_->environment, ports_->clock,    ports_->debug,
                ports_->shell,   ports_->processes, ports_->desktop,   ports_->system,   ports_->wow64,
                ports_->display, ports_->registry,  ports_->versions,
                ports_->services, ports_->tasks, ports_->accounts, ports_->signer,
                ports_->suiteExchange, ports_->http} {
  // The folders that hold the suite's data, which ordinary users can write too.
  ports_->files.GuardFoldersBelow([shell = &ports_->shell] {
    std::string profile = shell->GetSpecialFolderPath(csidl::kProfile);
    if (!profile.empty()) profile += "\\AppData\\LocalLow";
    return std::vector<std::string>{shell->GetSpecialFolderPath(csidl::kCommonAppData),
                                    shell->GetSpecialFolderPath(csidl::kAppData), profile};
  });
}

Win32Platform::~Win32Platform() = default;

}  // namespace bootmark::win32
