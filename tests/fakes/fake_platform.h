#pragma once
// A whole fake machine: every port faked, gathered as one Platform.
#include "fakes/fake_accounts.h"
#include "fakes/fake_file_signer.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_http.h"
#include "fakes/fake_ports.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system_ports.h"
#include "fakes/fake_task_scheduler.h"
#include "fakes/portable_profile_api.h"

namespace bootmark::testing {

// The suite's main settings file of the fake machine's user.
inline constexpr const char* kMainIni = "C:\\Users\\Ann\\AppData\\Roaming\\Tarvo\\Kestrune\\Main.ini";

struct FakePlatform {
  FakeFileSystem files;
  PortableProfileApi profile{files};
  FakeEnvironment environment;
  FakeClock clock;
  FakeDebugOutput debug;
  FakeShell shell;
  FakeProcesses processes;
  FakeDesktop desktop;
  FakeOperatingSystem system;
  FakeWow64 wow64;
  FakeDisplay display;
  FakeRegistry registry;
  FakeVersionResources versions;
  FakeServices services;
  FakeTaskScheduler tasks{files};
  FakeAccounts accounts;
  FakeFileSigner signer;
  FakeSuiteExchange suiteExchange;
  FakeHttpClient http;
  Platform platform{files,     profile,   environment, clock,   debug,   shell,   processes,
                    desktop,   system,    wow64,       display, registry, versions,
                    services,  tasks,     accounts, signer,  suiteExchange, http};

  FakePlatform() {
    files.AddDirectory("C:\\Users\\Ann\\AppData\\Roaming");
    files.AddDirectory("C:\\ProgramData");
    // As on Windows: the Task Scheduler runs, with its task store.
    files.AddDirectory("C:\\Windows\\System32\\Tasks");
    services.states["Schedule"] = service_state::kRunning;
  }
};

}  // namespace bootmark::testing
