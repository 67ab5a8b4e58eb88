#include "platform/win32/win32_accounts.h"

#include <windows.h>
#include <lm.h>
#include <sddl.h>

#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace bootmark::win32 {
namespace {

void FreeNetBuffer(LPBYTE buffer) { ::NetApiBufferFree(buffer); }

// A buffer netapi32 allocated.
using NetBuffer = UniqueResource<LPBYTE, FreeNetBuffer>;

template <typename T>
const T* As(const NetBuffer& buffer) {
  return reinterpret_cast<const T*>(buffer.Get());
}

std::string TextOf(const wchar_t* text) { return text == nullptr ? std::string() : Narrow(std::wstring_view(text)); }

}  // namespace

LocalUserList Win32Accounts::EnumerateLocalUsers() {
  LocalUserList list;
  DWORD resume = 0;
  NET_API_STATUS status = 0;
  do {
    NetBuffer buffer;
    DWORD read = 0, total = 0;
    status = ::NetUserEnum(nullptr, 1, FILTER_NORMAL_ACCOUNT, buffer.Put(), MAX_PREFERRED_LENGTH, &read, &total,
                           &resume);
    if (status != NERR_Success && status != ERROR_MORE_DATA) break;
    const USER_INFO_1* users = As<USER_INFO_1>(buffer);
    for (DWORD i = 0; users != nullptr && i < read; ++i) {
      list.users.push_back(LocalUser{TextOf(users[i].usri1_name), users[i].usri1_priv});
    }
    // A call that reports more data but hands back nothing would never end.
    if (status == ERROR_MORE_DATA && read == 0) break;
  } while (status == ERROR_MORE_DATA);
  list.status = status;
  return list;
}

Result<LocalUserDetails> Win32Accounts::GetUserDetails(std::string_view name) {
  NetBuffer buffer;
  const NET_API_STATUS status = ::NetUserGetInfo(nullptr, Wide(name).c_str(), 23, buffer.Put());
  const USER_INFO_23* info = As<USER_INFO_23>(buffer);
  if (status != NERR_Success || info == nullptr) return SystemError{status};
  UniqueLocal<LPWSTR> sid;
  if (info->usri23_user_sid == nullptr || !::ConvertSidToStringSidW(info->usri23_user_sid, sid.Put())) {
    return SystemError{::GetLastError()};
  }
  return LocalUserDetails{TextOf(info->usri23_full_name), TextOf(sid.Get())};
}

std::string Win32Accounts::ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!::GetComputerNameW(name, &length)) return {};
  return Narrow(name, length);
}

}  // namespace bootmark::win32
