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
// Some systems (Wine 8 among them) turn an OutputDebugStringW string into an ANSI one
// before the debugger sees it, losing every character outside the ANSI code page.
// So the tool also puts a breakpoint on OutputDebugStringW in the child, reads the
// UTF-16 argument there, and writes that text in place of the ANSI event that follows
// on the same thread. Strings sent with OutputDebugStringA come through the event.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tool_text.h"

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

// Quotes one argument so that CommandLineToArgvW (and the C runtime) give it back
// unchanged: backslashes are literal except before a quote, where they are doubled.
std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
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

std::wstring ReadRemoteUtf16(HANDLE process, const void* address) {
  const std::vector<char> bytes = ReadRemoteString(process, static_cast<const char*>(address), 2);
  std::wstring text(bytes.size() / 2, L'\0');
  if (!text.empty()) memcpy(text.data(), bytes.data(), bytes.size());
  return text;
}

std::wstring DebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  if (info.fUnicode) return ReadRemoteUtf16(process, info.lpDebugStringData);
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
  return Utf8(escaped) + "\n";
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

void CloseIfValid(HANDLE handle) {
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}

// A software breakpoint on the child's OutputDebugStringW that collects the UTF-16
// argument of each call, per thread, until the matching debug-string event arrives.
class WideStringHook {
 public:
  // Finds the function in the child at the same offset of the same system DLL as in
  // this process (tool and child have the same bitness), checks that the code there
  // is the same, and arms the breakpoint. Without success the hook stays off.
  explicit WideStringHook(HANDLE process) : process_(process) {}

  void Install() {
    const HANDLE process = process_;
    const auto* local = reinterpret_cast<const unsigned char*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "OutputDebugStringW"));
    HMODULE localModule = nullptr;
    if (local == nullptr ||
        !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(local), &localModule)) {
      return;
    }
    wchar_t moduleName[MAX_PATH] = {};
    GetModuleBaseNameW(GetCurrentProcess(), localModule, moduleName, MAX_PATH);
    const auto offset = static_cast<size_t>(local - reinterpret_cast<const unsigned char*>(localModule));

    HMODULE modules[1024];
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules, sizeof(modules), &needed)) return;
    for (size_t i = 0; i < needed / sizeof(HMODULE) && i < 1024; ++i) {
      wchar_t name[MAX_PATH] = {};
      if (!GetModuleBaseNameW(process, modules[i], name, MAX_PATH) ||
          CompareStringOrdinal(name, -1, moduleName, -1, TRUE) != CSTR_EQUAL) {
        continue;
      }
      auto* remote = reinterpret_cast<unsigned char*>(modules[i]) + offset;
      unsigned char code[16] = {};
      SIZE_T got = 0;
      if (ReadProcessMemory(process, remote, code, sizeof(code), &got) && got == sizeof(code) &&
          memcmp(code, local, sizeof(code)) == 0) {
        address_ = remote;
        original_ = code[0];
        armed_ = Write(kInt3);
      }
      return;
    }
  }

  // An EXCEPTION_BREAKPOINT of the child: true when it was ours (then handled).
  bool OnBreakpoint(const DEBUG_EVENT& event) {
    if (!armed_ || event.u.Exception.ExceptionRecord.ExceptionAddress != address_) return false;
    const HANDLE thread = OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, event.dwThreadId);
    if (thread == nullptr) return false;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER;
    if (GetThreadContext(thread, &context)) {
      const void* text = FirstArgument(context);
      if (text != nullptr) pending_[event.dwThreadId] = ReadRemoteUtf16(process_, text);
      // Run the original first instruction once, then put the breakpoint back.
      Write(original_);
      armed_ = false;
      SetInstructionPointer(context, address_);
      context.EFlags |= 0x100;  // trap flag: single step
      SetThreadContext(thread, &context);
      steppingThread_ = event.dwThreadId;
    }
    CloseHandle(thread);
    return true;
  }

  // An EXCEPTION_SINGLE_STEP of the child: true when it was ours (then handled).
  bool OnSingleStep(const DEBUG_EVENT& event) {
    if (steppingThread_ != event.dwThreadId || address_ == nullptr) return false;
    steppingThread_ = 0;
    armed_ = Write(kInt3);
    return true;
  }

  // The debug string event: the UTF-16 text caught on the same thread, if any,
  // replaces the event's text.
  std::wstring Text(const DEBUG_EVENT& event) {
    const std::wstring eventText = DebugString(process_, event.u.DebugString);
    auto it = pending_.find(event.dwThreadId);
    if (it == pending_.end()) return eventText;
    std::wstring text = std::move(it->second);
    pending_.erase(it);
    return text;
  }

 private:
  static constexpr unsigned char kInt3 = 0xCC;

  bool Write(unsigned char byte) {
    SIZE_T written = 0;
    const bool ok = WriteProcessMemory(process_, address_, &byte, 1, &written) && written == 1;
    FlushInstructionCache(process_, address_, 1);
    return ok;
  }

  const void* FirstArgument(const CONTEXT& context) const {
#if defined(__x86_64__)
    return reinterpret_cast<const void*>(context.Rcx);
#elif defined(__i386__)
    DWORD argument = 0;  // stdcall: [esp] is the return address, [esp+4] the string
    SIZE_T got = 0;
    ReadProcessMemory(process_, reinterpret_cast<const void*>(context.Esp + 4), &argument,
                      sizeof(argument), &got);
    return got == sizeof(argument) ? reinterpret_cast<const void*>(argument) : nullptr;
#else
    (void)context;
    return nullptr;
#endif
  }

  static void SetInstructionPointer(CONTEXT& context, void* at) {
#if defined(__x86_64__)
    context.Rip = reinterpret_cast<DWORD64>(at);
#elif defined(__i386__)
    context.Eip = reinterpret_cast<DWORD>(at);
#else
    (void)context;
    (void)at;
#endif
  }

  HANDLE process_;
  unsigned char* address_ = nullptr;
  unsigned char original_ = 0;
  bool armed_ = false;
  DWORD steppingThread_ = 0;
  std::map<DWORD, std::wstring> pending_;
};

int Run(const std::vector<std::wstring>& args) {
  const HANDLE output = CreateFileW(args[1].c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) {
    fwprintf(stderr, L"bmdbgcapture: cannot create %ls (error %lu)\n", args[1].c_str(),
             GetLastError());
    return kOutputError;
  }

  std::wstring commandLine = L"\"" + args[2] + L"\"";  // the program name is never escaped
  for (size_t i = 3; i < args.size(); ++i) commandLine += L" " + QuoteArgument(args[i]);

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

  WideStringHook hook(process.hProcess);
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
        if (!WriteAll(output, FormatLine(hook.Text(event)))) {
          fwprintf(stderr, L"bmdbgcapture: write failed (error %lu)\n", GetLastError());
        }
        break;
      case EXCEPTION_DEBUG_EVENT: {
        // The loader's breakpoint (all static imports loaded: time to hook) and our
        // own traps are ours to swallow; every other exception goes back to the
        // program's own handlers, as without a debugger.
        const DWORD code = event.u.Exception.ExceptionRecord.ExceptionCode;
        if (code == EXCEPTION_BREAKPOINT && !sawInitialBreakpoint) {
          sawInitialBreakpoint = true;
          hook.Install();
        } else if (!(code == EXCEPTION_BREAKPOINT && hook.OnBreakpoint(event)) &&
                   !(code == EXCEPTION_SINGLE_STEP && hook.OnSingleStep(event))) {
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
