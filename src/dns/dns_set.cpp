#include "dns/dns_set.h"

#include <algorithm>
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

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }

// "d.d.d.d", each number 0 to 255 in one to three digits.
bool IsIPv4(std::string_view text) {
  int parts = 0;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find('.', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view part = text.substr(start, end - start);
    if (part.empty() || part.size() > 3 || !std::all_of(part.begin(), part.end(), IsDigit)) return false;
    if (std::stoi(std::string(part)) > 255 || ++parts > 4) return false;
    if (end == text.size()) return parts == 4;
    start = end + 1;
  }
}

// Groups of one to four hex digits separated by ":", at most one "::" standing
// for zero groups or more, optionally ending in an IPv4 address (two groups);
// eight groups in all.
bool IsIPv6(std::string_view text) {
  if (text.size() < 2 || text.size() > 45) return false;
  const std::size_t gap = text.find("::");
  if (gap != std::string_view::npos && text.find("::", gap + 1) != std::string_view::npos) return false;
  int groups = 0;
  const auto countGroups = [&groups](std::string_view side, bool last) {
    if (side.empty()) return true;
    std::size_t start = 0;
    while (true) {
      std::size_t end = side.find(':', start);
      if (end == std::string_view::npos) end = side.size();
      const std::string_view group = side.substr(start, end - start);
      if (last && end == side.size() && group.find('.') != std::string_view::npos) {
        if (!IsIPv4(group)) return false;
        groups += 2;
        return true;
      }
      if (group.empty() || group.size() > 4 || !std::all_of(group.begin(), group.end(), IsHexDigit)) return false;
      ++groups;
      if (end == side.size()) return true;
      start = end + 1;
    }
  };
  if (gap == std::string_view::npos) return countGroups(text, true) && groups == 8;
  return countGroups(text.substr(0, gap), false) && countGroups(text.substr(gap + 2), true) && groups <= 7;
}

}  // namespace

bool IsDnsServerList(std::string_view list) {
  bool any = false;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find_first_of(", \t", start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view server = list.substr(start, end - start);
    if (!server.empty()) {
      if (!IsIPv4(server) && !IsIPv6(server)) return false;
      any = true;
    }
    start = end + 1;
  }
  return any;
}

bool TDNSSet::SetDNS(std::string_view list) const {
  // The list comes from a settings file that other programs can write, and goes
  // into the machine-wide adapter settings: only server addresses pass.
  if (interfaceKey_.empty() || !IsDnsServerList(list)) return false;
  const std::unique_ptr<IRegistryKey> key =
      registry_.OpenKey(RegistryRoot::LocalMachine, interfaceKey_, registry_access::kWrite, kView);
  return key && key->WriteValue("NameServer", MakeRegistryString(list));
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
