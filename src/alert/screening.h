#pragma once
// The screening of a new startup item: a fixed chain of filters that decides
// whether the item deserves an alert. Each filter that passes the item over
// writes its line to the debug output and ends the chain.
#include "base/program_arguments.h"
#include "platform/platform.h"
#include "startup/command_path.h"
#include "startup/task_reader.h"

namespace bootmark {

// What the screening reads the machine through.
struct ScreeningContext {
  const Platform& platform;
  TaskReader& tasks;
  TCheckPath& checkPath;
  // The antivirus detection then also reads the 64-bit uninstall keys.
  bool on64BitWindows = false;
};

// True = no alert. Reads the kind (argument 2), the item path (argument 3) and,
// for items other than tasks and shortcuts, the command text (argument 4). In
// order: Microsoft's tasks, tasks without triggers or not started at boot or
// logon, the suite's shutdown task, a missing program, a signer from the
// signature list, the white list, svchost.exe, Microsoft's programs, antivirus
// products, tasks already enabled or disabled, items the suite wrote, items the
// user ignores. May change the stored state of a task and consume a record of
// the suite's own items. Never throws: a failure ends the chain with an alert,
// except in the signature, white-list and antivirus filters, which handle their
// own.
bool ScreenNewStartupItem(const ScreeningContext& context, const ProgramArguments& arguments);

}  // namespace bootmark
