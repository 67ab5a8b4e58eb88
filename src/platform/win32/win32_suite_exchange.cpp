#include "platform/win32/win32_suite_exchange.h"

#include <windows.h>

#include <vector>

#include "platform/win32/loaded_library.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

// Func(target, data, dataBytes, reply, replyCapacity): data is a zero-terminated
// UTF-16 text and dataBytes its size in bytes with the terminator; the library
// writes a zero-terminated UTF-16 reply into `reply`. True when delivered.
using ExchangeFunc = BOOL(WINAPI*)(const wchar_t* target, const wchar_t* data, DWORD dataBytes, wchar_t* reply,
                                   DWORD* replyCapacity);

constexpr std::size_t kReplyBufferBytes = 16 * 1024;
// The capacity the library is told of, as the suite's own callers pass it.
constexpr DWORD kReplyCapacity = 4096;

}  // namespace

std::optional<std::string> Win32SuiteExchange::SendData(std::string_view libraryPath, std::string_view target,
                                                        std::string_view data) {
  // The library belongs to the suite and is loaded when a message is sent, by its
  // full path, not linked at build time: the program must still start (and do its
  // other jobs) on a machine where the suite's library is missing or damaged, and
  // a library of that name must never be picked up from anywhere else.
  const LoadedLibrary library(Wide(libraryPath));
  const auto func = library.Find<ExchangeFunc>("Func");
  if (func == nullptr) return std::nullopt;

  const std::wstring wideTarget = Wide(target);
  const std::wstring wideData = Wide(data);
  const auto dataBytes = static_cast<DWORD>((wideData.size() + 1) * sizeof(wchar_t));
  // One unit more than the library is allowed to fill, always zero, so that a
  // reply without its terminator still ends inside the buffer.
  std::vector<wchar_t> reply(kReplyBufferBytes / sizeof(wchar_t) + 1, L'\0');
  DWORD capacity = kReplyCapacity;
  if (!func(wideTarget.c_str(), wideData.c_str(), dataBytes, reply.data(), &capacity)) return std::nullopt;
  reply.back() = L'\0';
  return Narrow(std::wstring_view(reply.data()));
}

}  // namespace bootmark::win32
