#pragma once
// All operating-system facilities the program uses, gathered in one object that
// main creates and passes down. Portable code only ever sees these interfaces.
#include "platform/accounts.h"
#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/desktop.h"
#include "platform/display.h"
#include "platform/environment.h"
#include "platform/file_signer.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/operating_system.h"
#include "platform/processes.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/suite_exchange.h"
#include "platform/task_scheduler.h"
#include "platform/version_resources.h"
#include "platform/wow64.h"

namespace bootmark {

struct Platform {
  IFileSystem& files;
  IProfileApi& profile;
  IEnvironment& environment;
  IClock& clock;
  IDebugOutput& debug;
  IShell& shell;
  IProcesses& processes;
  IDesktop& desktop;
  IOperatingSystem& system;
  IWow64& wow64;
  IDisplay& display;
  IRegistry& registry;
  IVersionResources& versions;
  IServices& services;
  ITaskScheduler& tasks;
  IAccounts& accounts;
  IFileSigner& signer;
  ISuiteExchange& suiteExchange;
  IHttpClient& http;
};

}  // namespace bootmark
