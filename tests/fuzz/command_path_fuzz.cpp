// Arbitrary bytes as a startup command line on a small fake machine: every step of
// the resolution must end without crash, hang or read past a buffer, and answer
// within the system's limits (an answer is never longer than what it came from
// plus the folders the rules may put in front).
// fuzz-max-len: 70000
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"
#include "startup/command_path.h"

testing::FakePlatform& Machine() {
  static testing::FakePlatform* machine = [] {
    auto* fake = new testing::FakePlatform;
    fake->environment.variables = {{"windir", "C:\\Windows"},
                                   {"SystemRoot", "C:\\Windows"},
                                   {"ProgramFiles", "C:\\Program Files (x86)"},
                                   {"LONG", std::string(300, 'L')},
                                   {"Path", "C:\\Windows\\system32;C:\\Windows;;C:\\Tools"},
                                   {"PATHEXT", ".COM;.EXE;.BAT"}};
    for (const char* file : {"C:\\Windows\\system32\\rundll32.exe", "C:\\Windows\\system32\\svchost.exe",
                             "C:\\Windows\\system32\\lib.dll", "C:\\Program Files\\App\\app.exe", "C:\\Tools\\a.exe",
                             "C:\\Tools\\b c.exe", "C:\\a"}) {
      fake->files.AddFile(file, "MZ");
    }
    fake->files.AddShortName("C:\\Program Files", "PROGRA~1");
    return fake;
  }();
  return *machine;
}

BOOTMARK_FUZZ_TARGET(commandLine) {
  TCheckPath checkPath(Machine().platform);

  // Nothing the rules add is longer than the Windows folder, a "\" and the
  // 300-character variable that does not fit an expansion.
  const std::size_t limit = commandLine.size() * 3 + 600;
  Check(checkPath.GetCommandFilePath(commandLine).size() <= limit);
  Check(checkPath.ExtractCommandExe(commandLine).size() <= limit);
  Check(checkPath.RepairProgramFiles(commandLine).size() <= limit);
  const std::string onPath = checkPath.FindOnEnvPath(commandLine);
  Check(onPath.empty() || Machine().files.FileExists(onPath));
  const CommandLineParts parts = checkPath.SplitCommandLine(commandLine);
  Check(parts.filePath.empty() || Machine().files.FileExists(parts.filePath));
  Check(parts.arguments.size() <= commandLine.size());
}
