#include "platform/win32/win32_wow64.h"

#include <windows.h>

#include "platform/win32/system_library.h"

namespace bootmark::win32 {

namespace {

// kernel32's WOW64 functions, looked up together the first time one is needed.
struct Wow64Functions {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  using DisableFunction = BOOL(WINAPI*)(PVOID*);
  using RevertFunction = BOOL(WINAPI*)(PVOID);

  IsWow64ProcessFunction isWow64Process =
      FindSystemFunction<IsWow64ProcessFunction>(L"kernel32.dll", "IsWow64Process");
  DisableFunction disable = FindSystemFunction<DisableFunction>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
  RevertFunction revert = FindSystemFunction<RevertFunction>(L"kernel32.dll", "Wow64RevertWow64FsRedirection");
};

const Wow64Functions& Wow64() {
  static const Wow64Functions functions;
  return functions;
}

}  // namespace

bool Win32Wow64::ProcessIs64Bit() { return sizeof(void*) == 8; }

ProcessHandle Win32Wow64::CurrentProcess() { return reinterpret_cast<ProcessHandle>(::GetCurrentProcess()); }

std::optional<bool> Win32Wow64::IsWow64Process(ProcessHandle process) {
  BOOL answer = FALSE;
  if (Wow64().isWow64Process == nullptr || !Wow64().isWow64Process(reinterpret_cast<HANDLE>(process), &answer)) {
    return std::nullopt;
  }
  return answer != FALSE;
}

std::optional<Wow64RedirectionValue> Win32Wow64::DisableRedirection() {
  PVOID value = nullptr;
  if (Wow64().disable == nullptr || !Wow64().disable(&value)) return std::nullopt;
  return reinterpret_cast<Wow64RedirectionValue>(value);
}

bool Win32Wow64::RevertRedirection(Wow64RedirectionValue oldValue) {
  return Wow64().revert != nullptr && Wow64().revert(reinterpret_cast<PVOID>(oldValue));
}

}  // namespace bootmark::win32
