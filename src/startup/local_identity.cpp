#include "startup/local_identity.h"

#include <algorithm>

#include "base/path.h"
#include "base/text.h"
#include "common/registry_values.h"

namespace bootmark {
namespace {

constexpr std::string_view kProfileList = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
constexpr std::string_view kCurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";

// Guests count as users before Windows 10; from Windows 10 on only users and
// administrators do.
bool OrdinaryPrivilege(std::uint32_t privilege, std::uint32_t windowsMajor) {
  if (privilege == user_privilege::kGuest) return windowsMajor < 10;
  return privilege == user_privilege::kUser || privilege == user_privilege::kAdmin;
}

std::string ProfileFolder(IRegistry& registry, std::string_view sid) {
  const std::unique_ptr<IRegistryKey> key = registry.OpenKey(
      RegistryRoot::LocalMachine, std::string(kProfileList) + std::string(sid), registry_access::kRead,
      RegistryView::Default);
  if (key == nullptr) return {};
  return ExcludeTrailingBackslash(ReadRegistryString(*key, "ProfileImagePath").value_or(""));
}

}  // namespace

void SortLongestFirst(std::vector<std::string>& texts) {
  std::stable_sort(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
    return Utf8ToUtf16(a).size() > Utf8ToUtf16(b).size();
  });
}

LocalIdentity LoadLocalIdentity(const Platform& platform, SystemInfo& system) {
  LocalIdentity identity;
  const std::uint32_t windowsMajor = system.GetRealVersion().Major;
  for (const LocalUser& user : platform.accounts.EnumerateLocalUsers().users) {
    const Result<LocalUserDetails> details = platform.accounts.GetUserDetails(user.name);
    if (!details || details->sid.empty()) continue;
    if (ProfileFolder(platform.registry, details->sid).empty()) continue;
    if (!OrdinaryPrivilege(user.privilege, windowsMajor)) continue;
    identity.UserSids.push_back(details->sid);
    identity.UserNames.push_back(user.name);
  }
  SortLongestFirst(identity.UserSids);
  SortLongestFirst(identity.UserNames);

  identity.ComputerName = platform.accounts.ComputerName();
  const RegistryView ownerView = system.IsWow64() ? RegistryView::Registry64 : RegistryView::Default;
  if (const std::unique_ptr<IRegistryKey> key =
          platform.registry.OpenKey(RegistryRoot::LocalMachine, kCurrentVersion, registry_access::kRead, ownerView)) {
    identity.RegisteredOwner = ReadRegistryString(*key, "RegisteredOwner").value_or("");
  }
  return identity;
}

}  // namespace bootmark
