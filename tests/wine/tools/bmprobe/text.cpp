// The line-oriented output of the probe.
#include <cstdio>
#include <cwchar>

#include "../tool_files.h"
#include "probe.h"

namespace bmprobe {

void PrintLine(const std::wstring& line) {
  const std::string bytes = bmtool::Narrow(line) + "\n";
  fwrite(bytes.data(), 1, bytes.size(), stdout);
  fflush(stdout);
}

void PrintError(const std::wstring& message) {
  const std::string bytes = "bmprobe: " + bmtool::Narrow(message) + "\n";
  fwrite(bytes.data(), 1, bytes.size(), stderr);
  fflush(stderr);
}

std::wstring FormatHandle(HWND window) {
  wchar_t buffer[32];
  swprintf(buffer, 32, L"0x%llX",
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  return buffer;
}

HWND ParseHandle(const std::wstring& text) {
  if (text.empty()) return nullptr;
  wchar_t* end = nullptr;
  const unsigned long long value = wcstoull(text.c_str(), &end, 0);
  if (end == nullptr || *end != L'\0') return nullptr;
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

const wchar_t* Pattern(const std::wstring& text) {
  return text == L"*" ? nullptr : text.c_str();
}

std::wstring Escape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'\t': out += L"\\t"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

}  // namespace bmprobe
