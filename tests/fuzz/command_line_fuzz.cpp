// Arbitrary bytes as the program's command line: splitting must never crash or
// hang, and the switch lookup and the forwarded item text must accept whatever
// comes out.
// fuzz-max-len: 65536
#include "app/add_auto_run.h"
#include "app/run_mode.h"
#include "base/program_arguments.h"
#include "fuzz/fuzz_target.h"

BOOTMARK_FUZZ_TARGET(commandLine) {
  const ProgramArguments arguments = ProgramArguments::FromCommandLine(commandLine);
  Check(arguments.Count() >= 1);
  ParseRunMode(arguments[1]);
  const std::string forwarded = BuildForwardedItemText(arguments);
  Check(forwarded.size() <= commandLine.size() + 2);
}
