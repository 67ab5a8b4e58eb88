#pragma once
#include "platform/accounts.h"

namespace bootmark::win32 {

class Win32Accounts : public IAccounts {
 public:
  LocalUserList EnumerateLocalUsers() override;
  std::optional<LocalUserDetails> GetUserDetails(std::string_view name, std::uint32_t& status) override;
  std::string ComputerName() override;
};

}  // namespace bootmark::win32
