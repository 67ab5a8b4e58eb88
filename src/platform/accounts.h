#pragma once
// The local user accounts of this computer (netapi32) and its name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace bootmark {

// Privilege levels of a local account (USER_PRIV_*).
namespace user_privilege {
constexpr std::uint32_t kGuest = 0;
constexpr std::uint32_t kUser = 1;
constexpr std::uint32_t kAdmin = 2;
}  // namespace user_privilege

// One account as NetUserEnum lists it at level 1.
struct LocalUser {
  std::string name;
  std::uint32_t privilege = user_privilege::kGuest;
  friend bool operator==(const LocalUser&, const LocalUser&) = default;
};

struct LocalUserList {
  std::vector<LocalUser> users;
  // The status of the last NetUserEnum call: 0 when the listing ended normally.
  // Users read before a failure stay in `users`.
  std::uint32_t status = 0;
};

// NetUserGetInfo at level 23: full name and the SID in its text form.
struct LocalUserDetails {
  std::string fullName;
  std::string sid;
};

class IAccounts {
 public:
  virtual ~IAccounts() = default;
  // NetUserEnum on this computer at level 1 over the normal accounts, called again
  // while it reports more data.
  virtual LocalUserList EnumerateLocalUsers() = 0;
  // NetUserGetInfo(name, 23) with the SID converted by ConvertSidToStringSidW; a
  // failure of either carries its status.
  virtual Result<LocalUserDetails> GetUserDetails(std::string_view name) = 0;
  // GetComputerNameW: the NetBIOS name; empty on failure.
  virtual std::string ComputerName() = 0;
};

}  // namespace bootmark
