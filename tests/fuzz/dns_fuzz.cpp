// Arbitrary registry values of the main adapter and arbitrary "netwarden.ini" bytes:
// choosing the interface, the decisions and the notice's server lines must never
// crash or hang; the shown servers are pieces of the list in force; a decision
// writes the registry only with a list of server addresses or the empty text.
// fuzz-max-len: 16384
#include "app/dns_change_notice.h"
#include "common/registry_values.h"
#include "dns/dns_func.h"
#include "dns/dns_set.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_target.h"

constexpr const char* kNetwarden = "C:\\ProgramData\\Tarvo\\netwarden.ini";

// The input as fields separated by the byte 0xFF 0xFE 0xFD.
std::string_view NextField(std::string_view& rest) {
  const std::size_t end = rest.find("\xFF\xFE\xFD");
  std::string_view field = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 3);
  return field;
}

std::uint32_t TypeOf(std::uint8_t selector) {
  constexpr std::uint32_t kTypes[] = {registry_type::kString, registry_type::kExpandString, registry_type::kDword,
                                      registry_type::kBinary, registry_type::kMultiString};
  return kTypes[selector % 5];
}

BOOTMARK_FUZZ_TARGET(input) {
  if (input.size() < 2) return;
  const auto flags = static_cast<std::uint8_t>(input[0]);
  const auto types = static_cast<std::uint8_t>(input[1]);
  std::string_view rest = std::string_view(input).substr(2);
  const std::string_view nameServer = NextField(rest);
  const std::string_view dhcpNameServer = NextField(rest);
  const std::string_view enableDhcp = NextField(rest);
  const std::string_view settings = rest;

  testing::FakePlatform machine;
  const std::string key = std::string(kTcpipInterfacesKey) + "{A}";
  auto set = [&](const char* name, std::uint32_t type, std::string_view bytes) {
    machine.registry.SetValue(RegistryRoot::LocalMachine, key, name, {type, std::string(bytes)},
                              RegistryView::Registry64);
  };
  if (flags & 1) set("DefaultGateway", registry_type::kString, "1");
  if (flags & 2) set("NameServer", TypeOf(types), nameServer);
  if (flags & 4) set("DhcpNameServer", TypeOf(types >> 3), dhcpNameServer);
  if (flags & 8) set("EnableDHCP", TypeOf(types >> 6), enableDhcp);
  machine.files.AddFile(kNetwarden, std::string(settings));

  const std::string current = TDNSSet(machine.registry).GetDNS();

  TDNSFunc::ApplyDNSDecision(machine.platform, (flags & 16) != 0);
  const std::string after = TDNSSet(machine.registry).GetDNS();
  if (after != current && !after.empty()) Check(IsDnsServerList(after));

  const DnsLines lines = SplitDnsForDisplay(current);
  Check(current.find(lines.first) != std::string::npos);
  Check(current.find(lines.second) != std::string::npos);
}
