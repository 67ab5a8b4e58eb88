// bmstatewell.dll: stands in for the suite's data-exchange library (copied as
// "Statewell.dll"). Its one export `Func` writes down what it was given and
// answers as a running suite would, or refuses as when no suite runs:
//
//   <own name>.reply.txt beside the library (UTF-8): present, its text is the
//     reply and the result is TRUE; missing, the result is FALSE and the reply
//     buffer is left alone.
//   <own name>.calls.txt beside the library: one UTF-8 line appended per call,
//     "<target>\t<data size in bytes>\t<capacity>\t<reply buffer preset>\t<data>",
//     where the preset is "empty" when the buffer held the empty text, else "set",
//     and the data size is "terminated" + the size when the size counts exactly the
//     text and its terminating zero, else "wrong" + the size.
#include <windows.h>

#include <string>

#include "tool_text.h"

namespace {

HMODULE g_module = nullptr;

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring units(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), units.data(), size);
  return units;
}

// "<folder>\<own name without extension>" + suffix.
std::wstring BesideSelf(const wchar_t* suffix) {
  wchar_t own[MAX_PATH + 1] = {};
  GetModuleFileNameW(g_module, own, MAX_PATH);
  std::wstring path = own;
  const std::size_t dot = path.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > path.find_last_of(L'\\')) path.resize(dot);
  return path + suffix;
}

bool ReadAll(const std::wstring& path, std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.assign(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return true;
}

void Append(const std::wstring& path, const std::string& line) {
  const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

extern "C" BOOL WINAPI Func(const wchar_t* target, const wchar_t* data, DWORD dataBytes,
                                                  wchar_t* reply, DWORD* capacity) {
  const std::wstring dataText = data != nullptr ? data : L"";
  const DWORD expectedBytes = static_cast<DWORD>((dataText.size() + 1) * sizeof(wchar_t));
  std::string line = Utf8(target != nullptr ? target : L"") + "\t";
  line += (dataBytes == expectedBytes ? "terminated" : "wrong") + std::to_string(dataBytes) + "\t";
  line += (capacity != nullptr ? std::to_string(*capacity) : std::string("null")) + "\t";
  line += std::string(reply != nullptr && reply[0] == L'\0' ? "empty" : "set") + "\t";
  line += Utf8(dataText) + "\n";
  Append(BesideSelf(L".calls.txt"), line);

  std::string answer;
  if (!ReadAll(BesideSelf(L".reply.txt"), answer)) return FALSE;
  if (reply != nullptr && capacity != nullptr && *capacity > 0) {
    const std::wstring units = Wide(answer).substr(0, *capacity - 1);
    units.copy(reply, units.size());
    reply[units.size()] = L'\0';
  }
  return TRUE;
}
