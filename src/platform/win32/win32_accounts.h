#pragma once
#include "platform/accounts.h"

namespace bootmark::win32 {

class Win32Accounts : public IAccounts {
 public:
  LocalUserList EnumerateLocalUsers() override;
  Result<LocalUserDetails> GetUserDetails(std::string_view name) override;
  std::string ComputerName() override;
};

}  // namespace bootmark::win32
