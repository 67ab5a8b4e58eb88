// bmprobe.exe <subcommand> [args...] — see usage below.
#include "probe.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

namespace {

struct Command {
  const wchar_t* name;
  int (*run)(const bmprobe::Args&);
  const char* usage;
};

constexpr Command kCommands[] = {
    {L"wait", bmprobe::Wait, "wait <class> <title> <ms>       handle of the window once it exists, exit 1 after <ms>"},
    {L"list", bmprobe::List, "list                            hwnd pid class title visible rect"},
    {L"watch", bmprobe::Watch, "watch                           list lines as windows appear/change, until killed"},
    {L"children", bmprobe::Children, "children <hwnd>                 hwnd class id visible rect text"},
    {L"copydata", bmprobe::CopyData, "copydata <hwnd> <text>          WM_COPYDATA (UTF-16 + NUL, dwData 0)"},
    {L"click", bmprobe::Click, "click <hwnd>                    a left click at the centre"},
    {L"fullscreen-window", bmprobe::FullScreenWindow, "fullscreen-window <class>       full-screen topmost popup"},
    {L"suite-window", bmprobe::SuiteWindow, "suite-window <file>             the suite's window, messages into <file>"},
    {L"new-job", bmprobe::NewJob, "new-job <name> <app> <params> [disabled]  save a .job work item (at logon)"},
    {L"new-link", bmprobe::NewLink, "new-link <target> <arguments> <link>  save a shortcut (the shell's link object)"},
};

int Usage() {
  fputs("usage: bmprobe.exe <subcommand> [args...]   (\"*\" matches any class or title)\n", stderr);
  for (const Command& command : kCommands) fprintf(stderr, "  %s\n", command.usage);
  return 2;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);  // UTF-8 bytes and bare LF, as written
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr || count < 2) return Usage();
  const std::wstring name = argv[1];
  const bmprobe::Args args(argv + 2, argv + count);
  LocalFree(argv);
  for (const Command& command : kCommands) {
    if (name == command.name) {
      const int code = command.run(args);
      return code == 2 ? Usage() : code;
    }
  }
  return Usage();
}
