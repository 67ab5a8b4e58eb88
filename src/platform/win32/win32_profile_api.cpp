#include "platform/win32/win32_profile_api.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

constexpr DWORD kValueBufferChars = 2048;
constexpr DWORD kListBufferChars = 16384;
// Far beyond any real settings value; stops the growth on a misbehaving file.
constexpr DWORD kMaxBufferChars = 64u * 1024u * 1024u;

// Calls the profile function with a buffer that grows by half while the result
// may have been cut: the function reports ERROR_MORE_DATA, or fills the buffer
// to its end (size - 1 for a value, size - 2 for a zero-separated list).
template <typename Call>
std::wstring ReadGrowing(DWORD initialChars, DWORD cutMargin, Call call) {
  std::vector<wchar_t> buffer(initialChars);
  while (true) {
    ::SetLastError(0);
    const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    const bool cut = ::GetLastError() == ERROR_MORE_DATA || length + cutMargin >= buffer.size();
    if (!cut || buffer.size() >= kMaxBufferChars) {
      return std::wstring(buffer.data(), std::min<std::size_t>(length, buffer.size()));
    }
    buffer.assign(buffer.size() + buffer.size() / 2, L'\0');
  }
}

// A zero-separated list as GetPrivateProfileString returns it for a NULL key or section.
std::vector<std::string> SplitZeroList(const std::wstring& list) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start < list.size()) {
    const std::size_t end = list.find(L'\0', start);
    const std::size_t stop = end == std::wstring::npos ? list.size() : end;
    if (stop > start) items.push_back(Narrow(std::wstring_view(list).substr(start, stop - start)));
    start = stop + 1;
  }
  return items;
}

}  // namespace

std::string Win32ProfileApi::ReadString(std::string_view file, std::string_view section, std::string_view key,
                                        std::string_view defaultValue) {
  const std::wstring fileName = Wide(file), sectionName = Wide(section), keyName = Wide(key),
                     fallback = Wide(defaultValue);
  return Narrow(ReadGrowing(kValueBufferChars, 1, [&](wchar_t* buffer, DWORD size) {
    return ::GetPrivateProfileStringW(sectionName.c_str(), keyName.c_str(), fallback.c_str(), buffer, size,
                                      fileName.c_str());
  }));
}

std::vector<std::string> Win32ProfileApi::ReadKeys(std::string_view file, std::string_view section) {
  const std::wstring fileName = Wide(file), sectionName = Wide(section);
  return SplitZeroList(ReadGrowing(kListBufferChars, 2, [&](wchar_t* buffer, DWORD size) {
    return ::GetPrivateProfileStringW(sectionName.c_str(), nullptr, L"", buffer, size, fileName.c_str());
  }));
}

std::vector<std::string> Win32ProfileApi::ReadSectionNames(std::string_view file) {
  const std::wstring fileName = Wide(file);
  return SplitZeroList(ReadGrowing(kListBufferChars, 2, [&](wchar_t* buffer, DWORD size) {
    return ::GetPrivateProfileSectionNamesW(buffer, size, fileName.c_str());
  }));
}

bool Win32ProfileApi::WriteString(std::string_view file, std::string_view section, std::string_view key,
                                  std::string_view value) {
  return ::WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                      Wide(file).c_str()) != FALSE;
}

bool Win32ProfileApi::DeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  return ::WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), nullptr, Wide(file).c_str()) !=
         FALSE;
}

bool Win32ProfileApi::EraseSection(std::string_view file, std::string_view section) {
  return ::WritePrivateProfileStringW(Wide(section).c_str(), nullptr, nullptr, Wide(file).c_str()) != FALSE;
}

void Win32ProfileApi::Flush(std::string_view file) {
  ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(file).c_str());
}

}  // namespace bootmark::win32
