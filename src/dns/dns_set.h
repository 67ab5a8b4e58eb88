#pragma once
// TDNSSet: the DNS servers of the computer's main network adapter, as Windows
// keeps them per interface below
// HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\services\Tcpip\Parameters\Interfaces.
//
// A DNS list is used exactly as the registry holds it (servers separated by ","
// or " "); it is never split or reordered here. Nothing is sent to Windows after
// a change: the adapter picks the new value up on its own schedule.
//
// One object per use: the interface is chosen when the object is created.
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace bootmark {

inline constexpr std::string_view kTcpipInterfacesKey =
    "SYSTEM\\CurrentControlSet\\services\\Tcpip\\Parameters\\Interfaces\\";

// A list of DNS servers as the adapter's value holds it: one or more IPv4
// ("8.8.8.8") or IPv6 ("2001:db8::1") literals, separated by "," or blanks.
// Anything else (names, zone suffixes, text of another kind) is not a list.
bool IsDnsServerList(std::string_view list);

class TDNSSet {
 public:
  // Chooses the interface: the first one (in the registry's order) that has a
  // gateway, a DHCP switch and a DNS value, preferring one whose static or DHCP
  // DNS text is not empty.
  explicit TDNSSet(IRegistry& registry);

  // The chosen interface's full key path below HKEY_LOCAL_MACHINE; empty when
  // none qualifies.
  const std::string& InterfaceKey() const { return interfaceKey_; }
  // True when the chosen interface's DNS servers are automatic: its address comes
  // from DHCP, it has no static list and DHCP supplied one.
  bool UsesDhcpDns() const { return usesDhcpDns_; }

  // The static list when it is set, else the DHCP-supplied list; empty without
  // an interface.
  std::string GetDNS() const;
  // Writes `list` as the static list, but only a list of server addresses
  // (IsDnsServerList). True when the value was written.
  bool SetDNS(std::string_view list) const;
  // Empties an existing static list, so the DHCP-supplied servers apply again.
  // True when the interface key could be opened.
  bool ClearDNS() const;

 private:
  IRegistry& registry_;
  std::string interfaceKey_;
  bool usesDhcpDns_ = false;
};

}  // namespace bootmark
