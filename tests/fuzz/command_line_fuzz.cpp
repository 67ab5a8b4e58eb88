// Arbitrary bytes as the program's command line: splitting must never crash or
// hang, the switch lookup must accept whatever comes out, and splitting the
// arguments joined back with the quoting rules must give the same arguments.
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

  // Arguments after the program name survive a round trip through quoting.
  std::string rebuilt = "Bootmark.exe";
  for (std::size_t i = 1; i < arguments.Count(); ++i) {
    if (arguments[i].find('\0') != std::string::npos) return;
    rebuilt += " " + QuoteArgument(arguments[i]);
  }
  const std::vector<std::string> again = ParseCommandLineArguments(rebuilt);
  Check(again.size() == arguments.Count());
  for (std::size_t i = 1; i < again.size(); ++i) Check(again[i] == arguments[i]);
}
