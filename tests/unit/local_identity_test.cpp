// The local identity lists: which accounts count, their order, the computer's
// name and owner.
#include "startup/local_identity.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace bootmark {
namespace {

using testing::FakePlatform;

constexpr std::string_view kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
constexpr std::string_view kCurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";

class LocalIdentityTest : public ::testing::Test {
 protected:
  // An account with its SID and, when `profile` is not null, its profile folder.
  void AddUser(const std::string& name, std::uint32_t privilege, const std::string& sid, const char* profile) {
    machine.accounts.users.push_back({name, privilege});
    machine.accounts.details[name] = {name + " Full", sid};
    if (profile != nullptr) {
      machine.registry.SetString(RegistryRoot::LocalMachine, std::string(kProfileList) + sid, "ProfileImagePath",
                                 profile);
    }
  }

  LocalIdentity Load() {
    SystemInfo system(machine.platform);
    return LoadLocalIdentity(machine.platform, system);
  }

  FakePlatform machine;
};

TEST_F(LocalIdentityTest, KeepsAccountsWithAProfileAndAnOrdinaryPrivilege) {
  AddUser("Ann", user_privilege::kAdmin, "S-1-5-21-7-7-7-1001", "C:\\Users\\Ann");
  AddUser("Guest", user_privilege::kGuest, "S-1-5-21-7-7-7-501", "C:\\Users\\Guest");
  // Lengths in UTF-16 units: "\u00C9mi" is as long as "Ann" and stays after it.
  AddUser("\u00C9mi", user_privilege::kUser, "S-1-5-21-7-7-7-1002", "C:\\Users\\Emi\\");
  AddUser("NoProfile", user_privilege::kUser, "S-1-5-21-7-7-7-1003", nullptr);
  AddUser("EmptyProfile", user_privilege::kUser, "S-1-5-21-7-7-7-1004", "\\");
  AddUser("Odd", 7, "S-1-5-21-7-7-7-1005", "C:\\Users\\Odd");
  machine.accounts.users.push_back({"NoDetails", user_privilege::kUser});

  struct Case {
    std::uint32_t major;
    std::vector<std::string> names;
    std::vector<std::string> sids;
  };
  for (const Case& c : {
           // Guests count before Windows 10.
           Case{6, {"Guest", "Ann", "\u00C9mi"}, {"S-1-5-21-7-7-7-1001", "S-1-5-21-7-7-7-1002", "S-1-5-21-7-7-7-501"}},
           Case{10, {"Ann", "\u00C9mi"}, {"S-1-5-21-7-7-7-1001", "S-1-5-21-7-7-7-1002"}},
       }) {
    machine.system.processBlock = {c.major, 1, 7601};
    const LocalIdentity identity = Load();
    EXPECT_EQ(identity.UserNames, c.names) << c.major;
    EXPECT_EQ(identity.UserSids, c.sids) << c.major;
  }
}

TEST_F(LocalIdentityTest, OwnerComesFromThe64BitRegistryOn64BitWindows) {
  machine.registry.SetString(RegistryRoot::LocalMachine, kCurrentVersion, "RegisteredOwner", "Jo Reader",
                             RegistryView::Registry64);
  machine.registry.SetString(RegistryRoot::LocalMachine, kCurrentVersion, "RegisteredOwner", "Wow Owner",
                             RegistryView::Registry32);
  EXPECT_EQ(Load().RegisteredOwner, "Jo Reader");
  EXPECT_EQ(Load().ComputerName, "ANN-PC");

  // A 32-bit Windows has one registry.
  machine.wow64.currentProcessIsWow64 = false;
  machine.registry.is64BitWindows = false;
  machine.registry.SetString(RegistryRoot::LocalMachine, kCurrentVersion, "RegisteredOwner", "Plain Owner");
  EXPECT_EQ(Load().RegisteredOwner, "Plain Owner");
}

}  // namespace
}  // namespace bootmark
