// bmdbgcapture.exe <output-file> <exe> [args...]
//
// Starts <exe> as a debuggee and writes every string it sends to the debug channel
// (OutputDebugStringA/W) as one UTF-8 line of <output-file>, in full and without the
// code-page conversion and length cut of Wine's own trace. Ends with the child's exit
// code, so a test sees both what the program printed and how it ended.
//
// Each line is written straight to the file as it arrives (the test can read the file
// while the child still runs). A string is read at the length the event gives (at most
// 64 KiB: the event's length field has 16 bits). One trailing newline of a string is
// dropped, embedded CR and LF become the two characters \r and \n; nothing else is
// escaped.
//
// The text is that of the debug-string event, which the system gives this debugger in
// the ANSI code page: characters outside it are lost, so tests read such text from the
// program's files.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/program_arguments.h"
#include "tool_files.h"

namespace {

// Exit codes of the tool itself (the child's code is passed through otherwise).
constexpr int kUsageError = 120, kOutputError = 121, kStartError = 122, kDebugError = 123;

int Fail(const wchar_t* what, const std::wstring& name, int code) {
  fwprintf(stderr, L"bmdbgcapture: %ls %ls (error %lu)\n", what, name.c_str(), GetLastError());
  return code;
}

// The debug string the event names, of nDebugStringLength bytes with its terminator, up
// to the first NUL. WaitForDebugEvent reports every string in the ANSI code page.
std::wstring DebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  std::string bytes(info.nDebugStringLength, '\0');
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, info.lpDebugStringData, bytes.data(), bytes.size(), &got)) got = 0;
  bytes.resize(std::min<size_t>(got, bytes.find('\0')));
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                      text.data(), static_cast<int>(text.size()))));
  return text;
}

// One debug string as one line: a single trailing newline dropped, others escaped.
std::string FormatLine(std::wstring text) {
  if (text.ends_with(L"\n")) {
    text.pop_back();
    if (text.ends_with(L"\r")) text.pop_back();
  }
  std::wstring escaped;
  for (wchar_t c : text) escaped += c == L'\n' ? L"\\n" : c == L'\r' ? L"\\r" : std::wstring(1, c);
  return bmtool::Narrow(escaped) + "\n";
}

int Run(const std::vector<std::wstring>& args) {
  const HANDLE output = CreateFileW(args[1].c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) return Fail(L"cannot create", args[1], kOutputError);

  // The program name is never escaped; the arguments are quoted so that the program's
  // parser gives each one back unchanged.
  std::wstring commandLine = L"\"" + args[2] + L"\"";
  for (size_t i = 3; i < args.size(); ++i) {
    commandLine += L" " + bmtool::Wide(bootmark::QuoteArgument(bmtool::Narrow(args[i])));
  }
  const ULONGLONG startTick = GetTickCount64();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                      nullptr, &startup, &process)) {
    return Fail(L"cannot start", commandLine, kStartError);
  }
  CloseHandle(process.hThread);

  bool sawInitialBreakpoint = false;
  for (DEBUG_EVENT event{}; WaitForDebugEvent(&event, INFINITE); event = {}) {
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        CloseHandle(event.u.CreateProcessInfo.hFile);
        fprintf(stderr, "bmdbgcapture: started pid %lu\n", event.dwProcessId);
        fflush(stderr);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        CloseHandle(event.u.LoadDll.hFile);
        break;
      case OUTPUT_DEBUG_STRING_EVENT: {
        const std::string line = FormatLine(DebugString(process.hProcess, event.u.DebugString));
        DWORD written = 0;
        if (!WriteFile(output, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
          Fail(L"cannot write", args[1], 0);
        }
        break;
      }
      case EXCEPTION_DEBUG_EVENT:
        // The loader's breakpoint is the debugger's; every other exception goes back
        // to the program's own handlers, as without a debugger.
        if (event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT && !sawInitialBreakpoint) {
          sawInitialBreakpoint = true;
        } else {
          status = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        fprintf(stderr, "bmdbgcapture: pid %lu exited with code %lu after %llu ms\n", event.dwProcessId,
                event.u.ExitProcess.dwExitCode, GetTickCount64() - startTick);
        fflush(stderr);
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
        CloseHandle(process.hProcess);
        CloseHandle(output);
        return static_cast<int>(event.u.ExitProcess.dwExitCode);
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
  CloseHandle(output);
  return Fail(L"WaitForDebugEvent failed for", args[2], kDebugError);
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv == nullptr || count < 3) {
    fputs("usage: bmdbgcapture.exe <output-file> <exe> [args...]\n", stderr);
    return kUsageError;
  }
  const std::vector<std::wstring> args(argv, argv + count);
  LocalFree(argv);
  return Run(args);
}
