#include "dns/dns_set.h"

#include <optional>
#include <vector>

#include "common/registry_values.h"

namespace bootmark {
namespace {

// The adapters' settings belong to the native registry. HKLM\SYSTEM is shared by
// both views on 64-bit Windows, but asking for the native view keeps the 32-bit
// program right whatever the system redirects (the flag is ignored on 32-bit
// Windows).
constexpr RegistryView kView = RegistryView::Registry64;

// What the choice of an interface looks at, read once per interface.
struct InterfaceFacts {
  bool hasGateway = false;
  bool hasDhcpSwitch = false;
  bool hasDnsValue = false;
  bool dhcpEnabled = false;
  std::string nameServer;      // empty when missing or not a string
  std::string dhcpNameServer;  // likewise
};

bool HasValue(IRegistryKey& key, std::string_view name) { return key.ReadValue(name).has_value(); }

// A string value's text; a missing value or one of another type reads as empty.
std::string TextOf(IRegistryKey& key, std::string_view name) {
  return ReadRegistryString(key, name).value_or(std::string());
}

InterfaceFacts ReadFacts(IRegistryKey& key) {
  InterfaceFacts facts;
  facts.hasGateway = HasValue(key, "DefaultGateway") || HasValue(key, "DhcpDefaultGateway");
  facts.hasDhcpSwitch = HasValue(key, "EnableDHCP");
  facts.hasDnsValue = HasValue(key, "NameServer") || HasValue(key, "DhcpNameServer");
  facts.dhcpEnabled = ReadRegistryDword(key, "EnableDHCP") == 1u;
  facts.nameServer = TextOf(key, "NameServer");
  facts.dhcpNameServer = TextOf(key, "DhcpNameServer");
  return facts;
}

bool Qualifies(const InterfaceFacts& facts) { return facts.hasGateway && facts.hasDhcpSwitch && facts.hasDnsValue; }

bool HasDnsText(const InterfaceFacts& facts) { return !facts.nameServer.empty() || !facts.dhcpNameServer.empty(); }

}  // namespace

TDNSSet::TDNSSet(IRegistry& registry) : registry_(registry) {
  const std::unique_ptr<IRegistryKey> interfaces =
      registry_.OpenKey(RegistryRoot::LocalMachine, kTcpipInterfacesKey, registry_access::kRead, kView);
  if (!interfaces) return;

  struct Candidate {
    std::string name;
    InterfaceFacts facts;
  };
  std::vector<Candidate> candidates;
  for (std::string& name : interfaces->SubKeyNames()) {
    const std::unique_ptr<IRegistryKey> key =
        registry_.OpenKey(RegistryRoot::LocalMachine, std::string(kTcpipInterfacesKey) + name,
                          registry_access::kRead, kView);
    if (!key) continue;
    InterfaceFacts facts = ReadFacts(*key);
    if (Qualifies(facts)) candidates.push_back({std::move(name), std::move(facts)});
  }

  // First pass: a qualifying interface with DNS text; second pass: any qualifying one.
  const Candidate* chosen = nullptr;
  for (const Candidate& candidate : candidates) {
    if (HasDnsText(candidate.facts)) {
      chosen = &candidate;
      break;
    }
  }
  if (chosen == nullptr && !candidates.empty()) chosen = &candidates.front();
  if (chosen == nullptr) return;

  interfaceKey_ = std::string(kTcpipInterfacesKey) + chosen->name;
  usesDhcpDns_ = chosen->facts.dhcpEnabled && chosen->facts.nameServer.empty() &&
                 !chosen->facts.dhcpNameServer.empty();
}

std::string TDNSSet::GetDNS() const {
  if (interfaceKey_.empty()) return {};
  const std::unique_ptr<IRegistryKey> key =
      registry_.OpenKey(RegistryRoot::LocalMachine, interfaceKey_, registry_access::kRead, kView);
  if (!key) return {};
  std::string nameServer = TextOf(*key, "NameServer");
  if (!nameServer.empty()) return nameServer;
  return TextOf(*key, "DhcpNameServer");
}

bool TDNSSet::SetDNS(std::string_view list) const {
  if (interfaceKey_.empty()) return false;
  const std::unique_ptr<IRegistryKey> key =
      registry_.OpenKey(RegistryRoot::LocalMachine, interfaceKey_, registry_access::kWrite, kView);
  if (!key) return false;
  key->WriteValue("NameServer", MakeRegistryString(list));
  return true;
}

bool TDNSSet::ClearDNS() const {
  if (interfaceKey_.empty()) return false;
  const std::unique_ptr<IRegistryKey> key = registry_.OpenKey(
      RegistryRoot::LocalMachine, interfaceKey_, registry_access::kRead | registry_access::kWrite, kView);
  if (!key) return false;
  if (HasValue(*key, "NameServer")) key->WriteValue("NameServer", MakeRegistryString(""));
  return true;
}

}  // namespace bootmark
