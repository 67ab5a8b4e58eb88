#include "dns/dns_func.h"

#include "dns/dns_set.h"

namespace bootmark {
namespace {

constexpr std::int32_t kProtectedStatic = 0;
constexpr std::int32_t kProtectedAutomatic = 1;

GuardSettings ReadSettingsFor(const Platform& platform, const TDNSSet& dnsSet, const std::string& current) {
  return ReadGuardSettingsFile(platform, current, dnsSet.UsesDhcpDns() ? kProtectedAutomatic : kProtectedStatic);
}

}  // namespace

std::string TDNSFunc::GetCurrentDNS(const Platform& platform) { return TDNSSet(platform.registry).GetDNS(); }

GuardSettings TDNSFunc::ReadGuardSettings(const Platform& platform) {
  const TDNSSet dnsSet(platform.registry);
  return ReadSettingsFor(platform, dnsSet, dnsSet.GetDNS());
}

void TDNSFunc::WriteGuardSettings(const Platform& platform, std::int32_t dnsSwitch, std::string_view protectedDNS,
                                  std::string_view autoText) {
  WriteGuardSettingsFile(platform, dnsSwitch, protectedDNS, autoText);
}

DnsDecisionAction TDNSFunc::ApplyDNSDecision(const Platform& platform, bool allow) {
  const TDNSSet dnsSet(platform.registry);
  const std::string current = dnsSet.GetDNS();
  const GuardSettings settings = ReadSettingsFor(platform, dnsSet, current);

  if (dnsSet.UsesDhcpDns()) {
    // Automatic now; only a protected static list makes a difference.
    if (settings.systemDnsAuto != kProtectedStatic) return DnsDecisionAction::None;
    if (allow) {
      WriteGuardSettings(platform, settings.dnsSwitch, current, "1");
      return DnsDecisionAction::AcceptedAutomatic;
    }
    dnsSet.SetDNS(settings.protectedDNS);
    return DnsDecisionAction::RestoredStatic;
  }

  // Static now (or no interface found).
  if (settings.systemDnsAuto == kProtectedAutomatic) {
    if (allow) {
      WriteGuardSettings(platform, settings.dnsSwitch, current, "0");
      return DnsDecisionAction::AcceptedStatic;
    }
    dnsSet.ClearDNS();
    return DnsDecisionAction::RestoredAutomatic;
  }
  if (settings.systemDnsAuto != kProtectedStatic || current == settings.protectedDNS) {
    return DnsDecisionAction::None;
  }
  if (allow) {
    WriteGuardSettings(platform, settings.dnsSwitch, current, "0");
    return DnsDecisionAction::AcceptedStatic;
  }
  dnsSet.SetDNS(settings.protectedDNS);
  return DnsDecisionAction::RestoredStatic;
}

}  // namespace bootmark
