// bmdbgcapture.exe <output-file> <exe> [args...]
//
// Starts <exe> as a debuggee and writes every string it sends to the debug channel
// (OutputDebugStringA/W) as one UTF-8 line of <output-file>, in full and without the
// code-page conversion and length cut of Wine's own trace. Ends with the child's exit
// code, so a test sees both what the program printed and how it ended.
//
// Each line is written straight to the file as it arrives (the test can read the file
// while the child still runs). One trailing newline of a string is dropped, embedded
// CR and LF become the two characters \r and \n; nothing else is escaped.
//
// The text is that of the debug-string event: where the system turns an
// OutputDebugStringW string into an ANSI one first (Wine 8 does), characters outside
// the ANSI code page are lost, so tests read such text from the program's files.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/program_arguments.h"
#include "tool_files.h"

namespace {

// Exit codes of the tool itself (the child's code is passed through otherwise).
constexpr int kUsageError = 120;
constexpr int kOutputError = 121;
constexpr int kStartError = 122;
constexpr int kDebugError = 123;

// Longest debug string read from the child; longer ones are cut (no unbounded reads).
constexpr size_t kMaxStringBytes = 1 << 20;

std::wstring FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

// Reads a NUL-terminated string of unitSize-byte units from the child, page by page
// so that a string ending just before an unmapped page is still read whole.
std::vector<char> ReadRemoteString(HANDLE process, const char* address, size_t unitSize) {
  std::vector<char> bytes;
  constexpr size_t kPage = 4096;
  while (bytes.size() < kMaxStringBytes) {
    const auto at = reinterpret_cast<uintptr_t>(address) + bytes.size();
    const size_t chunk = kPage - (at % kPage);
    const size_t old = bytes.size();
    bytes.resize(old + chunk);
    SIZE_T got = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(at), bytes.data() + old, chunk,
                           &got)) {
      got = 0;
    }
    bytes.resize(old + got);
    // Look for the terminator among the whole units read so far.
    for (size_t i = old - old % unitSize; i + unitSize <= bytes.size(); i += unitSize) {
      bool zero = true;
      for (size_t k = 0; k < unitSize; ++k) zero = zero && bytes[i + k] == 0;
      if (zero) {
        bytes.resize(i);
        return bytes;
      }
    }
    if (got < chunk) break;  // unreadable memory: keep what was read
  }
  bytes.resize(bytes.size() - bytes.size() % unitSize);
  return bytes;
}

std::wstring DebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  if (info.fUnicode) {
    const std::vector<char> units = ReadRemoteString(process, info.lpDebugStringData, 2);
    return std::wstring(reinterpret_cast<const wchar_t*>(units.data()), units.size() / 2);
  }
  const std::vector<char> bytes = ReadRemoteString(process, info.lpDebugStringData, 1);
  return FromAnsi(std::string(bytes.begin(), bytes.end()));
}

// One debug string as one line: a single trailing newline dropped, others escaped.
std::string FormatLine(std::wstring text) {
  if (!text.empty() && text.back() == L'\n') {
    text.pop_back();
    if (!text.empty() && text.back() == L'\r') text.pop_back();
  }
  std::wstring escaped;
  for (wchar_t c : text) {
    if (c == L'\n') {
      escaped += L"\\n";
    } else if (c == L'\r') {
      escaped += L"\\r";
    } else {
      escaped.push_back(c);
    }
  }
  return bmtool::Narrow(escaped) + "\n";
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

void CloseIfValid(HANDLE handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

int Run(const std::vector<std::wstring>& args) {
  const HANDLE output = CreateFileW(args[1].c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) {
    fwprintf(stderr, L"bmdbgcapture: cannot create %ls (error %lu)\n", args[1].c_str(),
             GetLastError());
    return kOutputError;
  }

  std::wstring commandLine = L"\"" + args[2] + L"\"";  // the program name is never escaped
  // Quoted so that the program's parser gives each argument back unchanged.
  for (size_t i = 3; i < args.size(); ++i) {
    commandLine += L" " + bmtool::Wide(bootmark::QuoteArgument(bmtool::Narrow(args[i])));
  }

  const ULONGLONG startTick = GetTickCount64();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                      DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &process)) {
    fwprintf(stderr, L"bmdbgcapture: cannot start %ls (error %lu)\n", commandLine.c_str(),
             GetLastError());
    CloseHandle(output);
    return kStartError;
  }
  CloseHandle(process.hThread);

  bool sawInitialBreakpoint = false;
  for (;;) {
    DEBUG_EVENT event{};
    if (!WaitForDebugEvent(&event, INFINITE)) {
      fwprintf(stderr, L"bmdbgcapture: WaitForDebugEvent failed (error %lu)\n", GetLastError());
      CloseHandle(output);
      return kDebugError;
    }
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        CloseIfValid(event.u.CreateProcessInfo.hFile);
        fprintf(stderr, "bmdbgcapture: started pid %lu\n", event.dwProcessId);
        fflush(stderr);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        CloseIfValid(event.u.LoadDll.hFile);
        break;
      case OUTPUT_DEBUG_STRING_EVENT:
        if (!WriteAll(output, FormatLine(DebugString(process.hProcess, event.u.DebugString)))) {
          fwprintf(stderr, L"bmdbgcapture: write failed (error %lu)\n", GetLastError());
        }
        break;
      case EXCEPTION_DEBUG_EVENT: {
        // The loader's breakpoint is the debugger's; every other exception goes back
        // to the program's own handlers, as without a debugger.
        const DWORD code = event.u.Exception.ExceptionRecord.ExceptionCode;
        if (code == EXCEPTION_BREAKPOINT && !sawInitialBreakpoint) {
          sawInitialBreakpoint = true;
        } else {
          status = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      }
      case EXIT_PROCESS_DEBUG_EVENT: {
        const DWORD exitCode = event.u.ExitProcess.dwExitCode;
        fprintf(stderr, "bmdbgcapture: pid %lu exited with code %lu after %llu ms\n",
                event.dwProcessId, exitCode, GetTickCount64() - startTick);
        fflush(stderr);
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
        CloseHandle(process.hProcess);
        CloseHandle(output);
        return static_cast<int>(exitCode);
      }
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  }
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
