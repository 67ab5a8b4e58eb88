#pragma once
// The local accounts of a pretend computer.
#include <map>
#include <string>

#include "fakes/fake_ports.h"
#include "platform/accounts.h"

namespace bootmark::testing {

class FakeAccounts : public IAccounts {
 public:
  LocalUserList EnumerateLocalUsers() override { return {users, 0}; }
  Result<LocalUserDetails> GetUserDetails(std::string_view name) override {
    const std::optional<LocalUserDetails> found = Lookup(details, std::string(name));
    if (!found) return SystemError{kUserNotFound};
    return *found;
  }
  std::string ComputerName() override { return "ANN-PC"; }

  static constexpr std::uint32_t kUserNotFound = 2221;  // NERR_UserNotFound
  std::vector<LocalUser> users;
  std::map<std::string, LocalUserDetails> details;  // by account name
};

}  // namespace bootmark::testing
