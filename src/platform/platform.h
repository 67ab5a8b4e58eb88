#pragma once
// All operating-system facilities the program uses, gathered in one object that
// main creates and passes down. Portable code only ever sees these interfaces.
#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/desktop.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/profile.h"
#include "platform/shell.h"

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
};

}  // namespace bootmark
