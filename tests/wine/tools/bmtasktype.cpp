// bmtasktype.dll: stands in for the suite library that tells the installation type
// (copied into the suite's folder as "Quillcore.dll"). Its one export,
// GetTaskTypeEx, answers the number written in "GetTaskTypeEx.txt" beside the
// library (0 when that file is missing or holds no number) and appends
// "GetTaskTypeEx(<argument>)" to "GetTaskTypeEx.calls.txt" beside it.
#include <windows.h>

namespace {

HMODULE g_module = nullptr;

// The library's folder with a trailing backslash, then `name`.
void BesideLibrary(const wchar_t* name, wchar_t* path) {
  GetModuleFileNameW(g_module, path, MAX_PATH);
  wchar_t* slash = nullptr;
  for (wchar_t* at = path; *at != L'\0'; ++at) {
    if (*at == L'\\') slash = at;
  }
  if (slash != nullptr) lstrcpyW(slash + 1, name);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

extern "C" int WINAPI GetTaskTypeEx(int argument) {
  wchar_t path[MAX_PATH * 2] = {};
  BesideLibrary(L"GetTaskTypeEx.calls.txt", path);
  const HANDLE calls = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  if (calls != INVALID_HANDLE_VALUE) {
    char line[64];
    const int length = wsprintfA(line, "GetTaskTypeEx(%d)\n", argument);
    DWORD written = 0;
    WriteFile(calls, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(calls);
  }

  BesideLibrary(L"GetTaskTypeEx.txt", path);
  const HANDLE answer = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (answer == INVALID_HANDLE_VALUE) return 0;
  char text[32] = {};
  DWORD read = 0;
  ReadFile(answer, text, sizeof(text) - 1, &read, nullptr);
  CloseHandle(answer);
  int value = 0;
  bool negative = false;
  const char* at = text;
  if (*at == '-') {
    negative = true;
    ++at;
  }
  for (; *at >= '0' && *at <= '9'; ++at) value = value * 10 + (*at - '0');
  return negative ? -value : value;
}
