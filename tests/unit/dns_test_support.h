#pragma once
// A machine with one network adapter and the DNS guard's files, for the DNS tests.
#include <optional>
#include <string>

#include "base/text.h"
#include "common/registry_values.h"
#include "dns/dns_set.h"
#include "fakes/fake_platform.h"
#include "fakes/utf16_file.h"

namespace bootmark::dns_test {

using testing::Utf16File;

inline constexpr const char* kNetwarden = "C:\\ProgramData\\Tarvo\\netwarden.ini";
inline constexpr const char* kDhcpList = "192.168.1.1";
inline const std::string kInterface = std::string(kTcpipInterfacesKey) + "{A}";

// An adapter on DHCP; `staticList` set makes its DNS static.
inline void SeedAdapter(FakeRegistry& registry, const std::optional<std::string>& staticList) {
  registry.SetString(RegistryRoot::LocalMachine, kInterface, "DhcpDefaultGateway", "192.168.1.1",
                     RegistryView::Registry64);
  registry.SetDword(RegistryRoot::LocalMachine, kInterface, "EnableDHCP", 1, RegistryView::Registry64);
  registry.SetString(RegistryRoot::LocalMachine, kInterface, "DhcpNameServer", kDhcpList, RegistryView::Registry64);
  registry.SetString(RegistryRoot::LocalMachine, kInterface, "NameServer", staticList.value_or(""),
                     RegistryView::Registry64);
}

inline std::string NameServer(FakeRegistry& registry) {
  const auto key =
      registry.OpenKey(RegistryRoot::LocalMachine, kInterface, registry_access::kRead, RegistryView::Registry64);
  return key ? ReadRegistryString(*key, "NameServer").value_or("<missing>") : "<no key>";
}

}  // namespace bootmark::dns_test
