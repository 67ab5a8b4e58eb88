#pragma once
// The new-item record of an /AddAutoRun start, built from its arguments.
#include "alert/new_item.h"
#include "base/program_arguments.h"
#include "platform/platform.h"
#include "startup/task_reader.h"

namespace bootmark {

// Argument 2 gives the kind, arguments 3 to 7 the item texts (decoded with
// DecodeItemArgument). The name is the file-name part of argument 3. The command
// text is argument 4, except for a task (its first action's program, looked up by
// name in `tasks`) and a shortcut (its target in double quotes, a blank and its
// arguments, read from the shortcut file that argument 3 names). The other
// fields by kind:
//   1 registry value: key text (argument 5) + name; creator's process id and path
//     (arguments 6 and 7) when argument 6 is present;
//   2 service: display name (argument 5);
//   4 shortcut: its path (argument 3); creator's process id and path (arguments
//     4 and 5) when argument 4 is present.
NewStartupItem BuildNewStartupItem(const Platform& platform, TaskReader& tasks, const ProgramArguments& arguments);

}  // namespace bootmark
