#include "platform/win32/win32_environment.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "base/text.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {

std::optional<std::string> Win32Environment::GetVariable(std::string_view name) {
  const std::wstring variable = Wide(name);
  std::vector<wchar_t> buffer(256);
  while (true) {
    ::SetLastError(0);
    const DWORD length = ::GetEnvironmentVariableW(variable.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

namespace {

#ifdef _WIN64
// The shipped 32-bit program sees the "(x86)" program folders in these two
// variables on 64-bit Windows; the 64-bit build names them so to expand the same.
std::string AsThe32BitProgramSees(std::string_view text) {
  static constexpr std::pair<std::string_view, std::string_view> kRenamed[] = {
      {"%PROGRAMFILES%", "%ProgramFiles(x86)%"}, {"%COMMONPROGRAMFILES%", "%CommonProgramFiles(x86)%"}};
  std::string result(text);
  for (const auto& [name, name32] : kRenamed) {
    for (std::size_t at = UpperCaseOrdinal(result).find(name); at != std::string::npos;
         at = UpperCaseOrdinal(result).find(name, at + name32.size())) {
      result.replace(at, name.size(), name32);
    }
  }
  return result;
}
#else
std::string_view AsThe32BitProgramSees(std::string_view text) { return text; }
#endif

}  // namespace

std::optional<std::string> Win32Environment::ExpandVariables(std::string_view text) {
  const std::wstring source = Wide(AsThe32BitProgramSees(text));
  std::vector<wchar_t> buffer(source.size() + 256);
  while (true) {
    const DWORD needed = ::ExpandEnvironmentStringsW(source.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed == 0) return std::nullopt;
    if (needed <= buffer.size()) return Narrow(buffer.data(), needed - 1);
    buffer.resize(needed);
  }
}

std::string Win32Environment::CommandLine() { return Narrow(std::wstring_view(::GetCommandLineW())); }

std::string Win32Environment::ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Narrow(buffer.data(), length);
    if (buffer.size() >= 32768) return Narrow(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace bootmark::win32
