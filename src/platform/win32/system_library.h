#pragma once
// Functions of system DLLs looked up at run time: the APIs that came after
// Windows XP, which the program uses only where the running system has them.
// The DLL is always taken from the system folder by its full path (never
// searched for beside the program or along PATH) and stays loaded until the
// process ends, so a function found once can be kept.
#include <windows.h>

namespace bootmark::win32 {

// DLLs loaded by name come from the system folder only: the current folder
// (often the system folder, but not always) and the program's folder, where
// others may place files, are never searched. Called first thing in main;
// SetDefaultDllDirectories is used where the system has it.
void RestrictDllSearch();

// The DLL of that name in the system folder; nullptr when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// GetProcAddress on the system DLL; nullptr when the DLL or the export is missing.
FARPROC FindSystemProc(const wchar_t* library, const char* function);

// FindSystemProc cast to the function's real type. Callers keep the result in a
// function-local static so that each function is looked up once.
template <typename Function>
Function FindSystemFunction(const wchar_t* library, const char* function) {
  // Through the generic function pointer type, which converts to any other.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(FindSystemProc(library, function)));
}

}  // namespace bootmark::win32
